#pragma once

#include "session/EngineStarter.h"

namespace orvanta {

// What every engine start takes from the user's files: the network page's
// ports and STUN server (Network.bin), then the codec order (the codec
// file). Read at each start, so a change waits for the next one.
class SavedEngineSettings : public EngineStartSettings {
public:
    void beforeInit(Engine& engine) override;
    void applyCodecOrder(Engine& engine) override;
};

}
