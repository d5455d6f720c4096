#include "host/gui_instance.h"

#include "host/error.h"

namespace host {

// The object the module receives at creation, with the two window-host
// interfaces as sub-objects. Reference counts are kept for the record only:
// the instance owns it.
class GuiInstance::HostObject final : public mp::IMpGuiHost {
public:
    HostObject(GuiInstance& owner, const GuiOptions& options)
        : owner_(owner), options_(options), windowHost_(*this), extension_(*this) {}

    int32_t MP_STDCALL queryInterface(const mp::MpGuid* iid, void** object) override {
        if (object == nullptr) return mp::MP_NOSUPPORT;
        *object = nullptr;
        if (iid == nullptr) return mp::MP_NOSUPPORT;
        mp::IMpUnknown* found = nullptr;
        if (*iid == mp::MP_IID_UNKNOWN || (*iid == mp::MP_IID_GUI_HOST && options_.provideGuiHost))
            found = static_cast<mp::IMpGuiHost*>(this);
        else if (*iid == mp::MP_IID_GUI_WINDOW_HOST && options_.provideWindowHost)
            found = &windowHost_;
        else if (*iid == mp::MP_IID_GUI_HOST_EXTENSION && options_.provideHostExtension)
            found = &extension_;
        if (found == nullptr) return mp::MP_NOSUPPORT;
        *object = found;
        found->addRef();
        return mp::MP_OK;
    }
    int32_t MP_STDCALL addRef() override { return ++references_; }
    int32_t MP_STDCALL release() override {
        ++owner_.hostReleases_;
        return --references_;
    }
    int32_t MP_STDCALL sendGuiPinValue(int32_t pinIndex, int32_t size, const void* value, int32_t voice) override {
        if (size < 0 || (size > 0 && value == nullptr)) return mp::MP_FAIL;  // not a value: dropped
        owner_.recordSend(pinIndex, size, value, voice);
        return mp::MP_OK;
    }

private:
    // An interface with only the object conventions, answered by the host object.
    template <class Interface>
    class SubObject final : public Interface {
    public:
        explicit SubObject(HostObject& parent) : parent_(parent) {}
        int32_t MP_STDCALL queryInterface(const mp::MpGuid* iid, void** object) override {
            return parent_.queryInterface(iid, object);
        }
        int32_t MP_STDCALL addRef() override { return parent_.addRef(); }
        int32_t MP_STDCALL release() override { return parent_.release(); }

    private:
        HostObject& parent_;
    };

    GuiInstance& owner_;
    GuiOptions options_;
    SubObject<mp::IMpGuiWindowHost> windowHost_;
    SubObject<mp::IMpGuiHostExtension> extension_;
    int32_t references_ = 0;
};

GuiInstance::GuiInstance(std::shared_ptr<Library> library, std::string_view pluginId, GuiOptions options)
    : library_(std::move(library)),
      hostObject_(std::make_unique<HostObject>(*this, options)) {
    if (const PluginDescription* plugin = library_->description().findPlugin(pluginId); plugin && plugin->gui)
        pins_ = *plugin->gui;
    void* object = nullptr;
    status_ = library_->createModule(pluginId, mp::MP_KIND_GUI, hostObject_.get(), &object);
    if (status_ == mp::MP_OK) ui_ = static_cast<mp::IMpUserInterface*>(object);
}

GuiInstance::~GuiInstance() { releaseModule(); }

void GuiInstance::releaseModule() {
    if (ui_ != nullptr) ui_->release();
    ui_ = nullptr;
}

std::unique_ptr<GuiInstance> GuiInstance::create(std::shared_ptr<Library> library, std::string_view pluginId,
                                                 GuiOptions options) {
    const std::string where = library->path().string() + ": ";
    const PluginDescription& plugin = library->plugin(pluginId);
    if (!plugin.gui) throw HostError(where + "\"" + plugin.id + "\" has no GUI half in its description");
    std::unique_ptr<GuiInstance> instance(new GuiInstance(std::move(library), pluginId, options));
    if (instance->ui_ == nullptr)
        throw HostError(where + "createModule(\"" + std::string(pluginId) + "\", GUI) returned " +
                        std::to_string(instance->status_));
    instance->ui_->initialiseGui();
    return instance;
}

int32_t GuiInstance::creationStatus(std::shared_ptr<Library> library, std::string_view pluginId,
                                    GuiOptions options) {
    const GuiInstance instance(std::move(library), pluginId, options);
    return instance.status_;
}

int32_t GuiInstance::deliver(int32_t pinIndex, const Bytes& bytes) {
    const int32_t valueStatus = sendValueOnly(pinIndex, bytes);
    const int32_t noticeStatus = sendNoticeOnly(pinIndex);
    return valueStatus != mp::MP_OK ? valueStatus : noticeStatus;
}

int32_t GuiInstance::sendValueOnly(int32_t pinIndex, const Bytes& bytes) {
    if (ui_ == nullptr) throw HostError("the module object has been released");
    const int32_t status = ui_->receivePinValue(pinIndex, 0, int32_t(bytes.size()), bytes.data());
    if (status == mp::MP_OK) pinValues_[pinIndex] = bytes;
    return status;
}

int32_t GuiInstance::sendNoticeOnly(int32_t pinIndex) {
    if (ui_ == nullptr) throw HostError("the module object has been released");
    return ui_->receivePinNotice(pinIndex, 0);
}

const Bytes& GuiInstance::pinValue(int32_t pinIndex) const {
    static const Bytes none;
    const auto found = pinValues_.find(pinIndex);
    return found == pinValues_.end() ? none : found->second;
}

void GuiInstance::recordSend(int32_t pinIndex, int32_t size, const void* bytes, int32_t voice) {
    const auto* first = static_cast<const uint8_t*>(bytes);
    SentGuiValue sent{pinIndex, Bytes(first, first + size), voice};
    pinValues_[pinIndex] = sent.bytes;
    sent_.push_back(std::move(sent));
    if (listener_) listener_(sent_.back());
}

}  // namespace host
