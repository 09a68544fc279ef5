#pragma once

#include "settings/SettingsRecords.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace orvanta {

enum class NetworkMessage { StunPortNotNumeric, SipPortNotNumeric };

enum class ConnectionSpeed { DialUp, Cable, FastCable, LocalAreaNetwork };

// Port texts pass through a copy of this many characters before they are
// converted: longer texts are cut.
inline constexpr qsizetype kPortTextLimit = 20;

// The network page's editing copy.
struct NetworkPageMembers {
    ConnectionSpeed speed = ConnectionSpeed::DialUp;  // never stored
    QString stunServer;
    QString stunPortText;
    QString sipPortText;
    QString mediaPortText;
};

// The network page: checks the two port texts and stores the four values in
// Network.bin.
class NetworkPageModel {
public:
    // The values of Network.bin; the speed back at its first choice.
    void load();

    NetworkPageMembers& members() { return members_; }
    const NetworkPageMembers& members() const { return members_; }
    bool applyEnabled() const { return applyEnabled_; }
    // Shown again: the speed is back at its first choice.
    void onShownOrHidden();
    void markChanged() { applyEnabled_ = true; }

    // "Apply": the first problem, or nothing when the values were stored.
    std::optional<NetworkMessage> apply();

private:
    NetworkPageMembers members_;
    bool applyEnabled_ = false;
};

// What the next engine start takes from Network.bin.
struct EngineNetworkPlan {
    int localSipPort = 0;    // 0: any free port
    int firstMediaPort = 0;  // 0: any
    QByteArray stunServer;   // empty: no STUN
    int stunPort = 0;
};

// The engine's network entry points, set before it starts.
class EngineNetworkPort {
public:
    virtual ~EngineNetworkPort() = default;
    virtual void setLocalSipPort(int port) = 0;
    virtual void setFirstMediaPort(int port) = 0;
    virtual void setStunServer(const QByteArray& host, int port) = 0;
};

inline constexpr int kDefaultStunPort = 3478;

// A port the user set (1-65535) wins over the provisioned one; 0 or a value
// out of range leaves the provisioned one. A STUN server without a port
// uses the standard STUN port.
EngineNetworkPlan planEngineNetwork(const NetworkRecord& record, int provisionedSipPort,
                                    int provisionedMediaPort);

// The plan from Network.bin (what it holds before any failure).
EngineNetworkPlan engineNetworkPlan(int provisionedSipPort, int provisionedMediaPort);

// Hands that plan to the engine's network entry points.
void applyNetworkSettings(EngineNetworkPort& engine, int provisionedSipPort,
                          int provisionedMediaPort);

}
