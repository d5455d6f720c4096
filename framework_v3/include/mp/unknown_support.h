// Helpers for the object conventions (IMpUnknown) of the framework's classes.
#pragma once

#include <initializer_list>

#include "mp/abi/unknown.h"

namespace mp {

// Answers queryInterface: when *iid is one of `accepted`, writes `self` (the
// interface pointer that identifier names), calls addRef on it and returns
// MP_OK; otherwise writes null and returns MP_NOSUPPORT. A null `object` is
// answered MP_NOSUPPORT with nothing written.
inline int32_t answerQueryInterface(const MpGuid* iid, void** object, IMpUnknown* self,
                                    std::initializer_list<const MpGuid*> accepted) {
    if (object == nullptr) return MP_NOSUPPORT;
    *object = nullptr;
    if (iid == nullptr) return MP_NOSUPPORT;
    for (const MpGuid* candidate : accepted) {
        if (*iid == *candidate) {
            *object = self;
            self->addRef();
            return MP_OK;
        }
    }
    return MP_NOSUPPORT;
}

}  // namespace mp
