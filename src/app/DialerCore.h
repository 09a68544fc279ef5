#pragma once

#include "app/AudioFeature.h"
#include "app/ServicesFeature.h"
#include "app/SettingsFeature.h"
#include "contacts/ContactStore.h"
#include "contacts/DialRequests.h"
#include "history/CallLog.h"
#include "mainwnd/BalanceModel.h"
#include "mainwnd/MainWindowModel.h"
#include "net/PortalClient.h"
#include "net/ProvisioningClient.h"
#include "net/ServiceDirectory.h"
#include "platform/SoundPlayer.h"
#include "session/EngineStarter.h"
#include "session/Session.h"
#include "settings/SavedEngineSettings.h"
#include "signin/SignInFlow.h"
#include "telephony/CallController.h"
#include "telephony/CallViewRelay.h"
#include "telephony/EngineEvents.h"
#include "telephony/EngineHost.h"
#include "telephony/PlayerCallSounds.h"
#include "telephony/QtCallTimers.h"

#include <QObject>
#include <filesystem>
#include <functional>
#include <memory>

namespace orvanta {

// Replacements for the network side (tests); each one left empty is the
// real thing.
struct DialerNetwork {
    std::unique_ptr<PortalClient> portal;
    std::unique_ptr<ProvisioningClient> provisioning;
    std::function<bool()> internetAvailable;
    ServiceClients services;
};

// The composition root, without a display: it owns the engine and its
// event bridge, the session, the service directory and clients, the
// contacts and the call log, the call handling with its sounds and timers,
// the settings and the main window's model. Windows get these parts in
// their constructors and own none of them. Members are declared in the
// order they depend on each other.
class DialerCore : public QObject, private DialRequests {
    Q_OBJECT

public:
    DialerCore(DeploymentSettings deployment, std::filesystem::path engineLibrary,
               DialerNetwork network = {});
    // Shutdown order: the engine stops before its event bridge goes.
    ~DialerCore() override;
    DialerCore(const DialerCore&) = delete;
    DialerCore& operator=(const DialerCore&) = delete;

    // Loads the engine library (once per run); false when it is missing.
    bool loadEngine() { return starter_.load(); }
    // The start-up's sign-in record: read before any window opens.
    void start(const SignInRecord& saved, bool autoSignIn);

    EngineHost& engine() { return engine_; }
    EngineEvents& events() { return events_; }
    EngineStarter& starter() { return starter_; }
    Session& session() { return session_; }
    ServiceDirectory& services() { return services_; }
    PortalClient& portal() { return *portal_; }
    ProvisioningClient& provisioning() { return *provisioning_; }
    CallController& calls() { return calls_; }
    CallViewRelay& callView() { return callView_; }
    ContactStore& contacts() { return contacts_; }
    CallLog& callLog() { return callLog_; }
    SettingsFeature& settings() { return settings_; }
    BalanceModel& balance() { return balance_; }
    ServicesFeature& accountServices() { return accountServices_; }
    MainWindowModel& mainWindow() { return mainWindow_; }
    platform::SoundPlayer& player() { return player_; }
    AudioFeature& audio() { return audio_; }
    const std::function<bool()>& internetAvailable() const { return internetAvailable_; }

    // Shows number (and the contact's name, when there is one) as the
    // entered number and places the call the way the call button does.
    void dial(const QString& number, const QString& contactName = {});
    // Answers the call offered on line (0-3) the way the call button does:
    // the line is selected first when it is not.
    void answerLine(int line);
    // What the contacts and recent-calls windows place their calls through.
    DialRequests& viewDialer() { return *this; }

    // What a sign-in dialog works with.
    SignInParts signInParts(SignInMainWindow& mainWindow);

    // Replaces the check of the network connection (tests).
    void setConnectivityCheck(std::function<bool()> check)
    {
        internetAvailable_ = std::move(check);
    }

private:
    // DialRequests
    bool selectedLineInUse() const override;
    bool callsAllowed() const override;
    void setPlacingCallFromView(bool placing) override;

    // First, so the sound server outlives everything that plays through it.
    AudioFeature audio_;
    EngineEvents events_;
    EngineHost engine_;
    SavedEngineSettings engineSettings_;
    EngineStarter starter_{engine_, engineSettings_};
    Session session_;
    ServiceDirectory services_;
    std::unique_ptr<PortalClient> portal_;
    std::unique_ptr<ProvisioningClient> provisioning_;
    std::function<bool()> internetAvailable_;
    platform::SoundPlayer player_;
    PlayerCallSounds sounds_;
    QtCallTimers timers_;
    ContactStore contacts_;
    CallLog callLog_;
    CallLogTrimmer callLogTrimmer_{callLog_};
    CallViewRelay callView_;
    BalanceModel balance_;
    ServicesFeature accountServices_;
    CallController calls_;
    MainWindowModel mainWindow_;
    SettingsFeature settings_;
};

}
