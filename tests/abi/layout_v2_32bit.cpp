// Compiled for a 32-bit target only (-m32 -fsyntax-only): the version-2
// records have their published sizes and offsets where pointers are 4 bytes.
#include "se/abi/records.h"

static_assert(sizeof(void*) == 4, "compile this check for a 32-bit target");

static_assert(sizeof(SEModuleProperties) == 24);
static_assert(offsetof(SEModuleProperties, flags) == 12);
static_assert(offsetof(SEModuleProperties, sdkVersion) == 20);

static_assert(sizeof(SEModuleStruct) == 48);
static_assert(offsetof(SEModuleStruct, version) == 4);
static_assert(offsetof(SEModuleStruct, hostPointer) == 8);
static_assert(offsetof(SEModuleStruct, object) == 12);
static_assert(offsetof(SEModuleStruct, reserved16) == 16);
static_assert(offsetof(SEModuleStruct, dispatcher) == 20);
static_assert(offsetof(SEModuleStruct, processEntry) == 24);
static_assert(offsetof(SEModuleStruct, eventEntry) == 28);
static_assert(offsetof(SEModuleStruct, reserved) == 32);

static_assert(sizeof(SEGUIStruct) == 40);
static_assert(offsetof(SEGUIStruct, dispatcher) == 8);
static_assert(offsetof(SEGUIStruct, hostPointer) == 12);
static_assert(offsetof(SEGUIStruct, object) == 16);
static_assert(offsetof(SEGUIStruct, reserved) == 20);

static_assert(sizeof(SEPinProperties) == 32);
static_assert(offsetof(SEPinProperties, direction) == 4);
static_assert(offsetof(SEPinProperties, datatype) == 8);
static_assert(offsetof(SEPinProperties, name) == 12);
static_assert(offsetof(SEPinProperties, reserved16) == 16);
static_assert(offsetof(SEPinProperties, reserved20) == 20);
static_assert(offsetof(SEPinProperties, flags) == 24);
static_assert(offsetof(SEPinProperties, reserved28) == 28);

static_assert(sizeof(SEEvent) == 24);
static_assert(offsetof(SEEvent, eventType) == 4);
static_assert(offsetof(SEEvent, intParam1) == 8);
static_assert(offsetof(SEEvent, intParam2) == 12);
static_assert(offsetof(SEEvent, ptrParam) == 16);
static_assert(offsetof(SEEvent, next) == 20);

static_assert(sizeof(SEProcessInfo) == 16);
static_assert(offsetof(SEProcessInfo, recordSize) == 4);
static_assert(offsetof(SEProcessInfo, record) == 8);
static_assert(offsetof(SEProcessInfo, tag) == 12);

// The dispatcher's and the callback's result: 32 bits on the target.
static_assert(sizeof(intptr_t) == 4);
