#include "app/DialerWindows.h"

#include "app/AudioWindows.h"
#include "app/DialerCore.h"
#include "controls/MessageBox.h"
#include "mainwnd/CAboutDlg.h"
#include "mainwnd/CZebSoftPhoneDlg.h"
#include "platform/InstallLayout.h"
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
    commands.add({CommandId::Recharge, QStringLiteral("Recharge"), kNoPrecondition,
                  [&model] { model.openRecharge(); }});
    addAudioCommands(commands, coordinator_, core_.audio());
    commands.add({CommandId::Exit, QStringLiteral("Exit"), kNoPrecondition,
                  [&model] { model.requestQuit(false); }});
}

std::unique_ptr<MainWindowPort> DialerWindows::createMainWindow()
{
    auto window = std::make_unique<CZebSoftPhoneDlg>(CZebSoftPhoneDlg::Parts{
        core_.mainWindow(), core_.calls(), core_.callView(), core_.balance(), core_.callLog()});
    mainWindow_ = window.get();
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
