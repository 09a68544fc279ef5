#include "audio/AudioDeviceRecord.h"

namespace orvanta {

std::vector<RecordKind> audioRecordKinds()
{
    return {plainRecordKind<AudioDeviceRecord>(kAudioDeviceRecordKind)};
}

}
