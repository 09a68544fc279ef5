#pragma once

#include "records/RecordDump.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace orvanta {

inline constexpr const char* kApplicationRecordKind = "application";
inline constexpr const char* kCodecRecordKind = "codec";
// Kept in the data folder like every record file, under its own name.
inline constexpr const char* kNetworkFileName = "Network.bin";

// application_Orvanta.bin: the general page's options. Only 1 counts as on.
struct ApplicationRecord {
    std::int32_t alwaysOnTop = 0;
    std::int32_t confirmOnClose = 0;
    std::int32_t launchAtStart = 0;
    QString numberOfCalls;    // decimal text
    QString recordingFolder;  // full path

    template <typename Archive>
    void visit(Archive& a)
    {
        a.field("alwaysOnTop", alwaysOnTop);
        a.field("confirmOnClose", confirmOnClose);
        a.field("launchAtStart", launchAtStart);
        a.field("numberOfCalls", numberOfCalls);
        a.field("recordingFolder", recordingFolder);
    }
};

// Network.bin: the network page's ports and STUN server.
struct NetworkRecord {
    std::int32_t localSipPort = 0;
    std::int32_t stunPort = 0;
    std::int32_t mediaPort = 0;  // the first media port
    QString stunServer;

    template <typename Archive>
    void visit(Archive& a)
    {
        a.field("localSipPort", localSipPort);
        a.field("stunPort", stunPort);
        a.field("mediaPort", mediaPort);
        a.field("stunServer", stunServer);
    }
};

// The application, codec and network files, for orvanta-records.
std::vector<RecordKind> settingsRecordKinds();

}
