#include "app/DialerWindows.h"

#include "mainwnd/CZebSoftPhoneDlg.h"
#include "net/PortalClient.h"
#include "net/ProvisioningTransport.h"
#include "platform/BlockingWait.h"
#include "platform/InstallLayout.h"
#include "platform/NetworkState.h"
#include "signin/CMainLogin.h"

#include <QApplication>

namespace orvanta {

namespace {

class MainWindowHandle : public MainWindowPort {
public:
    explicit MainWindowHandle(std::unique_ptr<CZebSoftPhoneDlg> window, CZebSoftPhoneDlg*& alias)
            : window_(std::move(window)), alias_(alias)
    {
        alias_ = window_.get();
    }
    ~MainWindowHandle() override { alias_ = nullptr; }

    bool loadEngineLibrary() override { return window_->loadEngineLibrary(); }
    void takeAutoSignIn(const SignInRecord& record) override { window_->takeAutoSignIn(record); }
    void takeSignIn(const SignInOutcome& outcome) override { window_->takeSignIn(outcome); }
    void runModal() override { window_->runModal(); }
    CZebSoftPhoneDlg& window() { return *window_; }

private:
    std::unique_ptr<CZebSoftPhoneDlg> window_;
    CZebSoftPhoneDlg*& alias_;
};

class SignInDialogHandle : public SignInDialogPort {
public:
    explicit SignInDialogHandle(CZebSoftPhoneDlg& mainWindow)
            : mainWindow_(mainWindow),
              dialog_(mainWindow, mainWindow.services(), mainWindow.engine(), mainWindow.events(),
                      mainWindow.signInFlags(), mainWindow.flags())
    {
        mainWindow_.attachSignInDialog(&dialog_);
    }
    ~SignInDialogHandle() override { mainWindow_.attachSignInDialog(nullptr); }

    void prefill(std::int32_t savePassword, const QString& reservedText,
                 const QString& userName) override
    {
        dialog_.flow().prefill(savePassword, reservedText, userName);
    }
    bool runModal() override { return dialog_.exec() == QDialog::Accepted; }
    SignInOutcome outcome() const override
    {
        const SignInFlow& flow = dialog_.flow();
        SignInOutcome outcome;
        outcome.savePassword = flow.savePassword();
        outcome.userName = flow.userName();
        outcome.password = flow.password();
        outcome.reservedText = flow.reservedText();
        outcome.registeredUser = flow.registeredUser();
        outcome.accountHandle = flow.accountHandle();
        return outcome;
    }

private:
    CZebSoftPhoneDlg& mainWindow_;
    CMainLogin dialog_;
};

}

std::filesystem::path engineLibraryPath()
{
    return platform::engineLibraryFor(QCoreApplication::applicationDirPath().toStdString(),
                                      EngineLibrary::kFileName);
}

SignInServices networkSignInServices(const DeploymentSettings& deployment)
{
    SignInServices services;
    services.internetAvailable = [] { return platform::isInternetConnected(); };
    services.askPortal = [deployment](const QString& user, const QString& password) {
        return platform::runWithoutUserInput([deployment, user, password] {
            return orvanta::askPortal(deployment, user, password);
        });
    };
    services.provisioningPost = [deployment](const std::string& body, const std::string& key) {
        return platform::runWithoutUserInput([deployment, body, key] {
            return ProvisioningTransport(deployment).provisioningPost(body, key);
        });
    };
    services.askBalance = [deployment](const QString& user) {
        return platform::runWithoutUserInput(
            [deployment, user] { return orvanta::askBalance(deployment, user); });
    };
    return services;
}

DialerWindows::DialerWindows(const DeploymentSettings& deployment) : deployment_(deployment) {}

std::unique_ptr<MainWindowPort> DialerWindows::createMainWindow()
{
    return std::make_unique<MainWindowHandle>(
        std::make_unique<CZebSoftPhoneDlg>(networkSignInServices(deployment_), engineLibraryPath()),
        mainWindow_);
}

std::unique_ptr<SignInDialogPort> DialerWindows::createSignInDialog(MainWindowPort& mainWindow)
{
    return std::make_unique<SignInDialogHandle>(
        static_cast<MainWindowHandle&>(mainWindow).window());
}

void DialerWindows::terminate()
{
    if (mainWindow_ && mainWindow_->flags().running) {
        mainWindow_->quitNow();
        return;
    }
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isVisible()) {
            dialog->reject();
        }
    }
}

}
