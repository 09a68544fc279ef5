#pragma once

#include "audio/AudioDeviceChoice.h"
#include "audio/PulseVolume.h"
#include "audio/VoiceTestThreads.h"

namespace orvanta {

// Keep these on the devices the routes name, now and whenever the routes
// move; each connection ends with the object that follows.
void followRoutes(AudioDeviceChoice& choice, VoiceTestThreads& threads);
void followRoute(AudioDeviceChoice& choice, AudioRole role, PulseVolume& control);

}
