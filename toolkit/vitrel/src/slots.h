// The per-process tables of the toolkit, indexed by window slot.
#pragma once

#include <GL/glew.h>

#include <array>
#include <optional>

#include "platform/windows.h"
#include "vitrel/window.h"

namespace vitrel {

template <class T>
using SlotTable = std::array<T, vitrelSlotCount>;

struct Tables {
    SlotTable<HWND> windows{};
    SlotTable<HDC> deviceContexts{};
    SlotTable<HGLRC> contexts{};
    SlotTable<unsigned char> inUse{};
    SlotTable<GLuint> vertexShaders{};
    SlotTable<GLuint> fragmentShaders{};
    SlotTable<GLuint> programs{};
    int currentSlot = 0;
    // 0 before the first creation and after any failed one; 1 once the probe
    // starts, then one more after every successful creation.
    int windowCounter = 0;
};

Tables& tables();

constexpr bool validSlot(int slot) { return slot >= 0 && slot < vitrelSlotCount; }

// The slot a new window takes. The first window of the process (counter 0)
// takes slot 0; later ones the lowest free slot from 1 upward. After a failed
// creation the counter is 0 again while other windows may still be open: slot
// 0 is then taken only when it is free, else the search from 1 decides.
// Empty when every slot is taken.
std::optional<int> chooseSlot(const SlotTable<unsigned char>& inUse, int windowCounter);

}  // namespace vitrel
