#pragma once

#include "net/ProvisioningReply.h"
#include "telephony/Engine.h"

#include <QString>

namespace orvanta {

// The one way the engine is started for an account: callbacks, start,
// encryption, registration and codec order, from a provisioning reply.
// Everything that starts or stops the engine goes through here.
class EngineStarter {
public:
    explicit EngineStarter(Engine& engine) : engine_(engine) {}

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

private:
    Engine& engine_;
};

// The codec order without a codec file.
void ApplyCodecPriorities(Engine& engine);

}
