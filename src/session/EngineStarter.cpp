#include "session/EngineStarter.h"

#include "telephony/EngineEvents.h"
#include "telephony/EngineSetup.h"

namespace orvanta {

int EngineStarter::startAccount(const ProvisioningReply& reply, const QString& sipUser,
                                const QString& sipPassword)
{
    const EngineConfiguration config = reply.engineConfiguration();
    engine_.shutdown();
    engine_.setCallbacks(EngineEvents::callbacks());
    engine_.init(config.packetTime, config.sipPort);
    configureEncryption(engine_, config);
    // Codecs before the account, so its first call already offers them.
    ApplyCodecPriorities(engine_);
    return registerSipAccount(engine_, config, sipUser, sipPassword);
}

void ApplyCodecPriorities(Engine& engine)
{
    engine.setCodecPriority("G729/8000/1", 255);
    engine.setCodecPriority("G723/8000/1", 0);
    engine.setCodecPriority("PCMU/8000/1", 0);
    engine.setCodecPriority("PCMA/8000/1", 0);
}

}
