#include "app/DialerCore.h"

#include "app/Replaceable.h"
#include "platform/InstallLayout.h"
#include "platform/NetworkState.h"
#include "records/RecordFile.h"

#include <QCoreApplication>

namespace orvanta {

DialerCore::DialerCore(DeploymentSettings deployment, std::filesystem::path engineLibrary,
                       DialerNetwork network)
        : engine_(std::move(engineLibrary)), services_(std::move(deployment)),
          portal_(orReal(std::move(network.portal), services_)),
          provisioning_(orReal(std::move(network.provisioning), services_)),
          internetAvailable_(network.internetAvailable ? std::move(network.internetAvailable)
                                                       : std::function<bool()>([] {
                                                             return platform::isInternetConnected();
                                                         })),
          sounds_(player_,
                  platform::soundFolderFor(QCoreApplication::applicationDirPath().toStdString())),
          callLog_(CallLog::Sources{
              [this](const QString& number) { return contacts_.book().nameForNumber(number); },
              [this] { return settings_.settings().numberOfCalls(); }}),
          balance_(*portal_, session_),
          accountServices_(services_, session_, balance_, std::move(network.services)),
          calls_(engine_, CallPorts{callView_, sounds_, timers_, callLog_, balance_, &audio_}),
          mainWindow_(MainWindowParts{session_, calls_, starter_, *portal_, *provisioning_,
                                      services_, balance_, events_,
                                      [this] { return internetAvailable_(); }}),
          settings_(SettingsFeatureParts{engine_, starter_, session_, calls_, callLogTrimmer_},
                    QCoreApplication::applicationFilePath())
{
    timers_.setTickHandler([this](int line) { calls_.calls().tickLine(line); });
    calls_.attach(events_);
    connect(&events_, &EngineEvents::registrationState, &session_, &Session::onRegistrationResult);
    // Every holder of the account and the user name follows the session.
    connect(&session_, &Session::accountChanged, this, [this] {
        const SipAccount& account = session_.account();
        calls_.useAccount(account.handle, account.registrarHost, session_.userName());
    });
    connect(&session_, &Session::provisioningChanged, this, [this] {
        if (session_.reply()) {
            services_.takeProvisioning(*session_.reply());
        }
    });
    connect(&mainWindow_, &MainWindowModel::ended, this, [this] { player_.stop(); });
    connect(&mainWindow_, &MainWindowModel::opening, this, [this] { settings_.applyAtOpening(); });
    // The stores reach their files before the sign-in records are written.
    connect(&mainWindow_, &MainWindowModel::savingRecords, this, [this] {
        contacts_.saveAndWait();
        callLog_.saveAndWait();
    });
    mainWindow_.setFirstAccountSource([this] { return settings_.accounts().firstAccount(); });
}

DialerCore::~DialerCore()
{
    engine_.shutdown();
    player_.stop();
}

void DialerCore::start(const SignInRecord& saved, bool autoSignIn)
{
    session_.start(saved, autoSignIn);
    // Contacts first: the call log names its calls after them.
    contacts_.load();
    callLog_.load();
    // Read here as well as by the sign-in dialog, so a start that skips the
    // dialog does not save an empty fail-over record over the real one.
    loadRecordFile(kFailoverRecordKind, session_.failover());
}

void DialerCore::dial(const QString& number, const QString& contactName)
{
    calls_.state().number = number;
    callView_.setNumberDisplay(number);
    if (!contactName.isEmpty()) {
        callView_.setContactName(contactName);
    }
    calls_.entry().MakeCall();
}

void DialerCore::answerLine(int line)
{
    if (line < 0 || line >= PhoneState::kCallLines || !calls_.state().line(line).incoming()) {
        return;
    }
    if (line != calls_.state().currentLine) {
        calls_.lines().SelectLine(line);
    }
    calls_.entry().MakeCall();
}

bool DialerCore::selectedLineInUse() const
{
    return calls_.selectedLineInUse();
}

bool DialerCore::callsAllowed() const
{
    return calls_.state().callsAllowed;
}

void DialerCore::setPlacingCallFromView(bool placing)
{
    mainWindow_.setPlacingCallFromView(placing);
}

SignInParts DialerCore::signInParts(SignInMainWindow& mainWindow)
{
    return SignInParts{
        session_,  starter_, *portal_, *provisioning_, [this] { return internetAvailable_(); },
        mainWindow};
}

}
