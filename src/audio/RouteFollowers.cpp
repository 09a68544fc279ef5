#include "audio/RouteFollowers.h"

namespace orvanta {

void followRoutes(AudioDeviceChoice& choice, VoiceTestThreads& threads)
{
    auto apply = [&choice, &threads] {
        threads.useDevices(choice.route(AudioRole::Input).device,
                           choice.route(AudioRole::Output).device);
    };
    apply();
    QObject::connect(&choice, &AudioDeviceChoice::routesChanged, &threads, apply);
}

void followRoute(AudioDeviceChoice& choice, AudioRole role, PulseVolume& control)
{
    auto apply = [&choice, role, &control] { control.setDevice(choice.route(role).device); };
    apply();
    QObject::connect(&choice, &AudioDeviceChoice::routesChanged, &control, apply);
}

}
