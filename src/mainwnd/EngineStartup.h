#pragma once

#include "signin/ProvisioningReply.h"
#include "signin/SignInState.h"
#include "telephony/EngineHost.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace orvanta {

class EngineEvents;

// What the engine start-up shows in the main window.
class EngineStartupView {
public:
    virtual ~EngineStartupView() = default;
    virtual void setStatusLine(const QString& text) = 0;
    virtual void setBanner(const QString& text) = 0;
    virtual void setFooter(const QString& text) = 0;
    virtual void showSignInControls() = 0;
    virtual void showMessage(const QString& text) = 0;
};

// The credentials and sign-in state the start-up decides with.
struct EngineStartupInputs {
    QByteArray replyText;  // the provisioning reply of the current sign-in
    QString sipUser;
    int recordSavePassword = 0;  // from the sign-in record
    QString recordPassword;
    std::optional<QByteArray> portalSipPassword;
    QString typedPassword;
    bool callsAllowed = false;  // the main window already allows calls
};

// The main window's engine start-up: callbacks, encryption, registration
// and codec order, from the current sign-in's provisioning reply.
class EngineStartup {
public:
    EngineStartup(EngineHost& engine, EngineEvents& events, SignInFlags& signIn,
                  MainWindowFlags& main, EngineStartupView& view)
            : engine_(engine), events_(events), signIn_(signIn), main_(main), view_(view)
    {
    }

    // Runs the start-up; the parsed reply when it was accepted.
    std::optional<ProvisioningReply> StartEngine(const EngineStartupInputs& inputs);

    int accountHandle() const { return accountHandle_; }
    // Whether the last start-up registered the account itself.
    bool registered() const { return registered_; }
    const QString& sipPassword() const { return sipPassword_; }

private:
    QString chooseSipPassword(const EngineStartupInputs& inputs) const;

    EngineHost& engine_;
    EngineEvents& events_;
    SignInFlags& signIn_;
    MainWindowFlags& main_;
    EngineStartupView& view_;
    int accountHandle_ = 0;
    bool registered_ = false;
    QString sipPassword_;
};

// The codec order without a codec file.
void ApplyCodecPriorities(const EngineApi& api);

}
