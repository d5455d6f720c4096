// The two entry points of every version-2 library, the only symbols it
// exports. Each library holds one module, index 0.
#include "se/module_entry.h"

extern "C" __attribute__((visibility("default"))) bool getModuleProperties(int32_t index,
                                                                            SEModuleProperties* properties) {
    if (properties == nullptr) return false;
    return se::moduleProperties(index, properties);
}

// A throwing constructor frees its object and the exception passes on to the
// host, as the host expects.
extern "C" __attribute__((visibility("default"))) void* makeModule(int32_t index, int32_t type,
                                                                    seaudioMasterFunction callback,
                                                                    void* hostPointer) {
    if (index != 0) return nullptr;
    if (type == SE_TYPE_PROCESSING) {
        SEModule_base* module = se::makeProcessingModule(callback, hostPointer);
        return module == nullptr ? nullptr : module->getStruct();
    }
    if (type == SE_TYPE_GUI) {
        SEGUI_base* gui = se::makeGuiModule(callback, hostPointer);
        return gui == nullptr ? nullptr : gui->getStruct();
    }
    return nullptr;
}
