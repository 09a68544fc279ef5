#pragma once

#include "controls/SkinnedDialog.h"
#include "signin/SignInFlow.h"

#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace orvanta {

// The sign-in dialog: a skinned window with the user name, password and
// "Save Password" fields. Its logic lives in SignInFlow.
class CMainLogin : public SkinnedDialog, private SignInView {
    Q_OBJECT

public:
    CMainLogin(SignInMainWindow& mainWindow, SignInServices services, EngineHost& engine,
               EngineEvents& events, SignInFlags& flags, MainWindowFlags& mainFlags,
               QWidget* parent = nullptr);
    ~CMainLogin() override;

    SignInFlow& flow() { return *flow_; }
    const SignInFlow& flow() const { return *flow_; }

    // Registration results shown in the dialog.
    void showRegistrationStatus(const QString& text);
    void enableCredentialEdits();

    // Opened from the running main window to sign in anew.
    void enterReSignInMode();

    // The controls, for keyboard, screen readers and tests.
    QLineEdit* userEdit() const { return userEdit_; }
    QLineEdit* passwordEdit() const { return passwordEdit_; }
    QCheckBox* savePasswordBox() const { return saveBox_; }
    QPushButton* signInButton() const { return signInButton_; }
    QToolButton* closeButton() const { return closeButton_; }
    QLabel* statusLabel() const { return statusLabel_; }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // SignInView
    QString statusText() const override;
    void setStatus(const QString& text) override;
    void setEditsEnabled(bool enabled) override;
    void fillEdits(const QString& user, const QString& password, int savePassword) override;
    void showBusy(bool busy) override;
    void showMessage(const QString& text) override;
    void pause(std::chrono::milliseconds duration) override;
    void accept() override;
    void reject() override;
    void openUrl(const QString& url) override;

    void buildControls();
    void signIn();

    QLineEdit* userEdit_ = nullptr;
    QLineEdit* passwordEdit_ = nullptr;
    QCheckBox* saveBox_ = nullptr;
    QPushButton* signInButton_ = nullptr;
    QToolButton* closeButton_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    QProgressBar* busy_ = nullptr;
    QLabel* signUpLink_ = nullptr;
    QLineEdit* brandPin_ = nullptr;
    std::unique_ptr<SignInFlow> flow_;
    bool firstShow_ = true;
};

}
