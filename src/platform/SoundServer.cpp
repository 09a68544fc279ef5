#include "platform/SoundServer.h"

#include "platform/PulseConnection.h"
#include "platform/PulseStreams.h"

#include <algorithm>
#include <cstring>

namespace orvanta::platform {

namespace {

// A missing server is looked for again this often.
constexpr pa_usec_t kRetryInterval = 3 * PA_USEC_PER_SEC;

// Names and descriptions come from another process: keep them bounded.
constexpr std::size_t kMaxNameBytes = 512;

std::string bounded(const char* text)
{
    if (!text) {
        return {};
    }
    std::string value(text, strnlen(text, kMaxNameBytes + 1));
    value.resize(std::min(value.size(), kMaxNameBytes));
    return value;
}

}

const SoundDeviceInfo* SoundServerView::find(SoundDirection direction,
                                             const std::string& name) const
{
    const std::string& wanted =
        name.empty() ? (direction == SoundDirection::Output ? defaultOutput : defaultInput) : name;
    const auto& list = devices(direction);
    const auto found = std::find_if(list.begin(), list.end(),
                                    [&](const SoundDeviceInfo& d) { return d.name == wanted; });
    return found == list.end() ? nullptr : &*found;
}

PulseConnection::PulseConnection(std::string address, std::function<void()> changed)
        : address_(std::move(address)), changed_(std::move(changed))
{
    loop_ = pa_threaded_mainloop_new();
    if (!loop_) {
        publishState(SoundServerState::NotAvailable);
        return;
    }
    pa_threaded_mainloop_set_name(loop_, "orvanta-sound");
    if (pa_threaded_mainloop_start(loop_) < 0) {
        pa_threaded_mainloop_free(loop_);
        loop_ = nullptr;
        publishState(SoundServerState::NotAvailable);
        return;
    }
    Lock lock(*this);
    connect();
}

PulseConnection::~PulseConnection()
{
    if (!loop_) {
        return;
    }
    {
        Lock lock(*this);
        if (retry_) {
            pa_threaded_mainloop_get_api(loop_)->time_free(retry_);
            retry_ = nullptr;
        }
        dropContext();
    }
    pa_threaded_mainloop_stop(loop_);
    pa_threaded_mainloop_free(loop_);
}

SoundServerView PulseConnection::view() const
{
    std::lock_guard lock(viewMutex_);
    return view_;
}

bool PulseConnection::waitUntilReady(std::chrono::milliseconds limit)
{
    std::unique_lock lock(viewMutex_);
    stateChanged_.wait_for(lock, limit,
                           [this] { return view_.state != SoundServerState::Connecting; });
    return view_.state == SoundServerState::Ready;
}

pa_context* PulseConnection::readyContext() const
{
    return context_ && pa_context_get_state(context_) == PA_CONTEXT_READY ? context_ : nullptr;
}

int PulseConnection::lastError() const
{
    return context_ ? pa_context_errno(context_) : PA_ERR_CONNECTIONREFUSED;
}

void PulseConnection::connect()
{
    pa_proplist* properties = pa_proplist_new();
    pa_proplist_sets(properties, PA_PROP_APPLICATION_NAME, "Orvanta");
    pa_proplist_sets(properties, PA_PROP_APPLICATION_ID, "orvanta");
    context_ =
        pa_context_new_with_proplist(pa_threaded_mainloop_get_api(loop_), "Orvanta", properties);
    pa_proplist_free(properties);
    if (!context_) {
        publishState(SoundServerState::NotAvailable);
        scheduleReconnect();
        return;
    }
    pa_context_set_state_callback(context_, &PulseConnection::onContextState, this);
    if (pa_context_connect(context_, address_.empty() ? nullptr : address_.c_str(),
                           PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        dropContext();
        publishState(SoundServerState::NotAvailable);
        scheduleReconnect();
    }
}

void PulseConnection::dropContext()
{
    if (!context_) {
        return;
    }
    pa_context_set_state_callback(context_, nullptr, nullptr);
    pa_context_set_subscribe_callback(context_, nullptr, nullptr);
    pa_context_disconnect(context_);
    pa_context_unref(context_);
    context_ = nullptr;
    partsPending_ = 0;
    refreshAgain_ = false;
}

void PulseConnection::scheduleReconnect()
{
    if (retry_) {
        return;
    }
    struct timeval when {};
    pa_timeval_add(pa_gettimeofday(&when), kRetryInterval);
    pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop_);
    retry_ = api->time_new(api, &when, &PulseConnection::onRetry, this);
}

void PulseConnection::onRetry(pa_mainloop_api* api, pa_time_event* event, const struct timeval*,
                              void* self)
{
    auto* c = static_cast<PulseConnection*>(self);
    api->time_free(event);
    c->retry_ = nullptr;
    c->connect();
}

void PulseConnection::onContextState(pa_context* context, void* self)
{
    auto* c = static_cast<PulseConnection*>(self);
    switch (pa_context_get_state(context)) {
    case PA_CONTEXT_READY:
        pa_context_set_subscribe_callback(context, &PulseConnection::onEvent, c);
        pa_operation_unref(
            pa_context_subscribe(context,
                                 static_cast<pa_subscription_mask_t>(PA_SUBSCRIPTION_MASK_SINK |
                                                                     PA_SUBSCRIPTION_MASK_SOURCE |
                                                                     PA_SUBSCRIPTION_MASK_SERVER),
                                 nullptr, nullptr));
        c->refresh();
        break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        c->dropContext();
        c->publishState(SoundServerState::NotAvailable);
        c->scheduleReconnect();
        break;
    default:
        break;
    }
}

void PulseConnection::onEvent(pa_context*, pa_subscription_event_type_t, std::uint32_t, void* self)
{
    static_cast<PulseConnection*>(self)->refresh();
}

void PulseConnection::refresh()
{
    if (!readyContext()) {
        return;
    }
    if (partsPending_ > 0) {
        refreshAgain_ = true;
        return;
    }
    building_ = {};
    building_.state = SoundServerState::Ready;
    partsPending_ = 3;
    for (pa_operation* op :
         {pa_context_get_server_info(context_, &PulseConnection::onServerInfo, this),
          pa_context_get_sink_info_list(context_, &PulseConnection::onSinkInfo, this),
          pa_context_get_source_info_list(context_, &PulseConnection::onSourceInfo, this)}) {
        if (op) {
            pa_operation_unref(op);
        } else {
            partDone();
        }
    }
}

void PulseConnection::onServerInfo(pa_context*, const pa_server_info* info, void* self)
{
    auto* c = static_cast<PulseConnection*>(self);
    if (info) {
        c->building_.defaultOutput = bounded(info->default_sink_name);
        c->building_.defaultInput = bounded(info->default_source_name);
    }
    c->partDone();
}

void PulseConnection::onSinkInfo(pa_context*, const pa_sink_info* info, int eol, void* self)
{
    auto* c = static_cast<PulseConnection*>(self);
    if (eol != 0) {
        c->partDone();
        return;
    }
    c->building_.outputs.push_back({bounded(info->name), bounded(info->description),
                                    info->volume.channels > 0 ? info->volume.values[0] : 0,
                                    info->volume.channels, info->mute != 0});
}

void PulseConnection::onSourceInfo(pa_context*, const pa_source_info* info, int eol, void* self)
{
    auto* c = static_cast<PulseConnection*>(self);
    if (eol != 0) {
        c->partDone();
        return;
    }
    if (info->monitor_of_sink != PA_INVALID_INDEX) {
        return;
    }
    c->building_.inputs.push_back({bounded(info->name), bounded(info->description),
                                   info->volume.channels > 0 ? info->volume.values[0] : 0,
                                   info->volume.channels, info->mute != 0});
}

void PulseConnection::partDone()
{
    if (partsPending_ == 0 || --partsPending_ > 0) {
        return;
    }
    {
        std::lock_guard lock(viewMutex_);
        view_ = std::move(building_);
    }
    stateChanged_.notify_all();
    changed_();
    if (refreshAgain_) {
        refreshAgain_ = false;
        refresh();
    }
}

void PulseConnection::publishState(SoundServerState state)
{
    {
        std::lock_guard lock(viewMutex_);
        if (view_.state == state) {
            return;
        }
        view_ = {};
        view_.state = state;
    }
    stateChanged_.notify_all();
    if (changed_) {
        changed_();
    }
}

std::string PulseConnection::resolve(SoundDirection direction, const std::string& device,
                                     std::uint8_t& channels) const
{
    std::lock_guard lock(viewMutex_);
    const SoundDeviceInfo* info = view_.find(direction, device);
    if (!info) {
        return {};
    }
    channels = info->channels;
    return info->name;
}

void PulseConnection::setVolume(SoundDirection direction, const std::string& device,
                                std::uint32_t volume)
{
    if (!loop_) {
        return;
    }
    Lock lock(*this);
    std::uint8_t channels = 0;
    const std::string name = resolve(direction, device, channels);
    if (!readyContext() || name.empty() || channels == 0) {
        return;
    }
    pa_cvolume levels;
    pa_cvolume_set(&levels, channels, std::min<std::uint32_t>(volume, PA_VOLUME_MAX));
    pa_operation* op =
        direction == SoundDirection::Output
            ? pa_context_set_sink_volume_by_name(context_, name.c_str(), &levels, nullptr, nullptr)
            : pa_context_set_source_volume_by_name(context_, name.c_str(), &levels, nullptr,
                                                   nullptr);
    if (op) {
        pa_operation_unref(op);
    }
    // Seen at once by readers; the server's own report follows.
    std::lock_guard viewLock(viewMutex_);
    auto& list = direction == SoundDirection::Output ? view_.outputs : view_.inputs;
    for (SoundDeviceInfo& d : list) {
        if (d.name == name) {
            d.volume = volume;
        }
    }
}

void PulseConnection::setMuted(SoundDirection direction, const std::string& device, bool muted)
{
    if (!loop_) {
        return;
    }
    Lock lock(*this);
    std::uint8_t channels = 0;
    const std::string name = resolve(direction, device, channels);
    if (!readyContext() || name.empty()) {
        return;
    }
    pa_operation* op =
        direction == SoundDirection::Output
            ? pa_context_set_sink_mute_by_name(context_, name.c_str(), muted, nullptr, nullptr)
            : pa_context_set_source_mute_by_name(context_, name.c_str(), muted, nullptr, nullptr);
    if (op) {
        pa_operation_unref(op);
    }
}

SoundServer::SoundServer(const std::string& address, QObject* parent) : QObject(parent)
{
    connection_ = std::make_unique<PulseConnection>(address, [this] { emit changed(); });
    devices_ = std::make_unique<PulseSoundDevices>(*connection_);
}

SoundServer::~SoundServer()
{
    devices_.reset();
    connection_.reset();
}

SoundServerView SoundServer::view() const
{
    return connection_->view();
}

void SoundServer::setVolume(SoundDirection direction, const std::string& device,
                            std::uint32_t volume)
{
    connection_->setVolume(direction, device, volume);
}

void SoundServer::setMuted(SoundDirection direction, const std::string& device, bool muted)
{
    connection_->setMuted(direction, device, muted);
}

SoundDevices& SoundServer::devices()
{
    return *devices_;
}

}
