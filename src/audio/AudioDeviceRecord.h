#pragma once

#include "records/RecordDump.h"

#include <QString>
#include <vector>

namespace orvanta {

// audio_Orvanta.bin: the devices the user chose for the microphone, the
// speaker and the ringer. An empty name means the system default; the
// description is kept to name a device that is not plugged in.
struct AudioDeviceRecord {
    QString inputDevice;
    QString inputDescription;
    QString outputDevice;
    QString outputDescription;
    QString ringerDevice;
    QString ringerDescription;

    template <typename Archive>
    void visit(Archive& a)
    {
        a.field("inputDevice", inputDevice);
        a.field("inputDescription", inputDescription);
        a.field("outputDevice", outputDevice);
        a.field("outputDescription", outputDescription);
        a.field("ringerDevice", ringerDevice);
        a.field("ringerDescription", ringerDescription);
    }
};

inline constexpr const char* kAudioDeviceRecordKind = "audio";

// For orvanta-records.
std::vector<RecordKind> audioRecordKinds();

}
