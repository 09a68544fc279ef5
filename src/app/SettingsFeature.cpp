#include "app/SettingsFeature.h"

#include "session/EngineStarter.h"
#include "session/Session.h"
#include "telephony/CallController.h"

namespace orvanta {

SettingsFeature::SettingsFeature(const SettingsFeatureParts& parts, const QString& executablePath)
        : parts_(parts), autostart_(executablePath), codecs_(parts.engine)
{
    QObject::connect(
        &settings_, &DialerSettings::recordingFolderChanged, &settings_,
        [this](const QString& folder) { parts_.calls.features().setRecordingFolder(folder); });
}

OptionsSheetServices SettingsFeature::sheetServices()
{
    return OptionsSheetServices{settings_, autostart_, parts_.callLog, codecs_,
                                codecs_,   *this,      accounts_,      *this};
}

void SettingsFeature::applyAtOpening()
{
    applyApplicationFileAtStartup(settings_, autostart_);
}

bool SettingsFeature::callsAllowed() const
{
    return parts_.calls.state().callsAllowed;
}

// The engine starts again for the account, and every holder of the account
// follows the session. The provisioning's ports and timers still hold; its
// encryption is the operator's and means nothing to the account's server.
void SettingsFeature::registerDefaultAccount(const SipAccountRecord& account)
{
    Session& session = parts_.session;
    EngineConfiguration config =
        session.reply() ? session.reply()->engineConfiguration() : EngineConfiguration{};
    config.encryption = false;
    CallStateMachine& calls = parts_.calls.calls();
    calls.ResetLines();
    session.registrationStopped();
    parts_.starter.startEngine(config);
    const int handle = registerManualAccount(parts_.engine, account,
                                             {config.expiry, config.rtpPort, config.keepAlive});
    session.registrationStarted();
    session.accountReplaced(
        SipAccount{account.accountUser, account.accountPassword, account.accountRegistrar, handle});
    calls.SessionReady(account.accountUser);
}

}
