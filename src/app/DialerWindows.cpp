#include "app/DialerWindows.h"

#include "app/AudioWindows.h"
#include "app/CallNotifications.h"
#include "app/DialerCore.h"
#include "app/ServicesCommands.h"
#include "contacts/CContact.h"
#include "controls/MessageBox.h"
#include "history/CCall.h"
#include "mainwnd/CAboutDlg.h"
#include "mainwnd/CZebSoftPhoneDlg.h"
#include "platform/InstallLayout.h"
#include "settings/COptions.h"
#include "settings/WindowStacking.h"
#include "signin/CLogin.h"
#include "signin/CMainLogin.h"

#include <QApplication>
#include <QEventLoop>

namespace orvanta {

namespace {

class MainWindowHandle : public MainWindowPort {
public:
    MainWindowHandle(DialerCore& core, std::unique_ptr<CZebSoftPhoneDlg> window)
            : core_(core), window_(std::move(window))
    {
    }

    bool loadEngineLibrary() override
    {
        if (core_.loadEngine()) {
            return true;
        }
        showMessage(window_.get(), QStringLiteral("Unable to Load DLL"));
        return false;
    }
    void takeSignInRecord(const SignInRecord& record, bool autoSignIn) override
    {
        core_.start(record, autoSignIn);
    }
    // Runs until the model ends the run. Hiding the window (tray, Account
    // Login) does not end it, unlike a dialog's own modal loop.
    void runModal() override
    {
        MainWindowModel& model = core_.mainWindow();
        window_->show();
        model.open();
        if (model.finished()) {
            return;
        }
        QEventLoop loop;
        QObject::connect(&model, &MainWindowModel::ended, &loop, &QEventLoop::quit);
        loop.exec();
    }

private:
    DialerCore& core_;
    std::unique_ptr<CZebSoftPhoneDlg> window_;
};

class SignInDialogHandle : public SignInDialogPort {
public:
    explicit SignInDialogHandle(std::unique_ptr<CMainLogin> dialog) : dialog_(std::move(dialog)) {}

    void prefill(std::int32_t savePassword, const QString& reservedText,
                 const QString& userName) override
    {
        dialog_->prefill(savePassword, reservedText, userName);
    }
    bool runModal() override { return dialog_->exec() == QDialog::Accepted; }

private:
    std::unique_ptr<CMainLogin> dialog_;
};

}

std::filesystem::path engineLibraryPath()
{
    return platform::engineLibraryFor(QCoreApplication::applicationDirPath().toStdString(),
                                      EngineLibrary::kFileName);
}

DialerWindows::DialerWindows(DialerCore& core) : core_(core)
{
    coordinator_.add(WindowId::About, [] { return std::make_unique<CAboutDlg>(); });
    coordinator_.add(
        WindowId::Contacts,
        [this] {
            return sidePanel(std::make_unique<CContact>(core_.contacts(), core_.viewDialer()));
        },
        true);
    coordinator_.add(
        WindowId::RecentCalls,
        [this] { return sidePanel(std::make_unique<CCall>(core_.callLog(), core_.viewDialer())); },
        true);
    addCommands();
    core_.mainWindow().setAccountLoginOpener([this] { openAccountLogin(); });
}

DialerWindows::~DialerWindows()
{
    core_.mainWindow().setAccountLoginOpener({});
    delete signInDialog_.data();
}

CZebSoftPhoneDlg* DialerWindows::mainWindow() const
{
    return mainWindow_;
}

CMainLogin* DialerWindows::signInDialog() const
{
    return signInDialog_;
}

void DialerWindows::addCommands()
{
    MainWindowModel& model = core_.mainWindow();
    CommandTable& commands = model.commands();
    commands.add({CommandId::AccountLogin, QStringLiteral("Account Login"), kRegistered | kIdleLine,
                  [&model] { model.accountLogin(); }});
    commands.add({CommandId::About, QStringLiteral("About..."), kIdleLine,
                  [this] { coordinator_.show(WindowId::About); }});
    // The recharge page has a command but no place in the original menus.
    commands.add({CommandId::RechargePage, QStringLiteral("Recharge Online"), kNoPrecondition,
                  [&model] { model.openRecharge(); }});
    addServicesCommands(commands, core_.accountServices(),
                        [this]() -> QWidget* { return mainWindow_.data(); });
    addAudioCommands(commands, coordinator_, core_.audio());
    commands.add({CommandId::Settings, QStringLiteral("Settings"), kNoPrecondition,
                  [this] { runSettings(mainWindow_); }});
    commands.add({CommandId::Exit, QStringLiteral("Exit"), kNoPrecondition,
                  [&model] { model.requestQuit(false); }});
    // Reached by the window's own buttons.
    commands.add({CommandId::Contacts, QStringLiteral("Contacts"), kRegistered,
                  [this] { showSidePanel(WindowId::Contacts, SidePanel::Side::Right); }, false});
    commands.add({CommandId::RecentCalls, QStringLiteral("Recent Calls"), kRegistered,
                  [this] { showSidePanel(WindowId::RecentCalls, SidePanel::Side::Left); }, false});
    commands.add({CommandId::ManualLogin, QStringLiteral("Login"), kNoPrecondition,
                  [this] { runManualLogin(); }, false});
}

std::unique_ptr<QWidget> DialerWindows::sidePanel(std::unique_ptr<SidePanel> panel)
{
    QObject::connect(panel.get(), &SidePanel::closed, panel.get(), [this] {
        if (showRecentCalls_) {
            showRecentCalls_->show();
        }
    });
    return panel;
}

void DialerWindows::showSidePanel(WindowId id, SidePanel::Side side)
{
    if (!mainWindow_) {
        return;
    }
    if (auto* panel = static_cast<SidePanel*>(coordinator_.window(id))) {
        panel->showBeside(*mainWindow_, side);
    }
}

bool DialerWindows::runSettings(QWidget* parent)
{
    COptions sheet(core_.settings().sheetServices(), parent);
    return sheet.exec() == QDialog::Accepted;
}

// The manual SIP account dialog, only while no line has a call.
void DialerWindows::runManualLogin()
{
    if (!core_.calls().state().callLinesFree()) {
        return;
    }
    SettingsFeature& settings = core_.settings();
    QWidget* sheetParent = mainWindow_;
    CLogin dialog(
        settings.accounts(), settings.accountSession(), core_.services().webApiUrl(),
        [this, &sheetParent] { return runSettings(sheetParent); }, mainWindow_);
    sheetParent = &dialog;
    dialog.exec();
}

void DialerWindows::addWindowButtons(CZebSoftPhoneDlg& window)
{
    MainWindowFace& face = window.face();
    MainWindowModel& model = core_.mainWindow();
    const auto runs = [&model](CommandId id) { return [&model, id] { model.run(id); }; };
    face.addCommandButton(QStringLiteral("Contacts"), QStringLiteral("Contacts"),
                          runs(CommandId::Contacts));
    face.addCommandButton(QStringLiteral("Recent"), QStringLiteral("Recent Calls"),
                          runs(CommandId::RecentCalls));
    face.addCommandButton(QStringLiteral("Login"), QStringLiteral("Login"),
                          runs(CommandId::ManualLogin));
    // Shown once a side window was closed: it brings the recent calls back.
    showRecentCalls_ = face.addCommandButton(
        QStringLiteral("<<"), QStringLiteral("Recent Calls"),
        [this] { showSidePanel(WindowId::RecentCalls, SidePanel::Side::Left); },
        QStringLiteral("<<"));
    showRecentCalls_->hide();
}

std::unique_ptr<MainWindowPort> DialerWindows::createMainWindow()
{
    auto window = std::make_unique<CZebSoftPhoneDlg>(CZebSoftPhoneDlg::Parts{
        core_.mainWindow(), core_.calls(), core_.callView(), core_.balance()});
    mainWindow_ = window.get();
    addWindowButtons(*window);
    QObject::connect(window.get(), &CZebSoftPhoneDlg::sideWindowsToHide, window.get(),
                     [this] { coordinator_.hideSideWindows(); });
    followAlwaysOnTop(window.get(), core_.settings().settings());
    notifier_ = platform::makeDesktopNotifier(*window->tray());
    callNotifications_ = std::make_unique<CallNotifications>(core_, *notifier_);
    QObject::connect(callNotifications_.get(), &CallNotifications::openWanted, window.get(),
                     [window = window.get()] {
                         window->show();
                         window->raise();
                         window->activateWindow();
                     });
    bindAudioControls(*window, core_.audio());
    return std::make_unique<MainWindowHandle>(core_, std::move(window));
}

std::unique_ptr<SignInDialogPort> DialerWindows::createSignInDialog(MainWindowPort&)
{
    auto dialog = std::make_unique<CMainLogin>(core_.signInParts(*this), SignInFlow::Mode::StartUp);
    signInDialog_ = dialog.get();
    return std::make_unique<SignInDialogHandle>(std::move(dialog));
}

// A new sign-in dialog each time, in place of the hidden main window; the
// main window takes the dialog's place again when it closes.
void DialerWindows::openAccountLogin()
{
    coordinator_.hideSideWindows();
    auto* dialog = new CMainLogin(core_.signInParts(*this), SignInFlow::Mode::AccountLogin);
    const SignInRecord& current = core_.session().credentials();
    dialog->prefill(current.savePassword, current.reservedText, current.userName, current.password);
    signInDialog_ = dialog;
    QObject::connect(dialog, &QDialog::finished, dialog, [this, dialog](int result) {
        closeAccountLogin(dialog, result == QDialog::Accepted);
    });
    if (mainWindow_) {
        mainWindow_->hide();
    }
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->show();
}

void DialerWindows::closeAccountLogin(CMainLogin* dialog, bool signedIn)
{
    MainWindowModel& model = core_.mainWindow();
    if (mainWindow_ && !model.finished()) {
        mainWindow_->move(dialog->geometry().topLeft());
        mainWindow_->show();
    }
    model.accountLoginFinished(signedIn);
    dialog->deleteLater();
}

void DialerWindows::quitApplication()
{
    MainWindowModel& model = core_.mainWindow();
    if (model.running()) {
        model.quitNow();
    }
}

void DialerWindows::showMainWindow()
{
    if (mainWindow_) {
        mainWindow_->show();
    }
}

void DialerWindows::terminate()
{
    if (core_.mainWindow().running()) {
        core_.mainWindow().quitNow();
    }
    // Ends every event loop, the modal ones included (message boxes, the
    // sign-in dialog), and any wait started after this.
    QCoreApplication::exit(0);
}

}
