#pragma once

#include "platform/SoundServer.h"

#include <array>
#include <string>
#include <vector>

namespace orvanta {

enum class AudioRole { Input, Output, Ringer };
inline constexpr std::array<AudioRole, 3> kAudioRoles{AudioRole::Input, AudioRole::Output,
                                                      AudioRole::Ringer};

platform::SoundDirection directionOf(AudioRole role);

// A device the user picked; an empty name is the system default.
struct ChosenDevice {
    std::string name;
    std::string description;

    bool operator==(const ChosenDevice&) const = default;
};

struct AudioChoices {
    std::array<ChosenDevice, 3> devices;

    ChosenDevice& operator[](AudioRole role) { return devices[static_cast<std::size_t>(role)]; }
    const ChosenDevice& operator[](AudioRole role) const
    {
        return devices[static_cast<std::size_t>(role)];
    }
    bool operator==(const AudioChoices&) const = default;
};

enum class RouteStatus {
    SystemDefault,  // nothing chosen
    Chosen,         // the chosen device is used (or assumed, until the server answers)
    FallenBack,     // the chosen device is missing: the system default serves
};

// Where one role's audio goes now; an empty device is the system default.
struct AudioRoute {
    std::string device;
    RouteStatus status = RouteStatus::SystemDefault;

    bool operator==(const AudioRoute&) const = default;
};
using AudioRoutes = std::array<AudioRoute, 3>;

inline const AudioRoute& routeOf(const AudioRoutes& routes, AudioRole role)
{
    return routes[static_cast<std::size_t>(role)];
}

enum class AudioNoticeKind { FellBack, Returned };

struct AudioDeviceNotice {
    AudioRole role = AudioRole::Output;
    AudioNoticeKind kind = AudioNoticeKind::FellBack;
    std::string description;  // of the chosen device
};

struct RoutingOutcome {
    AudioRoutes routes;
    std::vector<AudioDeviceNotice> notices;
};

// The routes before the server has said anything: the chosen devices.
AudioRoutes initialRoutes(const AudioChoices& choices);

// The routes for what the server holds now, and the notices for every
// chosen device that went missing or came back since the previous routes.
// While the server is not ready nothing is known: the routes stay.
RoutingOutcome routeDevices(const AudioChoices& choices, const platform::SoundServerView& view,
                            const AudioRoutes& previous);

// One row of a device list: the system default (empty device) first, then
// the server's devices, then the selected one if it is not plugged in.
struct DeviceEntry {
    std::string device;
    std::string description;
    bool connected = true;

    bool operator==(const DeviceEntry&) const = default;
};

std::vector<DeviceEntry> deviceEntries(AudioRole role, const platform::SoundServerView& view,
                                       const ChosenDevice& selected);

}
