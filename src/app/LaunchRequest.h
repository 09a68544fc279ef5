#pragma once

#include "platform/InstanceChannel.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace orvanta {

// The request a start carries on its command line: an address to dial, or
// one of the commands for the running copy.
struct LaunchRequest {
    std::optional<platform::InstanceRequest> request;
    QString error;  // a usage error for standard error (exit status 2)
};

struct LaunchCommands {
    bool answer = false;
    bool hangUp = false;
    bool show = false;
};

LaunchRequest launchRequest(const LaunchCommands& commands, const QStringList& addresses);

}
