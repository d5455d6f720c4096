// A test-only version-2 plug-in that does what its tests tell it and reports
// what the framework does to it (records in probe2_records.h).
//
// Processing object: declares the pins last configured (library-wide), runs
// one of its routines, adds events and sends statuses on command, and counts
// every hook the framework calls. GUI object (a GuiModule): makes any GUI
// request on command and records its hooks.
#include <cstring>
#include <new>

#include "probe2_records.h"
#include "se/module_entry.h"

namespace {

using namespace probe2;

Configuration configuration{};

class Module final : public SEModule_base {
public:
    using SEModule_base::SEModule_base;

    bool getPinProperties(int32_t index, SEPinProperties* properties) override {
        if (index < 0 || index >= configuration.count || index >= maxPins) return false;
        const PinDeclaration& pin = configuration.pins[index];
        properties->direction = pin.direction;
        properties->datatype = pin.datatype;
        properties->flags = pin.flags;
        properties->name = names[index];
        properties->variableAddress = pin.withVariable != 0 ? static_cast<void*>(&variables_[index]) : nullptr;
        return true;
    }

    void open() override {
        ++counters_.opened;
        SEModule_base::open();
    }
    void close() override { ++counters_.closed; }

    void onPinStatusChanged(SEPin* pin) override {
        ++counters_.statusCalls;
        counters_.lastStatusPin = pin->getIndex();
        counters_.statusDuringCall = pin->getStatus();
    }
    void onShortEvent(uint32_t timeStamp, int32_t value1, int32_t value2) override {
        ++counters_.shortEvents;
        counters_.lastShortTime = int32_t(timeStamp);
        counters_.lastShort1 = value1;
        counters_.lastShort2 = value2;
    }
    void hostNotify() override { ++counters_.hostNotifies; }
    void hostNotifyCount(int32_t count) override {
        ++counters_.notifyCountCalls;
        counters_.lastNotifyCount = count;
    }

    void onHostMessage(int32_t command, int32_t, void* ptr) override {
        if (ptr == nullptr) return;
        if (command == probe2::configure) {
            std::memcpy(&configuration, ptr, sizeof configuration);
            return;
        }
        auto& args = *static_cast<ProbeArgs*>(ptr);
        switch (command) {
            case probe2::reportSlots:
                args.out[0] = getPinCount();
                for (int32_t i = 0; i < args.a && i < 16 && i < getPinCount(); ++i) args.slots[i] = report(i);
                break;
            case probe2::selectRoutine:
                if (args.a == 0) setProcess(&Module::processNothing);
                if (args.a == 1) setProcess(&Module::routine1);
                if (args.a == 2) setProcess(&Module::routine2);
                if (args.a == 3) setProcess(ProcessRoutine{nullptr});
                break;
            case probe2::addEvent:
                SEModule_base::addEvent(uint32_t(args.a), args.b, args.c, args.d, nullptr);
                break;
            case probe2::runAt:
                SEModule_base::runAt(uint32_t(args.a), &Module::deferred);
                break;
            case probe2::getPin:
                args.out[0] = SEModule_base::getPin(args.a)->getIndex();
                break;
            case probe2::sendStatus:
                SEModule_base::getPin(args.a)->sendStatus(uint32_t(args.b), args.c);
                break;
            case probe2::sendStatusAt:
                SEModule_base::getPin(args.a)->sendStatusAt(uint32_t(args.b), args.c);
                break;
            case probe2::isConnected:
                args.out[0] = SEModule_base::getPin(args.a)->isConnected() ? 1 : 0;
                break;
            case probe2::audioValueNow:
                args.outFloat = SEModule_base::getPin(args.a)->audioValueNow();
                break;
            case probe2::sleep:
                sleepRequest();
                break;
            case probe2::readCounters:
                args.counters = counters_;
                break;
            case probe2::sampleClock:
                args.out[0] = int32_t(SampleClock());
                break;
            default:
                break;
        }
    }

private:
    void routine(int32_t which, int32_t offset, int32_t count) {
        ++counters_.routineCalls[which];
        counters_.lastOffset = offset;
        counters_.lastCount = count;
    }
    void routine1(int32_t offset, int32_t count) { routine(1, offset, count); }
    void routine2(int32_t offset, int32_t count) { routine(2, offset, count); }
    void deferred() { ++counters_.deferredCalls; }

    SlotReport report(int32_t slot) {
        SEPin* pin = SEModule_base::getPin(slot);
        SlotReport r{pin->getIndex(), pin->getDatatype(), pin->getStatus(), noVariable, 0};
        void* variable = pin->getVariableAddress();
        if (variable == nullptr) return r;
        r.variableKind = pin->usesOwnStorage() ? ownStorage : elsewhere;
        for (const auto& v : variables_)
            if (variable == &v) r.variableKind = moduleVariable;
        const size_t width = pin->getDatatype() == DT_ENUM_LIST ? 2
                             : pin->getDatatype() == DT_BOOL    ? 1
                             : pin->getDatatype() == DT_FSAMPLE ? sizeof(void*)
                                                                : 4;
        std::memcpy(&r.content, variable, width);
        return r;
    }

    static constexpr const char* names[maxPins] = {"p0", "p1", "p2", "p3", "p4", "p5", "p6", "p7"};
    // Each wide enough for any pin's value, an audio pin's buffer address included.
    uint64_t variables_[maxPins] = {0x1111111111111111u, 0x2222222222222222u, 0x3333333333333333u,
                                    0x4444444444444444u, 0x5555555555555555u, 0x6666666666666666u,
                                    0x7777777777777777u, 0x8888888888888888u};
    Counters counters_{};
};

class Gui final : public GuiModule {
public:
    using GuiModule::GuiModule;

    void initialise(bool restored) override {
        hooks_.initialisedRestored = restored ? 1 : 0;
        GuiModule::initialise(restored);
    }
    void close() override { note(1, 0, 0, 0.0f, nullptr); }
    void onOpcode2(int32_t index, void* ptr) override { note(2, index, 0, 0.0f, ptr); }
    void onOpcode3(void* ptr, float opt, SEPoint p) override { note(3, p.x, p.y, opt, ptr); }
    void onOpcode4(void* ptr, float opt, SEPoint p) override { note(4, p.x, p.y, opt, ptr); }
    void onOpcode5(void* ptr, float opt, SEPoint p) override { note(5, p.x, p.y, opt, ptr); }
    void onOpcode8(void* ptr) override { note(8, 0, 0, 0.0f, ptr); }
    void onOpcode9(void* ptr) override { note(9, 0, 0, 0.0f, ptr); }
    void onOpcode11(int32_t index) override { note(11, index, 0, 0.0f, nullptr); }
    void onOpcode12(int32_t index) override { note(12, index, 0, 0.0f, nullptr); }
    void onPinChanged(SEGUIPin pin) override { note(7, pin.getIndex(), 0, 0.0f, nullptr); }

    void onDspMessage(int32_t command, int32_t index, void* ptr) override {
        if (ptr == nullptr) {
            note(6, index, command, 0.0f, nullptr);
            return;
        }
        auto& args = *static_cast<ProbeArgs*>(ptr);
        SEGUIPin pin = getPin(args.a);
        switch (command) {
            case probe2::guiAddPin:
                addPin(args.a, args.b, args.text);
                break;
            case probe2::guiSetChoices:
                setChoiceList(args.a, args.text);
                break;
            case probe2::guiSetInt:
                pin.setValueInt(args.b);
                break;
            case probe2::guiSetFloat:
                pin.setValueFloat(args.outFloat);
                break;
            case probe2::guiGetInt:
                args.out[0] = pin.getValueInt();
                break;
            case probe2::guiGetFloat:
                args.outFloat = pin.getValueFloat();
                break;
            case probe2::guiSetText:
                pin.setText(args.text);
                break;
            case probe2::guiGetText: {
                const std::string text = pin.getText();
                std::memset(args.text, 0, sizeof args.text);
                std::memcpy(args.text, text.data(),
                            text.size() < sizeof args.text ? text.size() : sizeof args.text - 1);
                break;
            }
            case probe2::guiGetWideText: {
                const std::u16string text = pin.getWideText();
                std::memset(args.wide, 0, sizeof args.wide);
                for (size_t i = 0; i < text.size() && i + 1 < std::size(args.wide); ++i) args.wide[i] = text[i];
                args.out[1] = int32_t(text.size());
                break;
            }
            case probe2::guiRequests:
                hostRequest18(&args);
                hostRequest19(&args.out);
                args.out[0] = hostQuery20(&args.text) ? 1 : 0;
                break;
            case probe2::guiReadHooks:
                args.hooks = hooks_;
                break;
            default:
                break;
        }
    }

private:
    void note(int32_t opcode, int32_t index, int32_t value, float opt, void* ptr) {
        HookCall& call = hooks_.byOpcode[opcode];
        ++call.calls;
        call.index = index;
        call.value = value;
        call.opt = opt;
        call.ptr = ptr;
    }

    Hooks hooks_{{}, -1};
};

}  // namespace

bool se::moduleProperties(int32_t index, SEModuleProperties* properties) {
    if (index != 0) return false;
    properties->name = "probe2";
    properties->id = "probe2";
    properties->about = "reports what the framework does";
    properties->flags = 0;
    properties->guiFlags = 0;
    properties->sdkVersion = SE_SDK_VERSION;
    return true;
}

SEModule_base* se::makeProcessingModule(seaudioMasterFunction callback, void* hostPointer) {
    return new (std::nothrow) Module(callback, hostPointer);
}

SEGUI_base* se::makeGuiModule(seaudioMasterFunction callback, void* hostPointer) {
    return new (std::nothrow) Gui(callback, hostPointer);
}
