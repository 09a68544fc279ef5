#include "settings/SavedEngineSettings.h"

#include "settings/EngineCodecs.h"
#include "settings/NetworkSettings.h"

namespace orvanta {

void SavedEngineSettings::beforeInit(Engine& engine)
{
    applyNetworkSettings(engine);
}

void SavedEngineSettings::applyCodecOrder(Engine& engine)
{
    EngineCodecs codecs(engine);
    ApplyCodecPriorities(codecs);
}

}
