#pragma once

#include "audio/AudioRouting.h"
#include "audio/SoundProblem.h"

#include <QString>

namespace orvanta {

// The messages of the audio threads, as the user reads them.
QString soundProblemText(const SoundProblem& problem);

// The banner line for a chosen device that went missing or came back.
QString audioNoticeText(const AudioDeviceNotice& notice);

// A row of a device list: "System default", a device, or a chosen device
// that is not plugged in.
QString deviceEntryText(const DeviceEntry& entry);

}
