// The interfaces a version-3 library offers its host: the factory behind the
// exported entry point, the DSP half (IMpPlugin) and the GUI half
// (IMpUserInterface) of a plug-in.
//
// Strings are UTF-16 code units (char16_t), terminated by 0.
#pragma once

#include "mp/abi/timed_event.h"
#include "mp/abi/unknown.h"

namespace mp {

inline constexpr MpGuid MP_IID_FACTORY = makeGuid("9A7904B7-7F7F-4D61-B558-C1A6695BB638");
inline constexpr MpGuid MP_IID_PLUGIN = makeGuid("2B0DFC7E-A539-49CD-B72D-32FF9DF0D9E4");
inline constexpr MpGuid MP_IID_USER_INTERFACE = makeGuid("CACB3203-4A57-4209-9E00-0C4B950457F6");
inline constexpr MpGuid MP_IID_GRAPHICS_WIN_GDI = makeGuid("76FAC807-0C89-465D-9FAF-49B12D964118");

// Kinds of module object a factory makes.
enum MpPluginKind : int32_t {
    MP_KIND_DSP = 0,  // primary interface IMpPlugin
    MP_KIND_GUI = 1,  // primary interface IMpUserInterface
};

// The library's one factory, obtained through MP_GetFactory. It lives from
// library load to unload: addRef and release are answered but change nothing.
//
// Thread: any host thread, once the library is loaded (the registration map is
// only read after load, so no lock is taken).
class IMpFactory : public IMpUnknown {
public:
    // Makes a new module object for a registered plug-in id (compared exactly,
    // code unit by code unit) and kind. On MP_OK *object holds the object's
    // primary interface with one reference, which the caller owns and gives back
    // with release. Otherwise *object is null: MP_NOSUPPORT for an unknown id or
    // kind or a missing creator, MP_FAIL when the module's constructor failed
    // (for example when `host` lacks an interface the module needs).
    // `host` is the host's object for this module; the module queries it for
    // the host services it uses and may keep them for its lifetime.
    virtual int32_t MP_STDCALL createModule(const char16_t* pluginId, int32_t kind, IMpUnknown* host,
                                            void** object) = 0;
    // Writes the SDK version and a text naming the compiler, truncated to
    // bufferSize code units including the terminator. Returns MP_OK.
    virtual int32_t MP_STDCALL describeSdk(int32_t* version, int32_t bufferSize, char16_t* buffer) = 0;

protected:
    ~IMpFactory() = default;
};

// The DSP half of a plug-in. Every operation comes from the host's audio
// thread, one at a time. Call sequence: activate, setAudioBuffer for each audio
// pin (again whenever an address changes), then processBlock once per block;
// the last release destroys the object.
class IMpPlugin : public IMpUnknown {
public:
    // Prepares for processing (the module reads the sample rate here).
    virtual int32_t MP_STDCALL activate() = 0;
    // Tells an audio pin where its samples lie. The buffer is host-owned and
    // must hold as many floats as the largest block the host will run.
    virtual int32_t MP_STDCALL setAudioBuffer(int32_t pinIndex, float* buffer) = 0;
    // Runs one block of `sampleCount` samples. `events` is the head of the
    // host-owned event list for this block (null when there are none), in
    // non-decreasing time order; it is read only during the call.
    virtual int32_t MP_STDCALL processBlock(int32_t sampleCount, const TimedEvent* events) = 0;
    virtual int32_t MP_STDCALL receiveGuiMessage(int32_t id, int32_t size, const void* bytes) = 0;

protected:
    ~IMpPlugin() = default;
};

// The GUI half of a plug-in. Every operation comes from the host's
// user-interface thread. Call sequence: initialiseGui, then pin values, each
// delivered as receivePinValue followed by receivePinNotice for the same pin;
// the last release destroys the object.
class IMpUserInterface : public IMpUnknown {
public:
    virtual int32_t MP_STDCALL initialiseGui() = 0;
    // Stores a value in a pin without running its handler. `bytes` is read
    // during the call only. MP_FAIL when no pin has that index.
    virtual int32_t MP_STDCALL receivePinValue(int32_t pinIndex, int32_t voice, int32_t size,
                                               const void* bytes) = 0;
    // Runs the pin's handler. MP_FAIL when no pin has that index.
    virtual int32_t MP_STDCALL receivePinNotice(int32_t pinIndex, int32_t voice) = 0;
    virtual int32_t MP_STDCALL receiveAudioMessage(int32_t id, int32_t size, const void* bytes) = 0;
    virtual int32_t MP_STDCALL buildContextMenu() = 0;
    virtual int32_t MP_STDCALL contextMenuChosen(int32_t selection) = 0;

protected:
    ~IMpUserInterface() = default;
};

// A rectangle in the client pixels of the host's parent window, in the field
// order the host and the window base share.
struct MpRect {
    int32_t top;
    int32_t bottom;
    int32_t left;
    int32_t right;
};

// A width and a height in pixels.
struct MpSize {
    int32_t width;
    int32_t height;
};

// The second interface of a GUI module that draws in a child window of its
// own, reached with queryInterface on the module's IMpUserInterface; both share
// one reference count. Every operation comes from the user-interface thread.
// Window handles are the system's (HWND on Windows), passed as void*.
//
// Call sequence: proposeSize while the host lays out its editor, placeWindow,
// createChildWindow; later placeWindow again whenever the rectangle changes;
// destroyChildWindow before the host's last release.
class IMpGraphicsWinGdi : public IMpUnknown {
public:
    // The module answers the size it accepts for the proposed one.
    virtual int32_t MP_STDCALL proposeSize(int32_t width, int32_t height, MpSize* accepted) = 0;
    // Where the child window is (or will be) in the parent's client area.
    virtual int32_t MP_STDCALL placeWindow(MpRect rect) = 0;
    // Creates the child window under `parentWindow` at the placed rectangle
    // and writes its handle to *window (null when none could be made).
    virtual int32_t MP_STDCALL createChildWindow(void* parentWindow, void** window) = 0;
    // Destroys the child window, if there is one.
    virtual int32_t MP_STDCALL destroyChildWindow() = 0;

protected:
    ~IMpGraphicsWinGdi() = default;
};

// The one entry point a version-3 library exports (by this plain name). Writes
// the factory, as an IMpUnknown, to *factory and returns MP_OK.
using MpGetFactoryFunction = int32_t(MP_STDCALL*)(void** factory);
inline constexpr const char* MP_GET_FACTORY_NAME = "MP_GetFactory";

}  // namespace mp
