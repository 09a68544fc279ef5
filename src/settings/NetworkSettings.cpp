#include "settings/NetworkSettings.h"

#include "records/RecordFile.h"
#include "settings/DecimalText.h"

namespace orvanta {

namespace {

constexpr int kHighestPort = 65535;

std::int32_t portValue(const QString& text)
{
    return leadingDecimalValue(text.left(kPortTextLimit));
}

bool isPort(std::int32_t value)
{
    return value >= 1 && value <= kHighestPort;
}

}

void NetworkPageModel::load()
{
    members_ = NetworkPageMembers{};
    applyEnabled_ = false;
    NetworkRecord record;
    // A short file leaves every field empty, as no file does.
    if (!loadDataFile(QLatin1String(kNetworkFileName), record).complete) {
        return;
    }
    members_.sipPortText = QString::number(record.localSipPort);
    members_.stunPortText = QString::number(record.stunPort);
    members_.mediaPortText = QString::number(record.mediaPort);
    members_.stunServer = record.stunServer;
}

void NetworkPageModel::onShownOrHidden()
{
    members_.speed = ConnectionSpeed::DialUp;
    applyEnabled_ = false;
}

std::optional<NetworkMessage> NetworkPageModel::apply()
{
    if (firstNonDigit(members_.stunPortText)) {
        return NetworkMessage::StunPortNotNumeric;
    }
    if (firstNonDigit(members_.sipPortText)) {
        return NetworkMessage::SipPortNotNumeric;
    }
    NetworkRecord record;
    record.stunServer = members_.stunServer;
    record.stunPort = portValue(members_.stunPortText);
    record.localSipPort = portValue(members_.sipPortText);
    record.mediaPort = portValue(members_.mediaPortText);
    applyEnabled_ = false;
    saveDataFile(QLatin1String(kNetworkFileName), record);
    return std::nullopt;
}

EngineNetworkPlan planEngineNetwork(const NetworkRecord& record)
{
    EngineNetworkPlan plan;
    if (isPort(record.localSipPort)) {
        plan.localSipPort = record.localSipPort;
    }
    if (isPort(record.mediaPort)) {
        plan.firstMediaPort = record.mediaPort;
    }
    const QString server = record.stunServer.trimmed();
    if (!server.isEmpty()) {
        plan.stunServer = server.toUtf8();
        plan.stunPort = isPort(record.stunPort) ? record.stunPort : kDefaultStunPort;
    }
    return plan;
}

EngineNetworkPlan engineNetworkPlan()
{
    NetworkRecord record;
    loadDataFile(QLatin1String(kNetworkFileName), record);
    return planEngineNetwork(record);
}

void applyNetworkSettings(Engine& engine)
{
    const EngineNetworkPlan plan = engineNetworkPlan();
    engine.setLocalSipPort(plan.localSipPort);
    engine.setFirstMediaPort(plan.firstMediaPort);
    // A server the engine cannot use (a typed "host:port", a blank inside)
    // must not leave an earlier one in place.
    if (engine.setStunServer(plan.stunServer.constData(), plan.stunPort) != 0) {
        engine.setStunServer("", 0);
    }
}

}
