// One DSP module object (IMpPlugin) and the host object it was created with.
//
// The host object answers queryInterface for IMpUnknown and IMpDspHost (which a
// test may withhold), records every sendPinValue and requestSleep, and tells
// the sample rate. It owns the module's audio buffers. All calls stand for the
// host's audio thread.
//
// Recording allocates nothing while its reserved storage lasts, so blocks
// run through an instance can be checked for allocations in the module.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "host/event_list.h"
#include "host/library.h"
#include "mp/abi/host_interfaces.h"

namespace host {

struct DspOptions {
    float sampleRate = 44100.0f;
    int32_t maxBlockSize = 4096;  // size of each audio buffer
    bool provideDspHost = true;   // false: the host object withholds IMpDspHost
};

// A value the module sent, in the host's block `block` (the number of blocks
// gone through before it) at sample `time` of that block.
struct SentPinValue {
    int64_t block;
    int32_t time;
    int32_t pinIndex;
    std::span<const uint8_t> bytes;
};

class DspInstance {
public:
    // Creates the plug-in's DSP object through the factory. Throws HostError
    // naming the status when the factory does not return an object.
    static std::unique_ptr<DspInstance> create(std::shared_ptr<Library> library, std::string_view pluginId,
                                               DspOptions options = {});
    // The factory's status for creating it (an object made is released again).
    static int32_t creationStatus(std::shared_ptr<Library> library, std::string_view pluginId,
                                  DspOptions options = {});

    ~DspInstance();  // releases the module object if releaseModule has not
    DspInstance(const DspInstance&) = delete;
    DspInstance& operator=(const DspInstance&) = delete;

    // activate, then setAudioBuffer for every audio pin of the description.
    int32_t activate();
    // The rate querySampleRate reports from now on; a host whose rate changes
    // activates the module again.
    void setSampleRate(float sampleRate) { options_.sampleRate = sampleRate; }
    // One processBlock call, whatever the sleep state.
    int32_t processBlock(int32_t sampleCount, EventList& events);
    // As a real host runs a block: a sleeping module is not called until it has
    // events. Returns whether processBlock was called.
    bool runBlock(int32_t sampleCount, EventList& events);

    // The buffer of an audio pin (input or output); throws HostError for a pin
    // that has none.
    std::span<float> audioBuffer(int32_t pinIndex);

    // What the module sent, in order. The byte spans stay valid until
    // clearRecords.
    const std::vector<SentPinValue>& sentValues() const { return sent_; }
    // The blocks in which the module asked to sleep, by block number.
    const std::vector<int64_t>& sleepRequests() const { return sleeps_; }
    bool asleep() const { return asleep_; }
    // How often the module released the host object.
    int32_t hostReleases() const { return hostReleases_; }
    // Gives back the host's reference now: the module object is destroyed and
    // the instance runs no more blocks.
    void releaseModule();
    // Forgets the records, keeping their storage.
    void clearRecords();

    // Called with each value the module sends, after it is recorded.
    using Listener = std::function<void(const SentPinValue&)>;
    void setListener(Listener listener) { listener_ = std::move(listener); }

    mp::IMpPlugin* plugin() const { return plugin_; }
    const KindDescription& pins() const { return pins_; }

private:
    class HostObject;
    DspInstance(std::shared_ptr<Library> library, std::string_view pluginId, DspOptions options);
    void recordSend(int32_t time, int32_t pinIndex, int32_t size, const void* bytes);

    std::shared_ptr<Library> library_;
    DspOptions options_;
    KindDescription pins_;
    std::unique_ptr<HostObject> hostObject_;
    int32_t status_ = mp::MP_OK;  // of createModule
    mp::IMpPlugin* plugin_ = nullptr;
    std::map<int32_t, std::vector<float>> audioBuffers_;

    std::vector<SentPinValue> sent_;
    // The bytes of sent values, in chunks filled only up to the capacity they
    // were made with, so they never move and the spans stay valid.
    std::vector<std::vector<uint8_t>> chunks_;
    size_t chunk_ = 0;  // the one being filled
    std::vector<int64_t> sleeps_;
    Listener listener_;
    bool asleep_ = false;
    int64_t block_ = 0;  // blocks gone through (runBlock counts skipped ones too)
    int32_t hostReleases_ = 0;
};

}  // namespace host
