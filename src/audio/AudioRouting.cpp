#include "audio/AudioRouting.h"

namespace orvanta {

platform::SoundDirection directionOf(AudioRole role)
{
    return role == AudioRole::Input ? platform::SoundDirection::Input
                                    : platform::SoundDirection::Output;
}

namespace {

bool present(const platform::SoundServerView& view, AudioRole role, const std::string& name)
{
    for (const platform::SoundDeviceInfo& d : view.devices(directionOf(role))) {
        if (d.name == name) {
            return true;
        }
    }
    return false;
}

}

AudioRoutes initialRoutes(const AudioChoices& choices)
{
    AudioRoutes routes;
    for (AudioRole role : kAudioRoles) {
        const ChosenDevice& chosen = choices[role];
        routes[static_cast<std::size_t>(role)] =
            chosen.name.empty() ? AudioRoute{} : AudioRoute{chosen.name, RouteStatus::Chosen};
    }
    return routes;
}

RoutingOutcome routeDevices(const AudioChoices& choices, const platform::SoundServerView& view,
                            const AudioRoutes& previous)
{
    RoutingOutcome outcome{previous, {}};
    if (view.state != platform::SoundServerState::Ready) {
        return outcome;
    }
    for (AudioRole role : kAudioRoles) {
        const ChosenDevice& chosen = choices[role];
        AudioRoute& route = outcome.routes[static_cast<std::size_t>(role)];
        const RouteStatus before = routeOf(previous, role).status;
        if (chosen.name.empty()) {
            route = {};
        } else if (present(view, role, chosen.name)) {
            route = {chosen.name, RouteStatus::Chosen};
            if (before == RouteStatus::FallenBack) {
                outcome.notices.push_back({role, AudioNoticeKind::Returned, chosen.description});
            }
        } else {
            route = {{}, RouteStatus::FallenBack};
            if (before != RouteStatus::FallenBack) {
                outcome.notices.push_back({role, AudioNoticeKind::FellBack, chosen.description});
            }
        }
    }
    return outcome;
}

std::vector<DeviceEntry> deviceEntries(AudioRole role, const platform::SoundServerView& view,
                                       const ChosenDevice& selected)
{
    std::vector<DeviceEntry> entries{{}};
    bool selectedListed = selected.name.empty();
    for (const platform::SoundDeviceInfo& d : view.devices(directionOf(role))) {
        entries.push_back({d.name, d.description, true});
        selectedListed = selectedListed || d.name == selected.name;
    }
    if (!selectedListed) {
        entries.push_back({selected.name, selected.description, false});
    }
    return entries;
}

}
