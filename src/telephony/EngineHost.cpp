#include "telephony/EngineHost.h"

namespace orvanta {

EngineHost::~EngineHost()
{
    shutdown();
}

bool EngineHost::load()
{
    return library_.isLoaded() || library_.load(path_);
}

void EngineHost::init(int packetTime, int sipPort)
{
    if (library_.isLoaded()) {
        library_.api().init(packetTime, sipPort);
        running_ = true;
    }
}

void EngineHost::shutdown()
{
    if (running_ && library_.isLoaded()) {
        library_.api().shutdown();
    }
    running_ = false;
}

bool EngineHost::reload()
{
    shutdown();
    return load();
}

}
