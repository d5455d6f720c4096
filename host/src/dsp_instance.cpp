#include "host/dsp_instance.h"

#include <algorithm>
#include <cstring>

#include "host/error.h"

namespace host {

namespace {
constexpr size_t recordChunkSize = 64 * 1024;
}

// The object the module receives at creation. Its reference count is kept for
// the record only: the instance owns it.
class DspInstance::HostObject final : public mp::IMpDspHost {
public:
    HostObject(DspInstance& owner, bool provideDspHost) : owner_(owner), provideDspHost_(provideDspHost) {}

    int32_t MP_STDCALL queryInterface(const mp::MpGuid* iid, void** object) override {
        if (object == nullptr) return mp::MP_NOSUPPORT;
        *object = nullptr;
        if (iid == nullptr) return mp::MP_NOSUPPORT;
        if (*iid == mp::MP_IID_UNKNOWN || (*iid == mp::MP_IID_DSP_HOST && provideDspHost_)) {
            *object = static_cast<mp::IMpDspHost*>(this);
            addRef();
            return mp::MP_OK;
        }
        return mp::MP_NOSUPPORT;
    }
    int32_t MP_STDCALL addRef() override { return ++references_; }
    int32_t MP_STDCALL release() override {
        ++owner_.hostReleases_;
        return --references_;
    }
    int32_t MP_STDCALL sendPinValue(int32_t blockPosition, int32_t pinIndex, int32_t size,
                                    const void* value) override {
        if (size < 0 || (size > 0 && value == nullptr)) return mp::MP_FAIL;  // not a value: dropped
        owner_.recordSend(blockPosition, pinIndex, size, value);
        return mp::MP_OK;
    }
    int32_t MP_STDCALL hostOperation4() override { return mp::MP_OK; }
    int32_t MP_STDCALL requestSleep() override {
        owner_.sleeps_.push_back(owner_.block_);
        owner_.asleep_ = true;
        return mp::MP_OK;
    }
    int32_t MP_STDCALL hostOperation6() override { return mp::MP_OK; }
    int32_t MP_STDCALL hostOperation7() override { return mp::MP_OK; }
    int32_t MP_STDCALL querySampleRate(float* sampleRate) override {
        if (sampleRate != nullptr) *sampleRate = owner_.options_.sampleRate;
        return mp::MP_OK;
    }

private:
    DspInstance& owner_;
    bool provideDspHost_;
    int32_t references_ = 0;
};

DspInstance::DspInstance(std::shared_ptr<Library> library, std::string_view pluginId, DspOptions options)
    : library_(std::move(library)), options_(options),
      hostObject_(std::make_unique<HostObject>(*this, options.provideDspHost)) {
    if (const PluginDescription* plugin = library_->description().findPlugin(pluginId); plugin && plugin->dsp)
        pins_ = *plugin->dsp;
    sent_.reserve(8192);
    sleeps_.reserve(8192);
    chunks_.emplace_back().reserve(recordChunkSize);

    void* object = nullptr;
    status_ = library_->createModule(pluginId, mp::MP_KIND_DSP, hostObject_.get(), &object);
    if (status_ == mp::MP_OK) plugin_ = static_cast<mp::IMpPlugin*>(object);
}

DspInstance::~DspInstance() { releaseModule(); }

void DspInstance::releaseModule() {
    if (plugin_ != nullptr) plugin_->release();
    plugin_ = nullptr;
}

std::unique_ptr<DspInstance> DspInstance::create(std::shared_ptr<Library> library, std::string_view pluginId,
                                                 DspOptions options) {
    if (options.maxBlockSize <= 0) throw HostError("the largest block must hold at least one sample");
    const std::string where = library->path().string() + ": ";
    const PluginDescription& plugin = library->plugin(pluginId);
    if (!plugin.dsp) throw HostError(where + "\"" + plugin.id + "\" has no DSP half in its description");
    std::unique_ptr<DspInstance> instance(new DspInstance(std::move(library), pluginId, options));
    if (instance->plugin_ == nullptr)
        throw HostError(where + "createModule(\"" + std::string(pluginId) + "\", DSP) returned " +
                        std::to_string(instance->status_));
    return instance;
}

int32_t DspInstance::creationStatus(std::shared_ptr<Library> library, std::string_view pluginId,
                                    DspOptions options) {
    const DspInstance instance(std::move(library), pluginId, options);
    return instance.status_;
}

int32_t DspInstance::activate() {
    if (plugin_ == nullptr) throw HostError("the module object has been released");
    const int32_t status = plugin_->activate();
    for (const PinDescription& pin : pins_.pins) {
        if (pin.type != PinType::Audio) continue;
        auto& buffer = audioBuffers_[pin.index];
        buffer.assign(size_t(options_.maxBlockSize), 0.0f);
        plugin_->setAudioBuffer(pin.index, buffer.data());
    }
    return status;
}

int32_t DspInstance::processBlock(int32_t sampleCount, EventList& events) {
    if (sampleCount < 0 || sampleCount > options_.maxBlockSize)
        throw HostError("a block of " + std::to_string(sampleCount) + " samples does not fit the buffers");
    if (plugin_ == nullptr) throw HostError("the module object has been released");
    asleep_ = false;
    const int32_t status = plugin_->processBlock(sampleCount, events.head());
    ++block_;
    return status;
}

bool DspInstance::runBlock(int32_t sampleCount, EventList& events) {
    if (asleep_ && events.empty()) {
        ++block_;
        return false;
    }
    processBlock(sampleCount, events);
    return true;
}

std::span<float> DspInstance::audioBuffer(int32_t pinIndex) {
    const auto found = audioBuffers_.find(pinIndex);
    if (found == audioBuffers_.end())
        throw HostError("pin " + std::to_string(pinIndex) + " has no audio buffer (is the module active?)");
    return found->second;
}

void DspInstance::clearRecords() {
    sent_.clear();
    sleeps_.clear();
    for (auto& chunk : chunks_) chunk.clear();  // keeps each chunk's capacity
    chunk_ = 0;
}

void DspInstance::recordSend(int32_t time, int32_t pinIndex, int32_t size, const void* bytes) {
    const auto length = size_t(size);
    while (chunks_[chunk_].size() + length > chunks_[chunk_].capacity()) {
        if (++chunk_ == chunks_.size()) chunks_.emplace_back().reserve(std::max(recordChunkSize, length));
    }
    auto& chunk = chunks_[chunk_];
    const size_t start = chunk.size();
    const auto* first = static_cast<const uint8_t*>(bytes);
    chunk.insert(chunk.end(), first, first + length);
    sent_.push_back(SentPinValue{block_, time, pinIndex, std::span<const uint8_t>(chunk.data() + start, length)});
    if (listener_) listener_(sent_.back());
}

}  // namespace host
