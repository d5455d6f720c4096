// What each version-2 deliverable supplies to the framework's exported entry
// points (getModuleProperties and makeModule). Each deliverable holds one
// module, index 0.
#pragma once

#include <cstdint>

#include "se/SEGUI_base.h"
#include "se/SEModule_base.h"

namespace se {

// Answers getModuleProperties for any index (the deliverable decides what
// it writes before looking at the index).
bool moduleProperties(int32_t index, SEModuleProperties* properties);
// A new processing object (type 1), or null when allocation fails.
SEModule_base* makeProcessingModule(seaudioMasterFunction callback, void* hostPointer);
// A new GUI object (type 2); null for deliverables without one.
SEGUI_base* makeGuiModule(seaudioMasterFunction callback, void* hostPointer);

}  // namespace se
