#pragma once

#include "platform/SoundDevices.h"

#include <QObject>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orvanta::platform {

enum class SoundServerState {
    Connecting,    // not answered yet
    Ready,         // devices and volumes known
    NotAvailable,  // no sound server (retried in the background)
};

enum class SoundDirection { Output, Input };

// Volumes in the server's units, where this is 100 %.
inline constexpr std::uint32_t kNormalVolume = 0x10000;

struct SoundDeviceInfo {
    std::string name;          // the server's stable name, kept in settings
    std::string description;   // what people read
    std::uint32_t volume = 0;  // first channel
    std::uint8_t channels = 0;
    bool muted = false;
};

// What the sound server holds, as last heard. Inputs leave out the monitors
// of outputs: nobody picks those as a microphone.
struct SoundServerView {
    SoundServerState state = SoundServerState::Connecting;
    std::vector<SoundDeviceInfo> outputs;
    std::vector<SoundDeviceInfo> inputs;
    std::string defaultOutput;
    std::string defaultInput;

    const std::vector<SoundDeviceInfo>& devices(SoundDirection direction) const
    {
        return direction == SoundDirection::Output ? outputs : inputs;
    }
    // The named device; an empty name means the default one.
    const SoundDeviceInfo* find(SoundDirection direction, const std::string& name) const;
};

class PulseConnection;

// The PulseAudio server (PipeWire serves the same interface), on a thread
// of its own. Nothing here waits for the server: construction starts the
// connection, changes arrive as changed(), requests are sent and not
// awaited. Everything opened through devices() must be closed before this
// object goes.
class SoundServer : public QObject {
    Q_OBJECT

public:
    // An empty address means the desktop's server.
    explicit SoundServer(const std::string& address = {}, QObject* parent = nullptr);
    ~SoundServer() override;

    SoundServerView view() const;

    // An empty device name means the default device.
    void setVolume(SoundDirection direction, const std::string& device, std::uint32_t volume);
    void setMuted(SoundDirection direction, const std::string& device, bool muted);

    SoundDevices& devices();

signals:
    // The state, the device list, a default device or a volume changed.
    // Emitted from the sound thread: connect receivers living elsewhere.
    void changed();

private:
    std::unique_ptr<PulseConnection> connection_;
    std::unique_ptr<SoundDevices> devices_;
};

}
