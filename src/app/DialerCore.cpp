#include "app/DialerCore.h"

#include "platform/NetworkState.h"
#include "records/RecordFile.h"

#include <QCoreApplication>

namespace orvanta {

namespace {

template <typename Client>
std::unique_ptr<Client> orReal(std::unique_ptr<Client> replacement,
                               const ServiceDirectory& services)
{
    return replacement ? std::move(replacement) : std::make_unique<Client>(services);
}

}

DialerCore::DialerCore(DeploymentSettings deployment, std::filesystem::path engineLibrary,
                       DialerNetwork network)
        : engine_(std::move(engineLibrary)), services_(std::move(deployment)),
          portal_(orReal(std::move(network.portal), services_)),
          provisioning_(orReal(std::move(network.provisioning), services_)),
          internetAvailable_(network.internetAvailable ? std::move(network.internetAvailable)
                                                       : std::function<bool()>([] {
                                                             return platform::isInternetConnected();
                                                         })),
          sounds_(player_, QCoreApplication::applicationDirPath().toStdString()),
          balance_(*portal_, session_),
          calls_(engine_, CallPorts{callView_, sounds_, timers_, callLog_, balance_, &audio_}),
          mainWindow_(MainWindowParts{session_, calls_, starter_, *portal_, *provisioning_,
                                      services_, balance_, events_,
                                      [this] { return internetAvailable_(); }})
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
}

DialerCore::~DialerCore()
{
    engine_.shutdown();
    player_.stop();
}

void DialerCore::start(const SignInRecord& saved, bool autoSignIn)
{
    session_.start(saved, autoSignIn);
    // Read here as well as by the sign-in dialog, so a start that skips the
    // dialog does not save an empty fail-over record over the real one.
    loadRecordFile(kFailoverRecordKind, session_.failover());
}

SignInParts DialerCore::signInParts(SignInMainWindow& mainWindow)
{
    return SignInParts{
        session_,  starter_, *portal_, *provisioning_, [this] { return internetAvailable_(); },
        mainWindow};
}

}
