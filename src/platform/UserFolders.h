#pragma once

#include <QString>

namespace orvanta::platform {

// The folder for recorded calls when the user has chosen none: "Orvanta" in
// the user's music folder, or "recordings" in the data folder when the user
// has no music folder. Created when missing; empty when it cannot be made.
QString defaultRecordingFolder();

}
