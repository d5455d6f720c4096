// Compiled for 32-bit x86 Windows only (syntax check): every operation of the
// binary interface, offered by the libraries or by the host, uses __stdcall,
// and no interface has a virtual destructor (which would add table entries
// that the other side does not have).
#include <type_traits>

#include "mp/abi/host_interfaces.h"
#include "mp/abi/plugin_interfaces.h"

namespace {

template <typename Class, typename Result, typename... Arguments>
constexpr bool isStdcall(Result (__stdcall Class::*)(Arguments...)) {
    return true;
}
template <typename Other>
constexpr bool isStdcall(Other) {
    return false;
}

template <typename... Interfaces>
constexpr bool noVirtualDestructors = (!std::has_virtual_destructor_v<Interfaces> && ...);

using namespace mp;

static_assert(noVirtualDestructors<IMpUnknown, IMpFactory, IMpPlugin, IMpUserInterface, IMpGraphicsWinGdi, IMpDspHost,
                                   IMpGuiHost, IMpGuiWindowHost, IMpGuiHostExtension>);

static_assert(isStdcall(&IMpUnknown::queryInterface) && isStdcall(&IMpUnknown::addRef) &&
              isStdcall(&IMpUnknown::release));
static_assert(isStdcall(&IMpFactory::createModule) && isStdcall(&IMpFactory::describeSdk));
static_assert(isStdcall(&IMpPlugin::activate) && isStdcall(&IMpPlugin::setAudioBuffer) &&
              isStdcall(&IMpPlugin::processBlock) && isStdcall(&IMpPlugin::receiveGuiMessage));
static_assert(isStdcall(&IMpUserInterface::initialiseGui) && isStdcall(&IMpUserInterface::receivePinValue) &&
              isStdcall(&IMpUserInterface::receivePinNotice) && isStdcall(&IMpUserInterface::receiveAudioMessage) &&
              isStdcall(&IMpUserInterface::buildContextMenu) && isStdcall(&IMpUserInterface::contextMenuChosen));
static_assert(isStdcall(&IMpGraphicsWinGdi::proposeSize) && isStdcall(&IMpGraphicsWinGdi::placeWindow) &&
              isStdcall(&IMpGraphicsWinGdi::createChildWindow) && isStdcall(&IMpGraphicsWinGdi::destroyChildWindow));
static_assert(isStdcall(&IMpDspHost::sendPinValue) && isStdcall(&IMpDspHost::hostOperation4) &&
              isStdcall(&IMpDspHost::requestSleep) && isStdcall(&IMpDspHost::hostOperation6) &&
              isStdcall(&IMpDspHost::hostOperation7) && isStdcall(&IMpDspHost::querySampleRate));
static_assert(isStdcall(&IMpGuiHost::sendGuiPinValue));

// The entry point too.
static_assert(std::is_same_v<MpGetFactoryFunction, int32_t(__stdcall*)(void**)>);

}  // namespace
