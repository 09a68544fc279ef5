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
// "Save Password" fields. Its logic lives in SignInFlow; this maps the
// flow's states to the dialog's texts.
class CMainLogin : public SkinnedDialog, private SignInView {
    Q_OBJECT

public:
    CMainLogin(const SignInParts& parts, SignInFlow::Mode mode, QWidget* parent = nullptr);
    ~CMainLogin() override;

    SignInFlow& flow() { return *flow_; }
    const SignInFlow& flow() const { return *flow_; }

    // What the fields hold when the dialog opens.
    void prefill(int savePassword, const QString& reservedText, const QString& userName,
                 const QString& password = {});

    static QString statusText(SignInStatus status);
    static QString messageText(SignInMessage message);

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
    // Closing the window is the close button: Account Login restores.
    void closeEvent(QCloseEvent* event) override;

private:
    // SignInView
    void setStatus(SignInStatus status) override;
    void setEditsEnabled(bool enabled) override;
    void fillEdits(const QString& user, const QString& password, int savePassword) override;
    void setWaiting(bool waiting) override;
    void showMessage(SignInMessage message) override;
    void accept() override;
    void reject() override;
    void openUrl(const QString& url) override;

    void buildControls();
    void signIn();
    void applyEnabled();

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
    bool editsEnabled_ = true;
    bool closing_ = false;  // the flow ends the dialog
    bool waiting_ = false;
    struct Prefill {
        int savePassword = 0;
        QString reservedText;
        QString userName;
        QString password;
    } prefill_;
};

}
