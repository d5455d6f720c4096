// Compiled for a 32-bit target only (-m32 -fsyntax-only): the binary interface
// has its published sizes and offsets where pointers are 4 bytes.
#include "mp/abi/host_interfaces.h"
#include "mp/abi/plugin_interfaces.h"

static_assert(sizeof(void*) == 4, "compile this check for a 32-bit target");
static_assert(sizeof(mp::TimedEvent) == 32);
static_assert(offsetof(mp::TimedEvent, time) == 0);
static_assert(offsetof(mp::TimedEvent, type) == 4);
static_assert(offsetof(mp::TimedEvent, pinIndex) == 8);
static_assert(offsetof(mp::TimedEvent, size) == 12);
static_assert(offsetof(mp::TimedEvent, valueWord0) == 16);
static_assert(offsetof(mp::TimedEvent, valueWord1) == 20);
static_assert(offsetof(mp::TimedEvent, extraData) == 24);
static_assert(offsetof(mp::TimedEvent, next) == 28);
static_assert(sizeof(mp::MpRect) == 16);
static_assert(offsetof(mp::MpRect, top) == 0);
static_assert(offsetof(mp::MpRect, bottom) == 4);
static_assert(offsetof(mp::MpRect, left) == 8);
static_assert(offsetof(mp::MpRect, right) == 12);
static_assert(sizeof(mp::MpGuid) == 16);
// One table pointer per interface object, nothing else.
static_assert(sizeof(mp::IMpPlugin) == 4 && sizeof(mp::IMpDspHost) == 4);
