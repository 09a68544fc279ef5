#pragma once

#include <QString>
#include <optional>

namespace orvanta {

// Where the operator's servers are: the deployment's settings file.
//   [service]
//   provisioning_url=https://host:port/
//   portal_url=https://host:port
//   webapi_url=http://host:port
//   verify_tls=false           (optional)
//   request_timeout_ms=15000   (optional; the time limit of each whole exchange)
struct DeploymentSettings {
    QString provisioningUrl;
    QString portalUrl;
    QString webApiUrl;
    bool verifyTls = false;
    int requestTimeoutMs = 15000;
};

struct DeploymentLoad {
    std::optional<DeploymentSettings> settings;
    QString error;  // names the file and what is wrong with it
};

DeploymentLoad loadDeploymentSettings(const QString& path);

// The settings file to use: the command line's, else $ORVANTA_DEPLOYMENT,
// else the first deployment.ini that exists in the user's settings folder,
// beside the executable, or in the machine's settings folders; with none,
// the one in the user's settings folder.
QString deploymentSettingsPath(const QString& commandLinePath, const QString& executableFolder);

}
