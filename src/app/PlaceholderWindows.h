#pragma once

#include "app/Startup.h"
#include "telephony/EngineLibrary.h"

namespace orvanta {

// Stand-ins for the sign-in dialog and the main window until those exist:
// they load the real engine and say plainly that signing in is not
// available yet.
class PlaceholderWindows : public StartupWindows {
public:
    std::unique_ptr<MainWindowPort> createMainWindow() override;
    std::unique_ptr<SignInDialogPort> createSignInDialog(MainWindowPort& mainWindow) override;
};

// The engine library beside the running executable; never the working
// folder, which any user-chosen folder could plant a library in.
std::filesystem::path engineLibraryPath();

}
