#include "audio/AudioDeviceChoice.h"

#include "records/RecordFile.h"

namespace orvanta {

namespace {

// What the device lists show: the state and each device's name and
// description.
std::vector<std::string> listing(const platform::SoundServerView& view)
{
    std::vector<std::string> rows{std::to_string(static_cast<int>(view.state))};
    for (const auto* list : {&view.outputs, &view.inputs}) {
        for (const platform::SoundDeviceInfo& d : *list) {
            rows.push_back(d.name + '\n' + d.description);
        }
        rows.emplace_back();
    }
    return rows;
}

ChosenDevice chosenFrom(const QString& name, const QString& description)
{
    const bool usable = !name.isEmpty() && name.size() <= AudioDeviceChoice::kMaxNameLength &&
                        description.size() <= AudioDeviceChoice::kMaxNameLength;
    if (!usable) {
        return {};
    }
    return {name.toStdString(), description.toStdString()};
}

}

AudioChoices choicesFromRecord(const AudioDeviceRecord& record)
{
    AudioChoices choices;
    choices[AudioRole::Input] = chosenFrom(record.inputDevice, record.inputDescription);
    choices[AudioRole::Output] = chosenFrom(record.outputDevice, record.outputDescription);
    choices[AudioRole::Ringer] = chosenFrom(record.ringerDevice, record.ringerDescription);
    return choices;
}

AudioDeviceRecord recordFromChoices(const AudioChoices& choices)
{
    auto text = [](const std::string& s) { return QString::fromStdString(s); };
    return {text(choices[AudioRole::Input].name),  text(choices[AudioRole::Input].description),
            text(choices[AudioRole::Output].name), text(choices[AudioRole::Output].description),
            text(choices[AudioRole::Ringer].name), text(choices[AudioRole::Ringer].description)};
}

AudioDeviceChoice::AudioDeviceChoice(platform::SoundServer& server, QObject* parent)
        : QObject(parent), server_(server)
{
    saver_.setMaxThreadCount(1);
    routes_ = initialRoutes(choices_);
    connect(&server_, &platform::SoundServer::changed, this, &AudioDeviceChoice::serverChanged);
    listed_ = listing(server_.view());
    reroute(routes_);
}

AudioDeviceChoice::~AudioDeviceChoice()
{
    saver_.waitForDone();
}

void AudioDeviceChoice::load()
{
    AudioDeviceRecord record;
    loadRecordFile(kAudioDeviceRecordKind, record);
    const AudioChoices saved = choicesFromRecord(record);
    const AudioRoutes previous = initialRoutes(saved);
    choices_ = saved;
    reroute(previous);
}

void AudioDeviceChoice::setChoices(const AudioChoices& choices)
{
    if (choices == choices_) {
        return;
    }
    // A role whose choice changed starts afresh, so a new pick that is not
    // plugged in is noticed.
    AudioRoutes previous = routes_;
    const AudioRoutes fresh = initialRoutes(choices);
    for (AudioRole role : kAudioRoles) {
        if (!(choices[role] == choices_[role])) {
            previous[static_cast<std::size_t>(role)] = routeOf(fresh, role);
        }
    }
    choices_ = choices;
    const AudioDeviceRecord record = recordFromChoices(choices_);
    saver_.start([record] { saveRecordFile(kAudioDeviceRecordKind, record); });
    reroute(previous);
}

void AudioDeviceChoice::serverChanged()
{
    reroute(routes_);
    std::vector<std::string> now = listing(server_.view());
    if (now != listed_) {
        listed_ = std::move(now);
        emit devicesChanged();
    }
}

void AudioDeviceChoice::reroute(const AudioRoutes& previous)
{
    const RoutingOutcome outcome = routeDevices(choices_, server_.view(), previous);
    const bool moved = outcome.routes != routes_;
    routes_ = outcome.routes;
    if (moved) {
        emit routesChanged();
    }
    for (const AudioDeviceNotice& n : outcome.notices) {
        emit notice(n);
    }
}

}
