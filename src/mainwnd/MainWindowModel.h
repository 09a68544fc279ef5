#pragma once

#include "mainwnd/Commands.h"
#include "net/PortalClient.h"
#include "net/RequestProtection.h"
#include "records/SignInRecords.h"
#include "session/Registration.h"

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>
#include <optional>

namespace orvanta {

class BalanceModel;
class CallController;
class EngineEvents;
class EngineStarter;
class ProvisioningClient;
class ServiceDirectory;
class Session;

// The main window's message boxes.
enum class MainMessage {
    NotRegistered,
    CallInProgress,
    CheckInternet,  // no provisioning reply for the saved account
    RechargeUnavailable,
    WrongCredentials,  // the registrar refused the running account
    RequestTimedOut,   // the registrar stopped answering
    PortalError,       // the balance answer was refused
    PortalException,   // the portal could not be reached for the balance
};

// What the status line says when the saved account's reply was refused.
enum class DialerStatus { InactiveDialer, InvalidDialer };

// What the main window's model needs from its widget.
class MainWindowView {
public:
    virtual ~MainWindowView() = default;
    virtual void showDialerStatus(DialerStatus status) = 0;
    virtual void showProvisionedTexts(const QString& header, const QString& footer) = 0;
    virtual void showMessage(MainMessage message) = 0;
    // "Are you sure ...": true for OK.
    virtual bool confirmQuit(bool fromWindowClose) = 0;
    virtual void showDialPanel() = 0;
    // A wait runs: a busy sign shows and the controls take no input.
    virtual void setWaiting(bool waiting) = 0;
    virtual void showIncomingMessage(const QString& sender, const QString& text) = 0;
    virtual void openUrl(const QString& url) = 0;
};

// What the main window works with, all owned by the composition root.
struct MainWindowParts {
    Session& session;
    CallController& calls;
    EngineStarter& engine;
    PortalClient& portal;
    ProvisioningClient& provisioning;
    const ServiceDirectory& services;
    BalanceModel& balance;
    EngineEvents& events;
    std::function<bool()> connectivity;
};

// The main window without its face: opening (and the saved account's own
// sign-in), the Internet check, "Account Login" with its pause, the quit
// rules and what registration results do to the window. Its commands are a
// table the widget turns into menus.
class MainWindowModel : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kSavedAccountCheck{2000};
    static constexpr std::chrono::milliseconds kInternetCheck{1000};
    static constexpr std::chrono::milliseconds kAccountLoginPause{3000};
    static constexpr qsizetype kShownMessage = 300;

    MainWindowModel(const MainWindowParts& parts, QObject* parent = nullptr);

    void attachView(MainWindowView* view) { view_ = view; }
    CommandTable& commands() { return commands_; }
    const CommandTable& commands() const { return commands_; }
    // Runs a command through its preconditions.
    bool run(CommandId id) { return commands_.run(id); }

    // Opens the window: the lines are reset, a start from the saved record
    // signs in by itself, then the balance and "Ready".
    void open();
    bool running() const { return opened_ && !finished_; }
    bool finished() const { return finished_; }
    // A wait that blocks input runs (the Account Login pause).
    bool waiting() const { return waiting_; }

    // The quit rules: refused during a call, else asked, then saved.
    void requestQuit(bool fromWindowClose);
    // Saves the records and ends without asking.
    void quitNow();

    // "Account Login" (its preconditions checked by the command table):
    // the engine stops and, after the pause, the sign-in dialog opens.
    void accountLogin();
    void setAccountLoginOpener(std::function<void()> open) { openAccountLogin_ = std::move(open); }
    // Its dialog closed, with a new sign-in or with the old account restored.
    void accountLoginFinished(bool signedIn);

    void openMyAccount();
    void openRecharge();

    // Account 1 of the manual accounts, for the sign-in record's account
    // block at quit; without a source the block stays empty.
    void setFirstAccountSource(std::function<FirstAccount()> source)
    {
        firstAccount_ = std::move(source);
    }

    // A side window handles a call request, its refusal box included:
    // commands and "Exit" are dropped meanwhile.
    void setPlacingCallFromView(bool placing) { placingCallFromView_ = placing; }

signals:
    // The window starts opening, before the lines are reset and the engine
    // starts: the place for the saved settings to take effect.
    void opening();
    // The run ends: the stores write their files, before the sign-in
    // records are written.
    void savingRecords();
    // The window opened (the sound-card check starts).
    void opened();
    // The run is over: the window closes.
    void ended();

private:
    bool passes(unsigned needs);
    void signInSavedAccount();
    void onPortalAnswered(const std::optional<PortalAnswer>& answer);
    void onProvisioningAnswered(const QByteArray& text);
    void ready();
    void checkSavedAccountConfirmed();
    void onRegistrationChanged(const RegistrationOutcome& outcome);
    void closeOnRefusal(RegistrationFailure failure);
    void afterAccountLoginPause();
    void saveRecords();
    void finish();
    void show(MainMessage message);

    MainWindowParts parts_;
    MainWindowView* view_ = nullptr;
    CommandTable commands_;
    RequestProtection protection_;
    std::function<void()> openAccountLogin_;
    std::function<FirstAccount()> firstAccount_;
    QTimer internetTimer_;
    QTimer pauseTimer_;

    enum class Fetch { None, Portal, Provisioning };
    Fetch fetch_ = Fetch::None;
    PortalAnswer portalAnswer_;
    bool opened_ = false;
    bool finished_ = false;
    bool waiting_ = false;
    bool closeBothRequested_ = false;
    bool placingCallFromView_ = false;
};

}
