#include "mainwnd/MainWindowModel.h"

#include "mainwnd/BalanceModel.h"
#include "net/ProvisioningClient.h"
#include "net/ServiceDirectory.h"
#include "records/RecordFile.h"
#include "session/EngineStarter.h"
#include "session/Session.h"
#include "telephony/CallController.h"
#include "telephony/EngineEvents.h"

namespace orvanta {

MainWindowModel::MainWindowModel(const MainWindowParts& parts, QObject* parent)
        : QObject(parent), parts_(parts),
          commands_([this](unsigned needs) { return passes(needs); })
{
    connect(&parts_.portal, &PortalClient::loginAnswered, this, &MainWindowModel::onPortalAnswered);
    connect(&parts_.provisioning, &ProvisioningClient::provisioningAnswered, this,
            &MainWindowModel::onProvisioningAnswered);
    connect(&parts_.session, &Session::registrationChanged, this,
            &MainWindowModel::onRegistrationChanged);
    connect(&parts_.events, &EngineEvents::messageReceived, this,
            [this](const QString& sender, const QString& text) {
                // No message window exists: the banner shows the last one.
                if (view_ && running()) {
                    view_->showIncomingMessage(callerNumber(sender), text.left(kShownMessage));
                }
            });
    internetTimer_.setInterval(kInternetCheck);
    connect(&internetTimer_, &QTimer::timeout, this,
            [this] { parts_.calls.internet().check(parts_.connectivity()); });
    pauseTimer_.setSingleShot(true);
    connect(&pauseTimer_, &QTimer::timeout, this, &MainWindowModel::afterAccountLoginPause);
}

void MainWindowModel::show(MainMessage message)
{
    if (view_) {
        view_->showMessage(message);
    }
}

bool MainWindowModel::passes(unsigned needs)
{
    const PhoneState& phone = parts_.calls.state();
    const Refusal refusal = refusalFor(
        needs, {phone.callsAllowed, parts_.calls.selectedLineInUse(), phone.internetAvailable,
                waiting_ || phone.messageBoxOpen || placingCallFromView_});
    switch (refusal) {
    case Refusal::None:
        return true;
    case Refusal::NotRegistered:
        show(MainMessage::NotRegistered);
        break;
    case Refusal::CallInProgress:
        show(MainMessage::CallInProgress);
        break;
    case Refusal::Silent:
        break;
    }
    return false;
}

void MainWindowModel::open()
{
    emit opening();
    opened_ = true;
    emit opened();
    parts_.session.setStage(SessionStage::MainWindow);
    parts_.calls.calls().ResetLines();
    internetTimer_.start();
    if (parts_.session.autoSignIn()) {
        signInSavedAccount();
        return;
    }
    ready();
}

// A start from the saved record: the window asks the portal and the
// provisioning server itself and registers the saved account.
void MainWindowModel::signInSavedAccount()
{
    const SignInRecord& saved = parts_.session.credentials();
    fetch_ = Fetch::Portal;
    parts_.portal.requestLogin(saved.userName, saved.password);
}

void MainWindowModel::onPortalAnswered(const std::optional<PortalAnswer>& answer)
{
    if (fetch_ != Fetch::Portal) {
        return;
    }
    portalAnswer_ = answer.value_or(PortalAnswer{});
    fetch_ = Fetch::Provisioning;
    protection_.invalidate();
    parts_.provisioning.requestProvisioning(protection_.body(), protection_.key());
}

void MainWindowModel::onProvisioningAnswered(const QByteArray& text)
{
    if (fetch_ != Fetch::Provisioning || finished_) {
        return;
    }
    fetch_ = Fetch::None;
    QTimer::singleShot(kSavedAccountCheck, this, &MainWindowModel::checkSavedAccountConfirmed);
    const std::optional<ProvisioningReply> reply =
        text.isEmpty() ? std::nullopt : ProvisioningReply::parse(text);
    if (!reply) {
        show(MainMessage::CheckInternet);
        return;
    }
    if (!reply->accepted()) {
        if (view_ && (reply->status == QLatin1String("0") || reply->status == QLatin1String("2"))) {
            view_->showDialerStatus(DialerStatus::InactiveDialer);
        } else if (view_ && reply->status == QLatin1String("3")) {
            view_->showDialerStatus(DialerStatus::InvalidDialer);
        }
        return;
    }
    Session& session = parts_.session;
    const SignInRecord saved = session.credentials();
    const QString sipPassword = sipPasswordFor(portalAnswer_, saved.password);
    const int handle = parts_.engine.startAccount(*reply, saved.userName, sipPassword);
    session.registrationStarted();
    session.signedIn(saved, {saved.userName, sipPassword, reply->registrarIp, handle}, *reply);
    ready();
}

void MainWindowModel::ready()
{
    Session& session = parts_.session;
    if (view_ && session.reply()) {
        view_->showProvisionedTexts(session.reply()->header, session.reply()->footer);
    }
    parts_.balance.QueryBalance();
    parts_.calls.calls().SessionReady(session.userName());
}

void MainWindowModel::checkSavedAccountConfirmed()
{
    // Only a start from the saved record is checked; Account Login ends it.
    if (finished_ || !parts_.session.autoSignIn() ||
        parts_.session.registrationState() == RegistrationState::Registered) {
        return;
    }
    // Not confirmed in time. Only a registrar that refused the credentials
    // makes the next start ask for the password; a server or network fault
    // keeps it, so a blip does not cost the user their saved sign-in.
    const RegistrationFailure failure = parts_.session.registrationFailure();
    if (failure == RegistrationFailure::WrongCredentials ||
        failure == RegistrationFailure::Forbidden || failure == RegistrationFailure::NotFound) {
        SignInRecord fallback = parts_.session.credentials();
        fallback.savePassword = 0;
        saveRecordFile(kSignInRecordKind, fallback.forSaving());
    }
    finish();
}

void MainWindowModel::onRegistrationChanged(const RegistrationOutcome& outcome)
{
    switch (outcome.effect) {
    case RegistrationEffect::MainWindowClosed:
        closeOnRefusal(outcome.failure);
        break;
    case RegistrationEffect::BothClosed:
        show(outcome.failure == RegistrationFailure::TimedOut ? MainMessage::RequestTimedOut
                                                              : MainMessage::WrongCredentials);
        closeBothRequested_ = true;
        break;
    default:
        break;
    }
}

void MainWindowModel::closeOnRefusal(RegistrationFailure failure)
{
    if (finished_) {
        return;
    }
    show(failure == RegistrationFailure::TimedOut ? MainMessage::RequestTimedOut
                                                  : MainMessage::WrongCredentials);
    if (parts_.session.autoSignIn()) {
        checkSavedAccountConfirmed();
    } else {
        quitNow();
    }
}

void MainWindowModel::accountLogin()
{
    Session& session = parts_.session;
    parts_.engine.stop();
    session.registrationStopped();
    session.leaveAutoSignIn();
    session.setStage(SessionStage::AccountLoginPause);
    closeBothRequested_ = false;
    waiting_ = true;
    if (view_) {
        view_->setWaiting(true);
    }
    pauseTimer_.start(kAccountLoginPause);
}

void MainWindowModel::afterAccountLoginPause()
{
    waiting_ = false;
    if (view_) {
        view_->setWaiting(false);
    }
    if (closeBothRequested_) {
        quitNow();
        return;
    }
    if (openAccountLogin_) {
        openAccountLogin_();
    }
}

void MainWindowModel::accountLoginFinished(bool signedIn)
{
    if (finished_) {
        return;
    }
    parts_.session.setStage(SessionStage::MainWindow);
    if (signedIn) {
        ready();
    }
}

void MainWindowModel::openMyAccount()
{
    if (passes(kRegistered) && view_) {
        view_->openUrl(parts_.services.myAccountsUrl());
    }
}

void MainWindowModel::openRecharge()
{
    const QString& page = parts_.services.rechargeUrl();
    if (page.isEmpty()) {
        show(MainMessage::RechargeUnavailable);
        return;
    }
    if (view_) {
        view_->openUrl(page);
    }
}

void MainWindowModel::requestQuit(bool fromWindowClose)
{
    if (finished_ || waiting_) {
        return;
    }
    if (parts_.calls.checkQuit() != CallController::QuitCheck::Confirm) {
        return;
    }
    if (view_) {
        view_->showDialPanel();
        if (!view_->confirmQuit(fromWindowClose)) {
            return;
        }
    }
    quitNow();
}

void MainWindowModel::quitNow()
{
    if (finished_) {
        return;
    }
    saveRecords();
    finish();
}

void MainWindowModel::saveRecords()
{
    emit savingRecords();
    const Session& session = parts_.session;
    SignInRecordWithAccount record;
    record.header = session.credentials().forSaving();
    record.account =
        makeAccountBlock(session.credentials(), firstAccount_ ? firstAccount_() : FirstAccount{});
    saveRecordFile(kSignInRecordKind, record);
    saveRecordFile(kFailoverRecordKind, session.failover());
}

void MainWindowModel::finish()
{
    finished_ = true;
    fetch_ = Fetch::None;
    internetTimer_.stop();
    pauseTimer_.stop();
    waiting_ = false;
    parts_.session.setStage(SessionStage::Ended);
    parts_.engine.stop();
    parts_.session.registrationStopped();
    emit ended();
}

}
