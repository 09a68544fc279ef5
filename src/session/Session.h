#pragma once

#include "net/PortalClient.h"
#include "net/ProvisioningReply.h"
#include "records/SignInRecords.h"
#include "session/Registration.h"

#include <QObject>
#include <QString>
#include <optional>

namespace orvanta {

// The SIP account registered for the signed-in subscriber.
struct SipAccount {
    QString user;
    QString password;
    QString registrarHost;
    int handle = -1;  // the engine's account handle; calls and messages go on it
};

// Which SIP password registers the account: the portal's when it gave one,
// else the password the subscriber typed or saved.
QString sipPasswordFor(const PortalAnswer& portal, const QString& typedPassword);

// The run's sign-in: who signed in, the account registered for them, the
// provisioning reply it came from and how its registration stands. Every
// holder of the account or the user name follows its signals, so a new
// sign-in reaches all of them at once.
class Session : public QObject {
    Q_OBJECT

public:
    explicit Session(QObject* parent = nullptr) : QObject(parent) {}

    // The sign-in record's fields of the current sign-in.
    const SignInRecord& credentials() const { return credentials_; }
    const QString& userName() const { return credentials_.userName; }
    // Started from the saved record without the sign-in dialog.
    bool autoSignIn() const { return autoSignIn_; }

    // Before any sign-in: the saved record, and whether it signs in by itself.
    void start(const SignInRecord& saved, bool autoSignIn);
    // "Account Login" hands the sign-in to the dialog.
    void leaveAutoSignIn() { autoSignIn_ = false; }

    const SipAccount& account() const { return account_; }
    const std::optional<ProvisioningReply>& reply() const { return reply_; }

    // A sign-in completed: who, the account registered for them and the
    // reply it was registered from.
    void signedIn(const SignInRecord& credentials, const SipAccount& account,
                  const ProvisioningReply& reply);
    // The same account registered once more, under a new handle.
    void reregistered(int handle);
    // Another account registered in place of the signed-in one (an account
    // the user entered by hand); the sign-in and its reply stay.
    void accountReplaced(const SipAccount& account);

    SessionStage stage() const { return stage_; }
    void setStage(SessionStage stage) { stage_ = stage; }

    RegistrationState registrationState() const { return registration_.state; }
    RegistrationFailure registrationFailure() const { return registration_.failure; }
    // An account was handed to the engine / the engine was stopped.
    void registrationStarted();
    void registrationStopped();
    // A result from the engine's registration callback.
    void onRegistrationResult(int sipCode);

    // The fail-over addresses, read from and saved to IP_Orvanta.bin.
    FailoverRecord& failover() { return failover_; }
    const FailoverRecord& failover() const { return failover_; }

signals:
    // The account, its handle or the user name changed.
    void accountChanged();
    void provisioningChanged();
    void registrationChanged(const orvanta::RegistrationOutcome& outcome);

private:
    SignInRecord credentials_;
    bool autoSignIn_ = false;
    SipAccount account_;
    std::optional<ProvisioningReply> reply_;
    SessionStage stage_ = SessionStage::SigningIn;
    RegistrationOutcome registration_;
    FailoverRecord failover_;
};

}
