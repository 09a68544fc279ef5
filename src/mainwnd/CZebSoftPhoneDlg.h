#pragma once

#include "app/SignInRecords.h"
#include "app/Startup.h"
#include "controls/SkinnedDialog.h"
#include "mainwnd/EngineStartup.h"
#include "signin/RegistrationResult.h"
#include "signin/SignInFlow.h"
#include "telephony/EngineEvents.h"
#include "telephony/EngineHost.h"


class QLabel;
class QToolButton;

namespace orvanta {

class CMainLogin;

// The main window: a skinned phone body with the status line, banner and
// footer; it signs in by itself from a saved account, starts the engine and
// saves the sign-in and fail-over records when it quits.
class CZebSoftPhoneDlg : public SkinnedDialog,
                         public MainWindowPort,
                         public SignInMainWindow,
                         private EngineStartupView,
                         private RegistrationResultPort {
    Q_OBJECT

public:
    CZebSoftPhoneDlg(SignInServices services, std::filesystem::path engineLibrary,
                     QWidget* parent = nullptr);
    ~CZebSoftPhoneDlg() override;

    EngineHost& engine() { return engine_; }
    EngineEvents& events() { return events_; }
    SignInFlags& signInFlags() { return signInFlags_; }
    MainWindowFlags& flags() { return flags_; }
    const SignInServices& services() const { return services_; }
    void attachSignInDialog(CMainLogin* dialog) { signInDialog_ = dialog; }

    // MainWindowPort
    bool loadEngineLibrary() override;
    void takeAutoSignIn(const SignInRecord& record) override;
    void takeSignIn(const SignInOutcome& outcome) override;
    void runModal() override;

    // SignInMainWindow
    void quitApplication() override;
    void show() override { QDialog::show(); }
    void completeEngineStartup() override;
    void takeCredentials(const QString& user, const QString& password,
                         const QString& registeredUser) override;
    void refreshBalance() override;
    QString userName() const override { return record_.userName; }
    QString password() const override { return record_.password; }
    int savePassword() const override { return record_.savePassword; }
    FailoverRecord& failoverRecord() override { return failover_; }

    // Opens the window: engine start-up, status line; called before it runs.
    void open();
    // Asks the user, then quits; the window's own close asks in its own words.
    void requestQuit(bool fromWindowClose);
    // Saves the records and ends without asking (logout, SIGTERM).
    void quitNow();

    QLabel* statusLine() const { return statusLine_; }
    QLabel* banner() const { return banner_; }
    QLabel* footer() const { return footer_; }
    const QString& lastMessage() const { return lastMessage_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    // EngineStartupView
    void setStatusLine(const QString& text) override;
    void setBanner(const QString& text) override;
    void setFooter(const QString& text) override;
    void showSignInControls() override;
    void showMessage(const QString& text) override;
    // RegistrationResultPort
    void setSignInStatus(const QString& text) override;
    void enableSignInEdits() override;
    void closeMainWindow() override;

    void buildControls();
    QByteArray fetchOwnProvisioning();
    void checkSavedAccountConfirmed();
    void onRegistrationState(int sipCode);
    void onMessage(const QString& senderUri, const QString& text);
    void saveRecords();
    void finish();

    SignInServices services_;
    EngineHost engine_;
    EngineEvents events_;
    SignInFlags signInFlags_;
    MainWindowFlags flags_;
    EngineStartup startup_;
    CMainLogin* signInDialog_ = nullptr;

    SignInRecord record_;
    SignInOutcome signIn_;
    FailoverRecord failover_;
    QString lastMessage_;
    std::optional<QByteArray> ownPortalSipPassword_;
    bool finished_ = false;

    QLabel* statusLine_ = nullptr;
    QLabel* banner_ = nullptr;
    QLabel* footer_ = nullptr;
    QLabel* internetLabel_ = nullptr;
    QToolButton* closeButton_ = nullptr;
    QToolButton* minimizeButton_ = nullptr;
};

}
