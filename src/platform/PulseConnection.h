#pragma once

// The libpulse context behind SoundServer; used by the sound server and its
// streams only.

#include "platform/SoundServer.h"

#include <pulse/pulseaudio.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace orvanta::platform {

class PulseConnection {
public:
    PulseConnection(std::string address, std::function<void()> changed);
    ~PulseConnection();
    PulseConnection(const PulseConnection&) = delete;
    PulseConnection& operator=(const PulseConnection&) = delete;

    SoundServerView view() const;
    // Blocks the calling thread (never the sound thread) until the server
    // is ready or known to be missing; false unless ready.
    bool waitUntilReady(std::chrono::milliseconds limit);

    void setVolume(SoundDirection direction, const std::string& device, std::uint32_t volume);
    void setMuted(SoundDirection direction, const std::string& device, bool muted);

    // libpulse calls from other threads happen under this lock; callbacks
    // already run with it held.
    class Lock {
    public:
        explicit Lock(PulseConnection& c) : loop_(c.loop_) { pa_threaded_mainloop_lock(loop_); }
        ~Lock() { pa_threaded_mainloop_unlock(loop_); }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        pa_threaded_mainloop* loop_;
    };
    // The live context, or null while there is none. Under the lock.
    pa_context* readyContext() const;
    int lastError() const;

private:
    void connect();
    void dropContext();
    void scheduleReconnect();
    void refresh();
    void partDone();
    void publishState(SoundServerState state);
    std::string resolve(SoundDirection direction, const std::string& device,
                        std::uint8_t& channels) const;

    static void onContextState(pa_context* context, void* self);
    static void onEvent(pa_context* context, pa_subscription_event_type_t type, std::uint32_t index,
                        void* self);
    static void onServerInfo(pa_context* context, const pa_server_info* info, void* self);
    static void onSinkInfo(pa_context* context, const pa_sink_info* info, int eol, void* self);
    static void onSourceInfo(pa_context* context, const pa_source_info* info, int eol, void* self);
    static void onRetry(pa_mainloop_api* api, pa_time_event* event, const struct timeval* tv,
                        void* self);

    const std::string address_;
    const std::function<void()> changed_;
    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    pa_time_event* retry_ = nullptr;

    // Built on the sound thread by one refresh; published when complete.
    SoundServerView building_;
    int partsPending_ = 0;
    bool refreshAgain_ = false;

    mutable std::mutex viewMutex_;
    std::condition_variable stateChanged_;
    SoundServerView view_;
};

}
