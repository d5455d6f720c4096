// The version-2 binary interface: the records a version-2 library and its host
// exchange, the dispatcher and callback opcodes, and the two exported entry
// points. Declarations only; the framework implements them and a host needs
// nothing else.
//
// Every record keeps its published field order and 32-bit fields. Where
// pointers are 4 bytes (the target), sizes and offsets are the published ones;
// on wider builds only the pointer fields widen.
#pragma once

#include <cstddef>
#include <cstdint>

struct SEModuleStruct;
struct SEGUIStruct;
struct SEEvent;

// The host callback, the same function for both kinds of object. `record` is
// the caller's SEModuleStruct or SEGUIStruct; the result is pointer-sized.
// Called on the thread that drives the calling object.
using seaudioMasterFunction = intptr_t (*)(void* record, int32_t opcode, int32_t index, int32_t value, void* ptr,
                                           float opt);

// Dispatcher entries: the host's calls into an object. The result is
// pointer-sized (32 bits on the target) so that addresses it returns are whole
// on wider builds too.
using SEModuleDispatcher = intptr_t (*)(SEModuleStruct* record, int32_t opcode, int32_t index, int32_t value,
                                        void* ptr, float opt);
using SEGUIDispatcher = intptr_t (*)(SEGUIStruct* record, int32_t opcode, int32_t index, int32_t value, void* ptr,
                                     float opt);

// The processing entry: the current processing routine's code, called with the
// module object (SEModuleStruct::object) as its first argument, the offset into
// the pin buffers and the number of samples of the block. Audio thread.
using SEProcessEntry = void (*)(void* object, int32_t bufferOffset, int32_t sampleFrames);
// The event entry: delivers one event, due at the current sample clock, to the
// module object. The event belongs to the host and is read during the call.
using SEEventEntry = void (*)(void* object, SEEvent* event);

inline constexpr int32_t SE_MODULE_MAGIC = 0x5345507B;
inline constexpr int32_t SE_GUI_MAGIC = 0x5345504D;
inline constexpr int32_t SE_SDK_VERSION = 2230;

// makeModule types.
inline constexpr int32_t SE_TYPE_PROCESSING = 1;
inline constexpr int32_t SE_TYPE_GUI = 2;

// Filled by getModuleProperties. The texts are static: they stay valid for the
// life of the library.
struct SEModuleProperties {
    const char* name;
    const char* id;
    const char* about;
    int32_t flags;
    int32_t guiFlags;
    int32_t sdkVersion;
};

// The processing-side record. Owned by the module object (a member of it), so
// valid from makeModule until dispatcher opcode 1 returns. The module rewrites
// processEntry whenever it selects another routine and then tells the host
// (callback opcode 22).
struct SEModuleStruct {
    int32_t magic;    // SE_MODULE_MAGIC
    int32_t version;  // 1
    void* hostPointer;  // the fourth argument of makeModule
    void* object;       // the module object, first argument of both entries below
    int32_t reserved16;
    SEModuleDispatcher dispatcher;
    SEProcessEntry processEntry;
    SEEventEntry eventEntry;
    int32_t reserved[4];
};

// The GUI-side record. Owned by the GUI object; valid from makeModule until
// dispatcher opcode 1 returns. User-interface thread only.
struct SEGUIStruct {
    int32_t magic;    // SE_GUI_MAGIC
    int32_t version;  // 1
    SEGUIDispatcher dispatcher;
    void* hostPointer;
    void* object;
    int32_t reserved[5];
};

// Pin datatypes.
inline constexpr int32_t DT_ENUM_LIST = 0;    // a choice, 16-bit value
inline constexpr int32_t DT_BOOL = 4;         // an 8-bit value
inline constexpr int32_t DT_FSAMPLE = 5;      // audio: buffer of 32-bit float samples
inline constexpr int32_t DT_FLOAT_VALUE = 6;  // 32-bit float
inline constexpr int32_t DT_INT = 8;          // 32-bit int

// Pin directions.
inline constexpr int32_t DR_IN = 0;
inline constexpr int32_t DR_OUT = 1;

// Pin flags.
inline constexpr int32_t IO_HOST_FLAG_4 = 0x4;  // the host's own meaning; passed through
inline constexpr int32_t IO_REPEAT_LAST = 0x8;
inline constexpr int32_t IO_PRIVATE = 0x100;
inline constexpr int32_t IO_UI_COMMUNICATION = 0x400;
inline constexpr int32_t IO_UI_WITH_DSP = 0x8000;
inline constexpr int32_t IO_PATCH_STORE = 0x10000;

// One declared pin. Filled by the module: in open the framework clears it
// first; for dispatcher opcode 6 the host supplies (and owns) it.
struct SEPinProperties {
    void* variableAddress;  // the module's variable holding the value (audio: holding the buffer address)
    int32_t direction;      // DR_IN or DR_OUT
    int32_t datatype;
    const char* name;  // static text of the module
    int32_t reserved16;
    int32_t reserved20;
    int32_t flags;
    int32_t reserved28;
};

// Event types.
inline constexpr int32_t UET_STAT_CHANGE = 0;  // intParam1 = new status, ptrParam = pin index
inline constexpr int32_t UET_SHORT_EVENT = 2;  // intParam1, intParam2 read as int16
inline constexpr int32_t UET_DEFERRED_CALL = 21;  // ptrParam = the module's routine, its own to read

// A timed event. Those the module makes (callback opcode 19) are copied by
// the host before the call returns; those the host delivers belong to it.
struct SEEvent {
    uint32_t time_stamp;  // sample clock
    int32_t eventType;
    int32_t intParam1;
    int32_t intParam2;
    void* ptrParam;
    SEEvent* next;  // 0 in events built by the module
};

// Answer to dispatcher opcode 13: the module's stored record of its current
// processing routine. One static record per library, rewritten at every call.
struct SEProcessInfo {
    int32_t version;     // 1
    int32_t recordSize;  // bytes of the stored routine record (8 or 16)
    void* record;        // where the record lies inside the module object
    int32_t tag;         // 1002 for 8-byte records, 0 for 16-byte ones
};

// Dispatcher opcodes, processing side.
enum SEModuleOpcode : int32_t {
    seffOpen = 0,
    seffClose = 1,
    seffSetSampleRate = 2,
    seffSetBlockSize = 3,
    seffGetPinProperties = 6,
    seffHostNotify = 8,
    seffHostMessage = 12,
    seffGetProcessInfo = 13,
};

// Dispatcher opcodes, GUI side.
enum SEGUIOpcode : int32_t {
    seGuiInitialise = 0,
    seGuiClose = 1,
    seGuiOpcode2 = 2,
    seGuiOpcode3 = 3,
    seGuiOpcode4 = 4,
    seGuiOpcode5 = 5,
    seGuiDspMessage = 6,
    seGuiPinChanged = 7,
    seGuiOpcode8 = 8,
    seGuiOpcode9 = 9,
    seGuiQueryOpcode10 = 10,
    seGuiOpcode11 = 11,
    seGuiOpcode12 = 12,
};

// Callback opcodes sent by processing-side objects.
enum SEAudioMasterOpcode : int32_t {
    seaudioMasterSetPinStatus = 0,      // index pin, value status, ptr the clock of the change
    seaudioMasterIsPinConnected = 1,    // index pin; non-zero when connected
    seaudioMasterGetSampleClock = 3,    // the current sample clock (unsigned 32-bit)
    seaudioMasterSendStatusAt = 4,      // as 0, the clock not before the current one
    seaudioMasterGetPinBuffer = 7,      // index pin; the buffer of a repeated audio pin
    seaudioMasterGetBufferClock = 8,    // index pin; the clock of the buffer's first sample
    seaudioMasterSleepMode = 10,        // stop running the processing routine
    seaudioMasterGetPinCount = 14,      // the pins of this module instance
    seaudioMasterAddEvent = 19,         // ptr an SEEvent, copied before returning
    seaudioMasterProcessChanged = 22,   // the processing entry changed
};

// Callback opcodes sent by GUI objects.
enum SEGUIHostOpcode : int32_t {
    seGuiHostSetText = 6,        // index pin, ptr the text to store
    seGuiHostGetText = 7,        // index pin; the pin's text
    seGuiHostAddPin = 8,         // index datatype, value direction, ptr name
    seGuiHostGetValue = 14,      // index pin, ptr a 4-byte buffer the host fills
    seGuiHostSetValue = 15,      // index pin, value the int, opt the float
    seGuiHostSetChoiceList = 16, // index pin, ptr comma-separated choices
    seGuiHostGetWideText = 17,   // index pin; value/ptr 0/null for the length, then length/buffer
    seGuiHostRequest18 = 18,     // ptr the caller's pointer
    seGuiHostRequest19 = 19,     // ptr the caller's pointer
    seGuiHostQuery20 = 20,       // ptr the caller's pointer; non-zero is true
    seGuiHostNotify22 = 22,      // sent when a GUI module initialises and when it is destroyed
};

// The two exported entry points, C linkage, undecorated names.
//   getModuleProperties(index, properties): true for index 0 after filling.
//   makeModule(index, type, callback, hostPointer): the address of the new
//   object's SEModuleStruct (type 1) or SEGUIStruct (type 2), or null.
using SEGetModulePropertiesFunction = bool (*)(int32_t index, SEModuleProperties* properties);
using SEMakeModuleFunction = void* (*)(int32_t index, int32_t type, seaudioMasterFunction callback, void* hostPointer);
inline constexpr const char* SE_GET_MODULE_PROPERTIES_NAME = "getModuleProperties";
inline constexpr const char* SE_MAKE_MODULE_NAME = "makeModule";

static_assert(sizeof(SEModuleProperties) == 3 * sizeof(void*) + 12 + (sizeof(void*) == 8 ? 4 : 0));
static_assert(offsetof(SEEvent, ptrParam) == 16);
static_assert(offsetof(SEPinProperties, direction) == sizeof(void*));
