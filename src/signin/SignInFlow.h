#pragma once

#include "net/RequestProtection.h"
#include "session/Session.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <functional>

namespace orvanta {

class EngineStarter;
class PortalClient;
class ProvisioningClient;

// What the sign-in dialog's status label says.
enum class SignInStatus {
    None,
    Registering,
    InactiveDialer,
    InvalidDialer,
    WrongCredentials,
    UserNotFound,
    RequestTimeout,
};

// The message boxes of a sign-in.
enum class SignInMessage {
    InternetUnavailable,
    BlankCredentials,
    InvalidUserName,
    PortalUnreachable,
    ServerError,
    EngineMissing,
    RestoreFailed,
};

// What the sign-in dialog shows and does on the flow's behalf.
class SignInView {
public:
    virtual ~SignInView() = default;
    virtual void setStatus(SignInStatus status) = 0;
    // The user name and password edits (and, when disabling, the check box).
    virtual void setEditsEnabled(bool enabled) = 0;
    virtual void fillEdits(const QString& user, const QString& password, int savePassword) = 0;
    // A wait runs: the busy picture shows and the controls take no input.
    virtual void setWaiting(bool waiting) = 0;
    virtual void showMessage(SignInMessage message) = 0;
    virtual void accept() = 0;
    virtual void reject() = 0;
    virtual void openUrl(const QString& url) = 0;
};

// The main window as the sign-in needs it.
class SignInMainWindow {
public:
    virtual ~SignInMainWindow() = default;
    virtual void quitApplication() = 0;
    // Account Login: shown again while the previous account is restored.
    virtual void showMainWindow() = 0;
};

// What a sign-in works with, all owned by the composition root.
struct SignInParts {
    Session& session;
    EngineStarter& engine;
    PortalClient& portal;
    ProvisioningClient& provisioning;
    std::function<bool()> internetAvailable;
    SignInMainWindow& mainWindow;
};

// Where a provisioning reply's fail-over server goes: "firstip" fills the
// second server, "secondip" and "failip" replace the first and clear the
// second; any other mode stores nothing.
void applyFailover(const QString& mode, const ProvisioningReply& reply, FailoverRecord& record);

// The sign-in dialog's logic: portal, provisioning, engine start and
// registration, and the waits between them. Requests answer later by
// signal; while a wait runs the flow drops every press, so a click or key
// made meanwhile has no effect afterwards. A completed sign-in goes to the
// Session.
class SignInFlow : public QObject {
    Q_OBJECT

public:
    enum class Mode {
        StartUp,       // before the main window: closing ends the application
        AccountLogin,  // from the running main window: closing restores its account
    };

    static constexpr int kRegistrationChecks = 5;
    static constexpr std::chrono::milliseconds kRegistrationCheckInterval{500};
    static constexpr std::chrono::milliseconds kRestoreWait{3000};

    SignInFlow(SignInView& view, const SignInParts& parts, Mode mode, QObject* parent = nullptr);

    // The dialog opens: the user name (and in Account Login the password)
    // filled in, the fail-over record read.
    void begin(int savePassword, const QString& reservedText, const QString& userName,
               const QString& password);

    void signIn(const QString& typedUser, const QString& typedPassword, bool saveChecked);
    void close();
    void signUp();

    bool waiting() const { return wait_ != Wait::None; }
    SignInStatus status() const { return status_; }
    // A sign-in attempt of this dialog ran to the end of its registration wait.
    bool attemptDone() const { return attemptDone_; }
    Mode mode() const { return mode_; }

    // Forbidden in user names.
    static bool isValidUserName(const QString& user);

private:
    enum class Wait { None, Portal, Provisioning, Registration, Restore };

    void startWait(Wait wait);
    void endWait();
    void onPortalAnswered(const std::optional<PortalAnswer>& answer);
    void provision();
    void onProvisioningAnswered(const QByteArray& text);
    void registerAccount(const ProvisioningReply& reply);
    void checkRegistration();
    void succeed();
    void restore();
    void finishRestore();
    void onRegistrationChanged(const RegistrationOutcome& outcome);
    void setStatus(SignInStatus status);
    bool anyFailure() const { return failed403_ || failed401or408_ || failed404_; }
    bool allFailures() const { return failed403_ && failed401or408_ && failed404_; }

    SignInView& view_;
    SignInParts parts_;
    Mode mode_;
    RequestProtection protection_;
    QTimer timer_;
    Wait wait_ = Wait::None;
    int checks_ = 0;

    SignInStatus status_ = SignInStatus::None;
    bool attemptDone_ = false;
    bool signUpOnly_ = false;
    bool restoreFailed_ = false;
    bool failed403_ = false;
    bool failed401or408_ = false;
    bool failed404_ = false;

    QString typedUser_;
    QString typedPassword_;
    bool saveChecked_ = false;
    QString reservedText_;
    PortalAnswer portal_;
    // The attempt's account, handed to the Session once registered.
    SipAccount pendingAccount_;
    std::optional<ProvisioningReply> pendingReply_;
    QString failoverMode_;  // nothing in the sign-in sets it
};

}
