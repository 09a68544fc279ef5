#include "signin/SignInFlow.h"

#include "net/PortalClient.h"
#include "net/ProvisioningClient.h"
#include "records/RecordFile.h"
#include "session/EngineStarter.h"

namespace orvanta {

namespace {

SignInStatus statusOf(RegistrationFailure failure)
{
    switch (failure) {
    case RegistrationFailure::WrongCredentials:
    case RegistrationFailure::Forbidden:
        return SignInStatus::WrongCredentials;
    case RegistrationFailure::NotFound:
        return SignInStatus::UserNotFound;
    case RegistrationFailure::TimedOut:
        return SignInStatus::RequestTimeout;
    case RegistrationFailure::None:
        break;
    }
    return SignInStatus::None;
}

bool isRegistrationFailure(SignInStatus status)
{
    return status == SignInStatus::WrongCredentials || status == SignInStatus::UserNotFound ||
           status == SignInStatus::RequestTimeout;
}

}

void applyFailover(const QString& mode, const ProvisioningReply& reply, FailoverRecord& record)
{
    const qsizetype separator = reply.fports.indexOf(QLatin1Char(';'));
    const QString port1 = separator < 0 ? reply.fports : reply.fports.left(separator);
    const QString port2 = separator < 0 ? QString() : reply.fports.mid(separator + 1);
    if (mode == QLatin1String("firstip")) {
        record.altServerB = reply.fips;
        record.altPortB1 = port1;
        record.altPortB2 = port2;
    } else if (mode == QLatin1String("secondip") || mode == QLatin1String("failip")) {
        record.altServerB.clear();
        record.altPortB1.clear();
        record.altPortB2.clear();
        record.altServerA = reply.fips;
        record.altPortA1 = port1;
        record.altPortA2 = port2;
    }
}

SignInFlow::SignInFlow(SignInView& view, const SignInParts& parts, Mode mode, QObject* parent)
        : QObject(parent), view_(view), parts_(parts), mode_(mode)
{
    parts_.session.failover().spareFlag = false;
    protection_.invalidate();
    connect(&parts_.portal, &PortalClient::loginAnswered, this, &SignInFlow::onPortalAnswered);
    connect(&parts_.provisioning, &ProvisioningClient::provisioningAnswered, this,
            &SignInFlow::onProvisioningAnswered);
    connect(&parts_.session, &Session::registrationChanged, this,
            &SignInFlow::onRegistrationChanged);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (wait_ == Wait::Registration) {
            checkRegistration();
        } else if (wait_ == Wait::Restore) {
            finishRestore();
        }
    });
}

void SignInFlow::begin(int savePassword, const QString& reservedText, const QString& userName,
                       const QString& password)
{
    signUpOnly_ = false;
    reservedText_ = reservedText;
    parts_.session.setStage(SessionStage::SigningIn);
    loadRecordFile(kFailoverRecordKind, parts_.session.failover());
    view_.fillEdits(userName, password, savePassword);
}

bool SignInFlow::isValidUserName(const QString& user)
{
    static const QString forbidden = QStringLiteral("\\><\":][}|{` @^");
    for (QChar c : user) {
        if (forbidden.contains(c)) {
            return false;
        }
    }
    return true;
}

void SignInFlow::startWait(Wait wait)
{
    const bool started = wait_ == Wait::None;
    wait_ = wait;
    if (started) {
        view_.setWaiting(true);
    }
}

void SignInFlow::endWait()
{
    timer_.stop();
    if (wait_ != Wait::None) {
        wait_ = Wait::None;
        view_.setWaiting(false);
    }
}

void SignInFlow::setStatus(SignInStatus status)
{
    status_ = status;
    view_.setStatus(status);
}

void SignInFlow::signIn(const QString& typedUser, const QString& typedPassword, bool saveChecked)
{
    if (waiting()) {
        return;
    }
    signUpOnly_ = false;
    if (!parts_.internetAvailable()) {
        view_.showMessage(SignInMessage::InternetUnavailable);
        return;
    }
    if (typedUser.isEmpty() || typedPassword.isEmpty()) {
        view_.showMessage(SignInMessage::BlankCredentials);
        view_.setEditsEnabled(true);
        return;
    }
    if (!isValidUserName(typedUser)) {
        view_.showMessage(SignInMessage::InvalidUserName);
        return;
    }
    typedUser_ = typedUser;
    typedPassword_ = typedPassword;
    saveChecked_ = saveChecked;
    // Every sign-in, Account Login included, takes the SIP password from the
    // portal: the portal password the user types is not the SIP password.
    startWait(Wait::Portal);
    parts_.portal.requestLogin(typedUser_, typedPassword_);
}

void SignInFlow::onPortalAnswered(const std::optional<PortalAnswer>& answer)
{
    if (wait_ != Wait::Portal) {
        return;
    }
    if (!answer) {
        view_.showMessage(SignInMessage::PortalUnreachable);
    } else {
        for (const auto& [value, kept] : {std::pair{&answer->idClient, &portal_.idClient},
                                          std::pair{&answer->sipPassword, &portal_.sipPassword},
                                          std::pair{&answer->aid, &portal_.aid}}) {
            if (*value) {
                *kept = *value;
            }
        }
    }
    if (isRegistrationFailure(status_) || attemptDone_) {
        parts_.engine.restart();
    }
    if (anyFailure()) {
        parts_.engine.stop();
    }
    setStatus(SignInStatus::None);
    parts_.session.registrationStopped();
    view_.setEditsEnabled(false);
    setStatus(SignInStatus::Registering);
    provision();
}

void SignInFlow::provision()
{
    startWait(Wait::Provisioning);
    parts_.provisioning.requestProvisioning(protection_.body(), protection_.key());
}

void SignInFlow::onProvisioningAnswered(const QByteArray& text)
{
    if (wait_ != Wait::Provisioning) {
        return;
    }
    const std::optional<ProvisioningReply> reply =
        text.isEmpty() ? std::nullopt : ProvisioningReply::parse(text);
    if (!reply) {
        // An empty or unreadable reply: the service cannot be used now.
        endWait();
        view_.showMessage(SignInMessage::ServerError);
        view_.reject();
        parts_.mainWindow.quitApplication();
        return;
    }
    const bool signUpOnly = std::exchange(signUpOnly_, false);
    if (reply->status == QLatin1String("0") || reply->status == QLatin1String("2") ||
        reply->status == QLatin1String("3")) {
        endWait();
        setStatus(reply->status == QLatin1String("3") ? SignInStatus::InvalidDialer
                                                      : SignInStatus::InactiveDialer);
        view_.setEditsEnabled(true);
        return;
    }
    if (!reply->accepted()) {
        endWait();
        view_.setEditsEnabled(true);
        return;
    }
    if (mode_ == Mode::AccountLogin || !allFailures()) {
        parts_.engine.restart();
        failed403_ = failed401or408_ = failed404_ = false;
    }
    if (!parts_.engine.isLoaded()) {
        endWait();
        view_.showMessage(SignInMessage::EngineMissing);
        view_.setEditsEnabled(true);
        return;
    }
    applyFailover(failoverMode_, *reply, parts_.session.failover());
    if (signUpOnly) {
        endWait();
        if (!reply->signupUrl.isEmpty()) {
            view_.openUrl(reply->signupUrl);
        }
        return;
    }
    registerAccount(*reply);
}

void SignInFlow::registerAccount(const ProvisioningReply& reply)
{
    const QString sipPassword = sipPasswordFor(portal_, typedPassword_);
    const int handle = parts_.engine.startAccount(reply, typedUser_, sipPassword);
    parts_.session.registrationStarted();
    pendingAccount_ = {typedUser_, sipPassword, reply.registrarIp, handle};
    pendingReply_ = reply;
    checks_ = 0;
    startWait(Wait::Registration);
    timer_.start(kRegistrationCheckInterval);
}

void SignInFlow::checkRegistration()
{
    ++checks_;
    if (parts_.session.registrationState() == RegistrationState::Registered) {
        succeed();
        return;
    }
    if (checks_ >= kRegistrationChecks) {
        // Not confirmed in time: the dialog stays open; a late result may
        // still change the status.
        attemptDone_ = true;
        endWait();
    }
}

void SignInFlow::succeed()
{
    endWait();
    attemptDone_ = true;
    const SignInRecord credentials{saveChecked_ ? 1 : 0, reservedText_, typedUser_, typedPassword_};
    parts_.session.signedIn(credentials, pendingAccount_, *pendingReply_);
    view_.accept();
}

void SignInFlow::onRegistrationChanged(const RegistrationOutcome& outcome)
{
    // A final answer ends the wait for it at once.
    if (outcome.state == RegistrationState::Registered) {
        if (wait_ == Wait::Registration) {
            succeed();
        } else if (wait_ == Wait::Restore) {
            finishRestore();
        }
        return;
    }
    if (outcome.effect == RegistrationEffect::RestoreFailed) {
        restoreFailed_ = true;
        if (wait_ == Wait::Restore) {
            finishRestore();
        }
        return;
    }
    if (outcome.effect != RegistrationEffect::SignInFailed) {
        return;
    }
    switch (outcome.failure) {
    case RegistrationFailure::Forbidden:
        failed403_ = true;
        break;
    case RegistrationFailure::WrongCredentials:
    case RegistrationFailure::TimedOut:
        failed401or408_ = true;
        break;
    case RegistrationFailure::NotFound:
        failed404_ = true;
        break;
    case RegistrationFailure::None:
        break;
    }
    setStatus(statusOf(outcome.failure));
    view_.setEditsEnabled(true);
    if (wait_ == Wait::Registration) {
        // The registrar has answered: nothing is left to wait for.
        attemptDone_ = true;
        endWait();
    }
}

void SignInFlow::close()
{
    if (waiting()) {
        return;
    }
    if (mode_ == Mode::StartUp) {
        view_.reject();
        return;
    }
    restore();
}

// Account Login closed without a new sign-in: the account the main window
// signed in with registers again, with the SIP password that registered it
// before, whatever this dialog's attempts left behind.
void SignInFlow::restore()
{
    Session& session = parts_.session;
    parts_.engine.restart();
    session.setStage(SessionStage::Restoring);
    restoreFailed_ = false;
    setStatus(SignInStatus::None);
    const SignInRecord& credentials = session.credentials();
    view_.fillEdits(credentials.userName, credentials.password, credentials.savePassword);
    if (session.reply()) {
        const SipAccount& account = session.account();
        const int handle =
            parts_.engine.startAccount(*session.reply(), account.user, account.password);
        session.registrationStarted();
        session.reregistered(handle);
    }
    parts_.mainWindow.showMainWindow();
    startWait(Wait::Restore);
    timer_.start(kRestoreWait);
}

void SignInFlow::finishRestore()
{
    endWait();
    view_.reject();
    if (restoreFailed_) {
        view_.showMessage(SignInMessage::RestoreFailed);
        parts_.mainWindow.quitApplication();
    }
}

void SignInFlow::signUp()
{
    if (waiting()) {
        return;
    }
    signUpOnly_ = true;
    provision();
}

}
