#include "slots.h"

namespace vitrel {

Tables& tables() {
    static Tables instance;
    return instance;
}

std::optional<int> chooseSlot(const SlotTable<unsigned char>& inUse, int windowCounter) {
    if (windowCounter == 0 && inUse[0] != 1) return 0;
    for (int slot = 1; slot < vitrelSlotCount; ++slot)
        if (inUse[static_cast<std::size_t>(slot)] != 1) return slot;
    return std::nullopt;
}

}  // namespace vitrel
