#pragma once

#include "settings/SettingsRecords.h"
#include "telephony/Engine.h"

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
    static constexpr int kStartsOwnPort = -1;
    int localSipPort = kStartsOwnPort;    // else the start's own (provisioned) port
    int firstMediaPort = kStartsOwnPort;  // else the registration's own
    QByteArray stunServer;                // empty: no STUN
    int stunPort = 0;
};

inline constexpr int kDefaultStunPort = 3478;

// A port the user set (1-65535) takes the place of the provisioned one; 0
// (an empty field) or a value out of range leaves the provisioned one. A
// STUN server without a port uses the standard STUN port.
EngineNetworkPlan planEngineNetwork(const NetworkRecord& record);

// The plan from Network.bin (what it holds before any failure).
EngineNetworkPlan engineNetworkPlan();

// Hands that plan to the engine's network entry points, for its next start.
// Every value is set each time, so a value the user cleared is gone too.
void applyNetworkSettings(Engine& engine);

}
