#include "audio/AudioPageModel.h"

#include <algorithm>

namespace orvanta {

AudioPageModel::AudioPageModel(AudioDeviceChoice& choice, QObject* parent)
        : QObject(parent), choice_(choice), editing_(choice.choices())
{
    // Devices plugged in or out while the page is open show up at once; the
    // selections stay.
    connect(&choice_, &AudioDeviceChoice::devicesChanged, this, &AudioPageModel::changed);
}

std::vector<DeviceEntry> AudioPageModel::entries(AudioRole role) const
{
    return deviceEntries(role, choice_.serverView(), editing_[role]);
}

int AudioPageModel::selectedIndex(AudioRole role) const
{
    const std::vector<DeviceEntry> list = entries(role);
    const auto found = std::find_if(list.begin(), list.end(), [&](const DeviceEntry& e) {
        return e.device == editing_[role].name;
    });
    return found == list.end() ? 0 : static_cast<int>(found - list.begin());
}

void AudioPageModel::shown()
{
    setApplyEnabled(false);
}

void AudioPageModel::hidden()
{
    setApplyEnabled(false);
}

void AudioPageModel::select(AudioRole role, int index)
{
    const std::vector<DeviceEntry> list = entries(role);
    if (index < 0 || index >= static_cast<int>(list.size())) {
        return;
    }
    const DeviceEntry& entry = list[static_cast<std::size_t>(index)];
    editing_[role] = {entry.device, entry.description};
    applyEnabled_ = true;
    emit changed();
}

void AudioPageModel::apply()
{
    choice_.setChoices(editing_);
    setApplyEnabled(false);
}

void AudioPageModel::ok()
{
    apply();
    emit finished(true);
}

void AudioPageModel::cancel()
{
    editing_ = choice_.choices();
    setApplyEnabled(false);
    emit finished(false);
}

void AudioPageModel::setApplyEnabled(bool enabled)
{
    applyEnabled_ = enabled;
    emit changed();
}

}
