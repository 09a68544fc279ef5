#include "session/EngineStarter.h"

#include "telephony/EngineEvents.h"

namespace orvanta {

namespace {

class EngineDefaults : public EngineStartSettings {
public:
    void beforeInit(Engine&) override {}
    void applyCodecOrder(Engine&) override {}
};

}

EngineStartSettings& engineDefaults()
{
    static EngineDefaults defaults;
    return defaults;
}

int EngineStarter::startAccount(const ProvisioningReply& reply, const QString& sipUser,
                                const QString& sipPassword)
{
    const EngineConfiguration config = reply.engineConfiguration();
    startEngine(config);
    return registerSipAccount(engine_, config, sipUser, sipPassword);
}

void EngineStarter::startEngine(const EngineConfiguration& config)
{
    engine_.shutdown();
    engine_.setCallbacks(EngineEvents::callbacks());
    settings_.beforeInit(engine_);
    engine_.init(config.packetTime, config.sipPort);
    configureEncryption(engine_, config);
    settings_.applyCodecOrder(engine_);
}

}
