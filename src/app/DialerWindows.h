#pragma once

#include "app/Startup.h"
#include "net/DeploymentSettings.h"
#include "signin/SignInFlow.h"

#include <filesystem>

namespace orvanta {

class CZebSoftPhoneDlg;

// Builds the real sign-in dialog and main window for start-up.
class DialerWindows : public StartupWindows {
public:
    explicit DialerWindows(const DeploymentSettings& deployment);

    std::unique_ptr<MainWindowPort> createMainWindow() override;
    std::unique_ptr<SignInDialogPort> createSignInDialog(MainWindowPort& mainWindow) override;

    // Saves and quits at once (logout, SIGTERM): the main window when it
    // runs, else the sign-in dialog is cancelled.
    void terminate();

private:
    DeploymentSettings deployment_;
    CZebSoftPhoneDlg* mainWindow_ = nullptr;
};

// The network exchanges of sign-in, each run so the window stays painted.
SignInServices networkSignInServices(const DeploymentSettings& deployment);

// The engine library beside the running executable, else in the private
// library folder of an installed tree; never the working folder.
std::filesystem::path engineLibraryPath();

}
