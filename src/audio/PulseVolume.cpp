#include "audio/PulseVolume.h"

#include <algorithm>

namespace orvanta {

std::uint32_t toServerVolume(int value)
{
    const auto v = static_cast<std::uint64_t>(std::clamp(value, 0, kVolumeMaximum));
    return static_cast<std::uint32_t>((v * platform::kNormalVolume + kVolumeMaximum / 2) /
                                      kVolumeMaximum);
}

int fromServerVolume(std::uint32_t volume)
{
    const std::uint64_t v = (std::uint64_t{volume} * kVolumeMaximum + platform::kNormalVolume / 2) /
                            platform::kNormalVolume;
    return static_cast<int>(std::min<std::uint64_t>(v, kVolumeMaximum));
}

std::vector<PulseVolume*> CVolumeOutWave::instances_;
std::vector<PulseVolume*> CVolumeInXXX::instances_;

PulseVolume::PulseVolume(platform::SoundServer& server, platform::SoundDirection direction,
                         std::vector<PulseVolume*>& instances, const std::string& device)
        : server_(server), direction_(direction), instances_(instances), device_(device)
{
    instances_.push_back(this);
    lastValue_ = currentVolume();
    connect(&server_, &platform::SoundServer::changed, this, &PulseVolume::serverChanged);
}

PulseVolume::~PulseVolume()
{
    // The one made before takes over, rather than nobody.
    std::erase(instances_, this);
}

int PulseVolume::currentVolume() const
{
    const platform::SoundServerView view = server_.view();
    if (view.state != platform::SoundServerState::Ready) {
        return -1;
    }
    const platform::SoundDeviceInfo* info = view.find(direction_, device_);
    return info ? fromServerVolume(info->volume) : -1;
}

bool PulseVolume::IsAvailable() const
{
    return currentVolume() != -1;
}

void PulseVolume::EnableLine()
{
    if (IsAvailable()) {
        server_.setMuted(direction_, device_, false);
    }
}

void PulseVolume::DisableLine()
{
    if (IsAvailable()) {
        server_.setMuted(direction_, device_, true);
    }
}

int PulseVolume::GetSteps() const
{
    return IsAvailable() ? kVolumeMaximum + 1 : -1;
}

int PulseVolume::GetMinimum() const
{
    return IsAvailable() ? 0 : -1;
}

int PulseVolume::GetMaximum() const
{
    return IsAvailable() ? kVolumeMaximum : -1;
}

int PulseVolume::GetVolume() const
{
    return currentVolume();
}

void PulseVolume::SetVolume(int value)
{
    if (!IsAvailable() || value < 0 || value > kVolumeMaximum) {
        return;
    }
    // Our own change coming back from the server is no news.
    lastValue_ = value;
    server_.setVolume(direction_, device_, toServerVolume(value));
}

void PulseVolume::SetChangeCallback(ChangeCallback callback)
{
    callback_ = std::move(callback);
}

void PulseVolume::setDevice(const std::string& device)
{
    if (device == device_) {
        return;
    }
    device_ = device;
    serverChanged();
}

void PulseVolume::serverChanged()
{
    const int value = currentVolume();
    if (value == lastValue_) {
        return;
    }
    lastValue_ = value;
    if (value != -1 && instances_.back() == this && callback_) {
        callback_(*this, value);
    }
}

CVolumeOutWave::CVolumeOutWave(platform::SoundServer& server, const std::string& device)
        : PulseVolume(server, platform::SoundDirection::Output, instances_, device)
{
}

CVolumeInXXX::CVolumeInXXX(platform::SoundServer& server, const std::string& device)
        : PulseVolume(server, platform::SoundDirection::Input, instances_, device)
{
}

}
