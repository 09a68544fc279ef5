#include "net/DeploymentSettings.h"

#include "platform/ConfigFolder.h"

#include <QFile>
#include <QUrl>
#include <filesystem>
#include <vector>

namespace orvanta {

namespace {

constexpr qint64 kMaxSettingsBytes = 64 * 1024;

bool isUsableUrl(const QString& text, bool httpsAllowed)
{
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme();
    return url.isValid() && !url.host().isEmpty() &&
           (scheme == QLatin1String("http") || (httpsAllowed && scheme == QLatin1String("https")));
}

}

QString deploymentSettingsPath(const QString& commandLinePath, const QString& executableFolder)
{
    if (!commandLinePath.isEmpty()) {
        return commandLinePath;
    }
    const QString fromEnvironment = qEnvironmentVariable("ORVANTA_DEPLOYMENT");
    if (!fromEnvironment.isEmpty()) {
        return fromEnvironment;
    }
    const std::filesystem::path name = "deployment.ini";
    const std::filesystem::path user = platform::userConfigFolder() / name;
    std::vector<std::filesystem::path> candidates{
        user, std::filesystem::path(executableFolder.toStdString()) / name};
    for (const std::filesystem::path& folder : platform::systemConfigFolders()) {
        candidates.push_back(folder / name);
    }
    for (const std::filesystem::path& candidate : candidates) {
        if (std::filesystem::exists(candidate)) {
            return QString::fromStdString(candidate.string());
        }
    }
    // None yet: the error names where the user's own would go.
    return QString::fromStdString(user.string());
}

DeploymentLoad loadDeploymentSettings(const QString& path)
{
    DeploymentLoad load;
    auto fail = [&](const QString& why) {
        load.error = QStringLiteral("Deployment settings %1: %2").arg(path, why);
        return load;
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return fail(file.errorString());
    }
    if (file.size() > kMaxSettingsBytes) {
        return fail(QStringLiteral("file larger than %1 bytes").arg(kMaxSettingsBytes));
    }
    DeploymentSettings settings;
    QString section;
    int lineNumber = 0;
    for (const QString& raw : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        ++lineNumber;
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) ||
            line.startsWith(QLatin1Char(';'))) {
            continue;
        }
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2).trimmed();
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0) {
            return fail(QStringLiteral("line %1 is not key=value").arg(lineNumber));
        }
        if (section != QLatin1String("service")) {
            continue;
        }
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (key == QLatin1String("provisioning_url")) {
            settings.provisioningUrl = value;
        } else if (key == QLatin1String("portal_url")) {
            settings.portalUrl = value;
        } else if (key == QLatin1String("webapi_url")) {
            settings.webApiUrl = value;
        } else if (key == QLatin1String("verify_tls")) {
            if (value != QLatin1String("true") && value != QLatin1String("false")) {
                return fail(QStringLiteral("verify_tls must be true or false"));
            }
            settings.verifyTls = value == QLatin1String("true");
        } else if (key == QLatin1String("request_timeout_ms")) {
            bool ok = false;
            const int timeout = value.toInt(&ok);
            if (!ok || timeout < 100 || timeout > 300000) {
                return fail(QStringLiteral("request_timeout_ms must be 100 to 300000"));
            }
            settings.requestTimeoutMs = timeout;
        }
    }
    const struct {
        const char* key;
        const QString& value;
        bool httpsAllowed;
    } required[] = {
        {"provisioning_url", settings.provisioningUrl, true},
        {"portal_url", settings.portalUrl, true},
        {"webapi_url", settings.webApiUrl, false},
    };
    for (const auto& entry : required) {
        if (entry.value.isEmpty()) {
            return fail(QStringLiteral("[service] %1 is missing").arg(QLatin1String(entry.key)));
        }
        if (!isUsableUrl(entry.value, entry.httpsAllowed)) {
            return fail(QStringLiteral("[service] %1 is not a usable address: %2")
                            .arg(QLatin1String(entry.key), entry.value));
        }
    }
    load.settings = settings;
    return load;
}

}
