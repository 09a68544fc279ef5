#pragma once

#include "records/SignInRecords.h"
#include "app/Startup.h"
#include "controls/SkinnedDialog.h"
#include "mainwnd/EngineStartup.h"
#include "mainwnd/MainWindowFace.h"
#include "platform/SoundPlayer.h"
#include "signin/RegistrationResult.h"
#include "signin/SignInFlow.h"
#include "telephony/CallController.h"
#include "telephony/EngineEvents.h"
#include "telephony/EngineHost.h"
#include "telephony/PlayerCallSounds.h"
#include "telephony/QtCallTimers.h"

#include <QTimer>

class QMenu;
class QSystemTrayIcon;

namespace orvanta {

class CMainLogin;

// Finished calls, kept until the call log store takes them over.
class PendingCallLog : public CallLogSink {
public:
    struct Entry {
        QString number;
        QString duration;
        char kind = 0;
    };
    std::function<void(const Entry&)> onAdded;

    void AddCallLogEntry(const QString& number, const QString& duration, char kind) override;
    const std::vector<Entry>& entries() const { return entries_; }

private:
    std::vector<Entry> entries_;
};

// The main window: a skinned phone body with the dial pad, lines and
// feature buttons. It signs in by itself from a saved account, starts the
// engine, runs the calls, and saves the sign-in and fail-over records when
// it quits.
class CZebSoftPhoneDlg : public SkinnedDialog,
                         public MainWindowPort,
                         public SignInMainWindow,
                         private EngineStartupView,
                         private RegistrationResultPort,
                         private BalanceQuery {
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
    // Replaces the check of the network connection (tests).
    void setConnectivityCheck(std::function<bool()> check) { connectivity_ = std::move(check); }

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
    void refreshBalance() override { QueryBalance(); }
    QString userName() const override { return record_.userName; }
    QString password() const override { return record_.password; }
    int savePassword() const override { return record_.savePassword; }
    FailoverRecord& failoverRecord() override { return failover_; }

    // Opens the window: engine start-up, balance, status line, checks.
    void open();
    // The quit rules: refused during a call, else asked, then saved.
    void requestQuit(bool fromWindowClose);
    // Saves the records and ends without asking (logout, SIGTERM).
    void quitNow();

    // BalanceQuery
    void QueryBalance() override;

    MainWindowFace& face() { return face_; }
    CallController& calls() { return calls_; }
    const PendingCallLog& callLog() const { return callLog_; }
    const QString& lastMessage() const { return lastMessage_; }
    QMenu* settingsMenu() const { return menu_; }
    void accountLogin();
    void showAbout();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
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

    MainWindowFace::Actions faceActions();
    void buildMenuAndTray();
    void onToggle(Toggle toggle, bool pressed);
    void onFlashing(bool flashing);
    bool startEngine(const EngineStartupInputs& inputs);
    EngineStartupInputs startupInputs() const;
    QByteArray fetchOwnProvisioning();
    void checkSavedAccountConfirmed();
    void onRegistrationState(int sipCode);
    void onMessage(const QString& senderUri, const QString& text);
    void openProvisionedPage(const QString& url);
    void notify(const QString& title, const QString& text);
    void saveRecords();
    void finish();

    SignInServices services_;
    EngineHost engine_;
    EngineEvents events_;
    SignInFlags signInFlags_;
    MainWindowFlags flags_;
    MainWindowFace face_;
    EngineStartup startup_;
    platform::SoundPlayer player_;
    PlayerCallSounds sounds_;
    QtCallTimers timers_;
    PendingCallLog callLog_;
    CallController calls_;
    CMainLogin* signInDialog_ = nullptr;
    std::function<bool()> connectivity_;

    SignInRecord record_;
    SignInOutcome signIn_;
    FailoverRecord failover_;
    std::optional<ProvisioningReply> reply_;
    std::optional<QByteArray> ownPortalSipPassword_;
    QString lastMessage_;
    bool finished_ = false;

    QTimer internetTimer_;
    QTimer flashTimer_;
    QMenu* menu_ = nullptr;
    QSystemTrayIcon* tray_ = nullptr;
};

}
