#include "session/Session.h"

namespace orvanta {

QString sipPasswordFor(const PortalAnswer& portal, const QString& typedPassword)
{
    return portal.sipPassword ? QString::fromUtf8(*portal.sipPassword) : typedPassword;
}

void Session::start(const SignInRecord& saved, bool autoSignIn)
{
    credentials_ = saved;
    autoSignIn_ = autoSignIn;
    stage_ = autoSignIn ? SessionStage::MainWindow : SessionStage::SigningIn;
}

void Session::signedIn(const SignInRecord& credentials, const SipAccount& account,
                       const ProvisioningReply& reply)
{
    credentials_ = credentials;
    account_ = account;
    reply_ = reply;
    emit provisioningChanged();
    emit accountChanged();
}

void Session::reregistered(int handle)
{
    account_.handle = handle;
    emit accountChanged();
}

void Session::accountReplaced(const SipAccount& account)
{
    account_ = account;
    emit accountChanged();
}

void Session::registrationStarted()
{
    registration_ = {RegistrationState::Registering, RegistrationFailure::None,
                     RegistrationEffect::None};
}

void Session::registrationStopped()
{
    registration_ = {};
}

void Session::onRegistrationResult(int sipCode)
{
    const std::optional<RegistrationOutcome> outcome = registrationOutcome(sipCode, stage_);
    if (!outcome) {
        return;
    }
    registration_ = *outcome;
    emit registrationChanged(*outcome);
}

}
