#pragma once

#include "app/Startup.h"
#include "app/WindowCoordinator.h"
#include "controls/SidePanel.h"
#include "platform/DesktopNotifications.h"
#include "signin/SignInFlow.h"

#include <QAbstractButton>
#include <QPointer>
#include <filesystem>

namespace orvanta {

class CallNotifications;
class CMainLogin;
class CZebSoftPhoneDlg;
class DialerCore;

// The dialer's windows over one composition root: the main window, the
// sign-in dialog (at start-up and for "Account Login") and the windows the
// commands open. The main window's command table is filled here: a new
// window is one command row plus one factory.
class DialerWindows : public StartupWindows, private SignInMainWindow {
public:
    explicit DialerWindows(DialerCore& core);
    ~DialerWindows() override;

    std::unique_ptr<MainWindowPort> createMainWindow() override;
    std::unique_ptr<SignInDialogPort> createSignInDialog(MainWindowPort& mainWindow) override;

    // Saves and quits at once (logout, SIGTERM): the records when the main
    // window runs, then every open window and wait ends.
    void terminate();

    CZebSoftPhoneDlg* mainWindow() const;
    // The latest sign-in dialog, at start-up or for "Account Login", while
    // it exists.
    CMainLogin* signInDialog() const;
    WindowCoordinator& coordinator() { return coordinator_; }

private:
    // SignInMainWindow
    void quitApplication() override;
    void showMainWindow() override;

    void addCommands();
    void addWindowButtons(CZebSoftPhoneDlg& window);
    // Takes a side window into the coordinator; closing it shows "<<".
    std::unique_ptr<QWidget> sidePanel(std::unique_ptr<SidePanel> panel);
    void showSidePanel(WindowId id, SidePanel::Side side);
    // The "Settings" sheet, modal over parent; true when closed with OK.
    bool runSettings(QWidget* parent);
    void runManualLogin();
    void openAccountLogin();
    void closeAccountLogin(CMainLogin* dialog, bool signedIn);

    DialerCore& core_;
    WindowCoordinator coordinator_;
    QPointer<CZebSoftPhoneDlg> mainWindow_;
    QPointer<CMainLogin> signInDialog_;
    QPointer<QAbstractButton> showRecentCalls_;
    std::unique_ptr<platform::DesktopNotifier> notifier_;
    std::unique_ptr<CallNotifications> callNotifications_;
};

// The engine library beside the running executable, else in the private
// library folder of an installed tree; never the working folder.
std::filesystem::path engineLibraryPath();

}
