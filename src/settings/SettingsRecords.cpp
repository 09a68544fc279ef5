#include "settings/SettingsRecords.h"

#include "settings/CodecFile.h"

namespace orvanta {

std::vector<RecordKind> settingsRecordKinds()
{
    RecordKind codec{QLatin1String(kCodecRecordKind), recordFileNameOf(kCodecRecordKind),
                     [](RecordReader& reader, ListingArchive& archive) {
                         CodecLists lists;
                         visitCodecFile(reader, archive, lists);
                     }};
    return {plainRecordKind<ApplicationRecord>(kApplicationRecordKind), codec,
            plainRecordKind<NetworkRecord>("Network", QLatin1String(kNetworkFileName))};
}

}
