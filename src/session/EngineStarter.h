#pragma once

#include "net/ProvisioningReply.h"
#include "telephony/Engine.h"
#include "telephony/EngineSetup.h"

#include <QString>

namespace orvanta {

// What the user's own settings add to every engine start.
class EngineStartSettings {
public:
    virtual ~EngineStartSettings() = default;
    // Before the engine starts: the network settings, which take the place
    // of the ports the start itself gives.
    virtual void beforeInit(Engine& engine) = 0;
    // Before the account registers: the codec order, so that its first call
    // already offers it.
    virtual void applyCodecOrder(Engine& engine) = 0;
};

// No settings of the user's: the engine keeps its own defaults.
EngineStartSettings& engineDefaults();

// The one way the engine is started for an account: callbacks, start,
// encryption, codec order and registration, from a provisioning reply.
// Everything that starts or stops the engine goes through here.
class EngineStarter {
public:
    explicit EngineStarter(Engine& engine, EngineStartSettings& settings = engineDefaults())
            : engine_(engine), settings_(settings)
    {
    }

    // Loads the library when needed; false when it is missing.
    bool load() { return engine_.load(); }
    bool isLoaded() const { return engine_.isLoaded(); }
    // Ready for a fresh start: a running engine stops.
    bool restart() { return engine_.restart(); }
    void stop() { engine_.shutdown(); }

    // Starts the engine afresh and registers sipUser; the engine's account
    // handle, or -1 when it refused.
    int startAccount(const ProvisioningReply& reply, const QString& sipUser,
                     const QString& sipPassword);
    // Starts the engine afresh, ready for an account to register: a
    // running engine stops first.
    void startEngine(const EngineConfiguration& config);

private:
    Engine& engine_;
    EngineStartSettings& settings_;
};

}
