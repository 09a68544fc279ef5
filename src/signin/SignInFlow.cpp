#include "signin/SignInFlow.h"

#include "telephony/EngineEvents.h"
#include "telephony/EngineSetup.h"

namespace orvanta {

namespace {

constexpr int kRegistrationChecks = 5;
constexpr std::chrono::milliseconds kRegistrationCheckInterval{500};
constexpr std::chrono::milliseconds kRestoreWait{3000};

const QString kRegistering = QStringLiteral("Registering...Please wait");
const QString kWrongCredentials = QStringLiteral("Wrong Username/Password");
const QString kUserNotFound = QStringLiteral("User Not Found");
const QString kRequestTimeout = QStringLiteral("Request Timeout");
const QString kInactive = QStringLiteral("Inactive Dialer");
const QString kInvalid = QStringLiteral("Invalid Dialer");

bool isRegistrationFailureText(const QString& text)
{
    return text == kWrongCredentials || text == kUserNotFound || text == kRequestTimeout;
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

SignInFlow::SignInFlow(SignInView& view, SignInMainWindow& mainWindow, SignInServices services,
                       EngineHost& engine, EngineEvents& events, SignInFlags& flags,
                       MainWindowFlags& mainFlags)
        : view_(view), mainWindow_(mainWindow), services_(std::move(services)), engine_(engine),
          events_(events), flags_(flags), mainFlags_(mainFlags)
{
    // A new dialog: the main window is not active, fresh tokens are drawn.
    mainFlags_.mainWindowActive = false;
    flags_.signUpOnly = false;
    protection_.invalidate();
}

void SignInFlow::prefill(int savePassword, const QString& reservedText, const QString& userName)
{
    savePassword_ = savePassword;
    reservedText_ = reservedText;
    userName_ = userName;
    view_.fillEdits(userName_, password_, savePassword_);
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

void SignInFlow::onSignInPressed(const QString& typedUser, const QString& typedPassword,
                                 bool saveChecked)
{
    flags_.signUpOnly = false;
    if (!services_.internetAvailable()) {
        view_.showMessage(QStringLiteral("Internet is not available!"));
        return;
    }
    if (typedUser.isEmpty() || typedPassword.isEmpty()) {
        view_.showMessage(QStringLiteral("Username & Password must not be blank"));
        view_.setEditsEnabled(true);
        return;
    }
    if (!isValidUserName(typedUser)) {
        view_.showMessage(QStringLiteral("Invalid Username"));
        return;
    }
    typedUser_ = typedUser;
    typedPassword_ = typedPassword;
    saveChecked_ = saveChecked;

    if (!(mainFlags_.running && !flags_.anyFailure())) {
        askPortal();
    }
    if (isRegistrationFailureText(view_.statusText()) || flags_.attemptDone) {
        engine_.reload();
    }
    if (flags_.anyFailure()) {
        engine_.shutdown();
    }

    view_.setStatus(QString());
    flags_.registered = false;
    flags_.registerFailed = false;
    view_.setEditsEnabled(false);
    view_.setStatus(kRegistering);
    view_.showBusy(true);

    const ProvisionResult result = provision();
    if (result == ProvisionResult::Quit) {
        return;
    }
    if (result == ProvisionResult::Registering) {
        for (int check = 0; check < kRegistrationChecks; ++check) {
            view_.pause(kRegistrationCheckInterval);
            if (flags_.registered) {
                succeed();
                break;
            }
        }
    }
    view_.showBusy(false);
    flags_.attemptDone = true;
}

void SignInFlow::askPortal()
{
    const std::optional<PortalAnswer> answer = services_.askPortal(typedUser_, typedPassword_);
    if (!answer) {
        view_.showMessage(QStringLiteral("Error in OpenURL"));
        return;
    }
    if (answer->idClient) {
        portal_.idClient = answer->idClient;
    }
    if (answer->sipPassword) {
        portal_.sipPassword = answer->sipPassword;
    }
    if (answer->aid) {
        portal_.aid = answer->aid;
    }
}

SignInFlow::ProvisionResult SignInFlow::provision()
{
    replyText_ = services_.provisioningPost(protection_.body(), protection_.key());
    const std::optional<ProvisioningReply> reply =
        replyText_.isEmpty() ? std::nullopt : ProvisioningReply::parse(replyText_);
    if (!reply) {
        // An empty or unreadable reply: the service cannot be used now.
        view_.showBusy(false);
        view_.showMessage(QStringLiteral("Server error-3,Please restart the application"));
        view_.reject();
        mainWindow_.quitApplication();
        return ProvisionResult::Quit;
    }

    statusValue_ = reply->status;
    if (statusValue_ == QLatin1String("0") || statusValue_ == QLatin1String("2") ||
        statusValue_ == QLatin1String("3")) {
        view_.setStatus(statusValue_ == QLatin1String("3") ? kInvalid : kInactive);
        view_.setEditsEnabled(true);
        return ProvisionResult::Stopped;
    }
    if (!reply->accepted()) {
        view_.setEditsEnabled(true);
        return ProvisionResult::Stopped;
    }

    if (flags_.reSignInMode || !flags_.allFailures()) {
        engine_.reload();
        flags_.clearFailures();
    }
    if (!engine_.isLoaded()) {
        view_.showMessage(QStringLiteral("Unable to Load DLL"));
        view_.setEditsEnabled(true);
        return ProvisionResult::Stopped;
    }
    signupUrl_ = reply->signupUrl;
    applyFailover(failoverMode_, *reply, mainWindow_.failoverRecord());
    if (flags_.signUpOnly) {
        return ProvisionResult::Ready;
    }
    registerAccount(*reply);
    return ProvisionResult::Registering;
}

void SignInFlow::registerAccount(const ProvisioningReply& reply)
{
    const EngineConfiguration config = reply.engineConfiguration();
    events_.attachRegistration(engine_.api());
    engine_.init(config.packetTime, config.sipPort);
    configureEncryption(engine_.api(), config);

    userName_ = typedUser_;
    password_ = typedPassword_;
    savePassword_ = saveChecked_ ? 1 : 0;
    // The portal's SIP password for a first sign-in or after a failure; the
    // typed password when the portal gave none.
    const bool usePortal = !mainFlags_.running || flags_.anyFailure();
    const QString sipPassword =
        usePortal && portal_.sipPassword ? QString::fromUtf8(*portal_.sipPassword) : typedPassword_;
    accountHandle_ = registerSipAccount(engine_.api(), config, userName_, sipPassword);
    registeredUser_ = userName_;
}

void SignInFlow::succeed()
{
    savePassword_ = saveChecked_ ? 1 : 0;
    userName_ = typedUser_;
    password_ = typedPassword_;
    if (flags_.reSignInMode) {
        mainWindow_.show();
        mainWindow_.takeCredentials(userName_, password_, registeredUser_);
        mainWindow_.completeEngineStartup();
        mainWindow_.refreshBalance();
    }
    view_.accept();
}

void SignInFlow::onClosePressed()
{
    if (!flags_.reSignInMode) {
        view_.reject();
        return;
    }
    const QString status = view_.statusText();
    if (isRegistrationFailureText(status) || status == QLatin1String("Unauthorized") ||
        status == kInvalid || status == kInactive) {
        engine_.reload();
        flags_.restoring = true;
        mainWindow_.completeEngineStartup();
        mainWindow_.show();
    } else {
        engine_.reload();
        flags_.restoring = true;
        flags_.restoreFailed = false;
        flags_.registered = false;
        flags_.registerFailed = false;
        view_.setStatus(QString());
        typedUser_ = mainWindow_.userName();
        typedPassword_ = mainWindow_.password();
        saveChecked_ = mainWindow_.savePassword() != 0;
        view_.fillEdits(typedUser_, typedPassword_, mainWindow_.savePassword());
        if (provision() == ProvisionResult::Quit) {
            return;
        }
        mainWindow_.show();
        view_.pause(kRestoreWait);
        if (flags_.restoreFailed) {
            view_.reject();
            view_.showMessage(
                QStringLiteral("Wrong Username/Password \nPlease contact support team"));
            mainWindow_.quitApplication();
            return;
        }
    }
    view_.reject();
}

void SignInFlow::onSignUpPressed()
{
    flags_.signUpOnly = true;
    if (provision() != ProvisionResult::Quit && !signupUrl_.isEmpty()) {
        view_.openUrl(signupUrl_);
    }
    flags_.signUpOnly = false;
}

}
