// Vitrel's window layer: each open instance of a display module gets a child
// window of the host's parent window with its own OpenGL rendering context.
//
// The toolkit is linked statically into each display module, so its tables
// (1000 window slots) exist once per module file and are shared by every
// instance of that module in the process. An instance keeps only its slot.
// Before the first window of the process (and again after any failed
// creation) a capability probe checks through GLEW that OpenGL 2.0 is there.
//
// Every operation runs on the host's user-interface thread.
//
// Calling order in a display module:
//   createChildWindow: vitrelCreateWindow; on success keep vitrelCurrentSlot(),
//     put the object in the window's user-data slot, set up GL while the new
//     context is current, then ShowWindow(SW_SHOWNORMAL) and UpdateWindow.
//   onPaint(dc): vitrelBeginPaint(slot), draw, SwapBuffers(dc), vitrelEndPaint().
//   destroyChildWindow: vitrelDestroyWindow(slot).
#pragma once

#include "platform/windows.h"

inline constexpr int vitrelSlotCount = 1000;

// Creates a child window of `parent` at (x, y) with the given size, in the
// parent's client pixels, with a GL context. On success the new context is
// current and vitrelCurrentSlot() names the window's slot; on failure a message
// box says what failed and the result is null.
HWND vitrelCreateWindow(HWND parent, int x, int y, int width, int height);

// The slot chosen by the latest creation.
int vitrelCurrentSlot();

// Releases the slot's context, device context and window and frees the slot.
// A slot outside 0..999 is ignored.
void vitrelDestroyWindow(int slot);

// Makes the slot's context current and saves every classic GL attribute
// group; vitrelEndPaint restores them.
void vitrelBeginPaint(int slot);
void vitrelEndPaint();

// The toolkit's fixed GL state: smooth shading, clear colour (0, 0, 0, 0),
// depth 1 with test LEQUAL, nicest perspective correction, alpha blending,
// filled polygons, smooth lines.
void vitrelDefaultState();

// One unit per pixel, (0, 0) at the top-left corner, y downward. The
// projection matrix stays the current matrix. A side below 1 counts as 1.
void vitrelPixelProjection(int width, int height);

// A 45-degree vertical field of view, aspect width/height, near 0.1, far 100;
// the model-view matrix is current and reset afterwards. A height of 0 counts
// as 1.
void vitrelPerspective(int width, int height);
