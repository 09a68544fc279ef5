#pragma once

#include "net/PortalClient.h"
#include "net/ProvisioningTransport.h"
#include "net/RequestProtection.h"
#include "records/SignInRecords.h"
#include "signin/ProvisioningReply.h"
#include "signin/SignInState.h"
#include "telephony/EngineHost.h"

#include <QString>
#include <chrono>
#include <functional>

namespace orvanta {

class EngineEvents;

// What the sign-in dialog shows and does on the flow's behalf.
class SignInView {
public:
    virtual ~SignInView() = default;
    virtual QString statusText() const = 0;
    virtual void setStatus(const QString& text) = 0;
    // The user name and password edits (and, when disabling, the check box).
    virtual void setEditsEnabled(bool enabled) = 0;
    virtual void fillEdits(const QString& user, const QString& password, int savePassword) = 0;
    virtual void showBusy(bool busy) = 0;
    virtual void showMessage(const QString& text) = 0;
    // Waits while the window stays painted and user input is dropped.
    virtual void pause(std::chrono::milliseconds duration) = 0;
    virtual void accept() = 0;
    virtual void reject() = 0;
    virtual void openUrl(const QString& url) = 0;
};

// The main window as the sign-in needs it.
class SignInMainWindow {
public:
    virtual ~SignInMainWindow() = default;
    virtual void quitApplication() = 0;
    // Re-sign-in: the main window shows itself again and completes its own
    // engine start-up; after a successful sign-in it also takes the new
    // credentials and refreshes the balance.
    virtual void show() = 0;
    virtual void completeEngineStartup() = 0;
    virtual void takeCredentials(const QString& user, const QString& password,
                                 const QString& registeredUser) = 0;
    virtual void refreshBalance() = 0;
    // The credentials the main window signed in with, for restoring them.
    virtual QString userName() const = 0;
    virtual QString password() const = 0;
    virtual int savePassword() const = 0;
    // The fail-over addresses the main window keeps and saves at quit.
    virtual FailoverRecord& failoverRecord() = 0;
};

// Where a provisioning reply's fail-over server goes: "firstip" fills the
// second server, "secondip" and "failip" replace the first and clear the
// second; any other mode stores nothing.
void applyFailover(const QString& mode, const ProvisioningReply& reply, FailoverRecord& record);

// The network exchanges of a sign-in; each may block and is run so that the
// window stays painted.
struct SignInServices {
    std::function<bool()> internetAvailable;
    std::function<std::optional<PortalAnswer>(const QString& user, const QString& password)>
        askPortal;
    std::function<QByteArray(const std::string& body, const std::string& key)> provisioningPost;
    std::function<BalanceResult(const QString& user)> askBalance;
};

// The sign-in dialog's logic: portal, provisioning, engine start and
// registration, and the waits between them. The dialog forwards its
// buttons here; registration results arrive through onRegistrationResult.
class SignInFlow {
public:
    SignInFlow(SignInView& view, SignInMainWindow& mainWindow, SignInServices services,
               EngineHost& engine, EngineEvents& events, SignInFlags& flags,
               MainWindowFlags& mainFlags);

    // What the dialog's fields held when start-up opened it.
    void prefill(int savePassword, const QString& reservedText, const QString& userName);

    void onSignInPressed(const QString& typedUser, const QString& typedPassword, bool saveChecked);
    void onClosePressed();
    void onSignUpPressed();

    enum class ProvisionResult { Quit, Stopped, Ready, Registering };
    ProvisionResult provision();

    // The outcome read by start-up after the dialog accepted.
    int savePassword() const { return savePassword_; }
    const QString& userName() const { return userName_; }
    const QString& password() const { return password_; }
    const QString& reservedText() const { return reservedText_; }
    const QString& registeredUser() const { return registeredUser_; }
    int accountHandle() const { return accountHandle_; }

    // Values the main window's own sign-in reuses.
    RequestProtection& protection() { return protection_; }
    const QByteArray& replyText() const { return replyText_; }
    const PortalAnswer& portal() const { return portal_; }
    const QString& statusValue() const { return statusValue_; }

    // Forbidden in user names.
    static bool isValidUserName(const QString& user);

private:
    void askPortal();
    void registerAccount(const ProvisioningReply& reply);
    void succeed();
    void restoreMainWindow();

    SignInView& view_;
    SignInMainWindow& mainWindow_;
    SignInServices services_;
    EngineHost& engine_;
    EngineEvents& events_;
    SignInFlags& flags_;
    MainWindowFlags& mainFlags_;
    RequestProtection protection_;

    QString typedUser_;
    QString typedPassword_;
    bool saveChecked_ = false;
    int savePassword_ = 0;
    QString userName_;
    QString password_;
    QString reservedText_;
    QString registeredUser_;
    int accountHandle_ = 0;
    PortalAnswer portal_;
    QString statusValue_;
    QByteArray replyText_;
    QString signupUrl_;
    QString failoverMode_;  // nothing in the sign-in sets it
};

}
