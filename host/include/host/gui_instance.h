// One GUI module object (IMpUserInterface) and the host object it was created
// with.
//
// The host object answers queryInterface for IMpUnknown, IMpGuiHost,
// IMpGuiWindowHost and IMpGuiHostExtension; a test may withhold each of the
// last three. It records every sendGuiPinValue and keeps, per pin, the last
// value either side set, as a host's patch does. All calls stand for the
// host's user-interface thread.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/library.h"
#include "host/values.h"
#include "mp/abi/host_interfaces.h"

namespace host {

struct GuiOptions {
    bool provideGuiHost = true;
    bool provideWindowHost = true;
    bool provideHostExtension = true;
};

struct SentGuiValue {
    int32_t pinIndex;
    Bytes bytes;
    int32_t voice;
};

class GuiInstance {
public:
    // Creates the plug-in's GUI object through the factory and calls
    // initialiseGui. Throws HostError naming the status on failure.
    static std::unique_ptr<GuiInstance> create(std::shared_ptr<Library> library, std::string_view pluginId,
                                               GuiOptions options = {});
    // The factory's status for creating it (an object made is released again).
    static int32_t creationStatus(std::shared_ptr<Library> library, std::string_view pluginId,
                                  GuiOptions options = {});

    ~GuiInstance();  // releases the module object if releaseModule has not
    // Gives back the host's reference now: the module object is destroyed.
    void releaseModule();
    // How often the module released the host object or its sub-objects.
    int32_t hostReleases() const { return hostReleases_; }
    GuiInstance(const GuiInstance&) = delete;
    GuiInstance& operator=(const GuiInstance&) = delete;

    // Delivers a value as a host does: receivePinValue, then receivePinNotice.
    // Returns the first status that is not MP_OK, else MP_OK.
    int32_t deliver(int32_t pinIndex, const Bytes& bytes);
    int32_t deliver(int32_t pinIndex, float value) { return deliver(pinIndex, bytesOf(value)); }
    int32_t deliver(int32_t pinIndex, int32_t value) { return deliver(pinIndex, bytesOf(value)); }
    int32_t deliver(int32_t pinIndex, bool value) { return deliver(pinIndex, bytesOf(value)); }
    // The two halves of a delivery, for tests that separate them.
    int32_t sendValueOnly(int32_t pinIndex, const Bytes& bytes);
    int32_t sendNoticeOnly(int32_t pinIndex);

    const std::vector<SentGuiValue>& sentValues() const { return sent_; }
    void clearRecords() { sent_.clear(); }
    // The last value of a pin, delivered or sent (empty when none yet).
    const Bytes& pinValue(int32_t pinIndex) const;

    using Listener = std::function<void(const SentGuiValue&)>;
    void setListener(Listener listener) { listener_ = std::move(listener); }

    mp::IMpUserInterface* userInterface() const { return ui_; }
    const KindDescription& pins() const { return pins_; }

private:
    class HostObject;
    GuiInstance(std::shared_ptr<Library> library, std::string_view pluginId, GuiOptions options);
    void recordSend(int32_t pinIndex, int32_t size, const void* bytes, int32_t voice);

    std::shared_ptr<Library> library_;
    KindDescription pins_;
    std::unique_ptr<HostObject> hostObject_;
    int32_t status_ = mp::MP_OK;  // of createModule
    mp::IMpUserInterface* ui_ = nullptr;
    std::vector<SentGuiValue> sent_;
    std::map<int32_t, Bytes> pinValues_;
    Listener listener_;
    int32_t hostReleases_ = 0;
};

}  // namespace host
