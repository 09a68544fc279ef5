#pragma once

#include "platform/AutostartEntry.h"
#include "settings/DialerSettings.h"
#include "settings/EngineCodecs.h"
#include "settings/OptionsSheet.h"
#include "signin/SipAccounts.h"

#include <QString>

namespace orvanta {

class CallController;
class EngineStarter;
class Session;

// What the settings work with, all owned by the composition root.
struct SettingsFeatureParts {
    Engine& engine;
    EngineStarter& starter;
    Session& session;
    CallController& calls;
    CallLogAdjuster& callLog;
};

// The settings and the manual SIP accounts for the whole run: the live
// general options, the autostart entry, the eight accounts and the engine's
// codec entry points, and what the options sheet and the manual account
// dialog ask of the rest of the dialer.
class SettingsFeature : private RegistrationStatus, private ManualAccountSession {
public:
    SettingsFeature(const SettingsFeatureParts& parts, const QString& executablePath);
    SettingsFeature(const SettingsFeature&) = delete;
    SettingsFeature& operator=(const SettingsFeature&) = delete;

    DialerSettings& settings() { return settings_; }
    const DialerSettings& settings() const { return settings_; }
    SipAccounts& accounts() { return accounts_; }
    const platform::AutostartEntry& autostart() const { return autostart_; }
    ManualAccountSession& accountSession() { return *this; }
    OptionsSheetServices sheetServices();

    // The main window opens: the application file takes effect.
    void applyAtOpening();

private:
    // RegistrationStatus
    bool callsAllowed() const override;
    // ManualAccountSession
    void registerDefaultAccount(const SipAccountRecord& account) override;

    SettingsFeatureParts parts_;
    DialerSettings settings_;
    platform::AutostartEntry autostart_;
    SipAccounts accounts_;
    EngineCodecs codecs_;
};

}
