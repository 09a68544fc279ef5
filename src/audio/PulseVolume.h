#pragma once

#include "audio/IVolume.h"
#include "platform/SoundServer.h"

#include <QObject>
#include <cstdint>
#include <string>
#include <vector>

namespace orvanta {

inline constexpr int kVolumeMaximum = 65535;

// 0..65535 onto the server's 0..100 % and back; the two round-trip exactly,
// and volumes above 100 % read as the maximum.
std::uint32_t toServerVolume(int value);
int fromServerVolume(std::uint32_t volume);

// A volume control on one device of the sound server: the default one, or
// a chosen one. It is available while the server is there and the device
// exists, and follows both as they come and go. Of the live controls of one
// class only the newest hears of changes made elsewhere.
class PulseVolume : public QObject, public IVolume {
    Q_OBJECT

public:
    ~PulseVolume() override;

    bool IsAvailable() const override;
    void EnableLine() override;
    void DisableLine() override;
    int GetSteps() const override;
    int GetMinimum() const override;
    int GetMaximum() const override;
    int GetVolume() const override;
    void SetVolume(int value) override;
    void SetChangeCallback(ChangeCallback callback) override;

    // The device it controls; empty means the default one.
    void setDevice(const std::string& device);
    const std::string& device() const { return device_; }

protected:
    // instances: every live control of the calling class, oldest first.
    PulseVolume(platform::SoundServer& server, platform::SoundDirection direction,
                std::vector<PulseVolume*>& instances, const std::string& device);

private:
    void serverChanged();
    // The device's volume as last heard, or -1.
    int currentVolume() const;

    platform::SoundServer& server_;
    const platform::SoundDirection direction_;
    std::vector<PulseVolume*>& instances_;
    std::string device_;
    platform::SoundServerView view_;
    int lastValue_ = -1;
    ChangeCallback callback_;
};

// The speaker: the output device's volume.
class CVolumeOutWave : public PulseVolume {
    Q_OBJECT

public:
    explicit CVolumeOutWave(platform::SoundServer& server, const std::string& device = {});

private:
    static std::vector<PulseVolume*> instances_;
};

// The microphone: the input device's volume.
class CVolumeInXXX : public PulseVolume {
    Q_OBJECT

public:
    explicit CVolumeInXXX(platform::SoundServer& server, const std::string& device = {});
    // Switches the line on; switching it off does nothing, as a
    // microphone stays selected.
    void DisableLine() override {}

private:
    static std::vector<PulseVolume*> instances_;
};

}
