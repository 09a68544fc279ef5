#include "app/Startup.h"

#include "platform/AtomicFile.h"
#include "platform/DataFolder.h"
#include "platform/SingleInstanceGuard.h"
#include "records/RecordFile.h"

namespace orvanta {

StartupResult CZebSoftPhoneApp::InitInstance()
{
    // Held until this function returns, which is the end of the process.
    const platform::SingleInstanceGuard guard(kSingleInstanceName);
    if (!guard.acquired()) {
        return StartupResult::AlreadyRunning;
    }
    if (firstCopyHook_) {
        firstCopyHook_();
    }

    std::unique_ptr<MainWindowPort> mainWindow = windows_.createMainWindow();

    if (!platform::prepareDataFolder()) {
        return StartupResult::DataFolderUnusable;
    }
    // The guard makes this the only writer: a temporary file now is stale.
    platform::removeStaleTemporaryFiles(platform::dataFolderPath(), platform::isRecordFileName);
    SignInRecord record;
    const LoadOutcome loaded = loadRecordFile(kSignInRecordKind, record);
    if (!holdsSavedAccount(record, loaded)) {
        record = SignInRecord{};
    }
    const bool autoSignIn = record.savePassword != 0;
    mainWindow->takeSignInRecord(record, autoSignIn);

    if (!mainWindow->loadEngineLibrary()) {
        return StartupResult::EngineUnavailable;
    }

    std::unique_ptr<SignInDialogPort> signIn = windows_.createSignInDialog(*mainWindow);
    if (!autoSignIn) {
        signIn->prefill(0, record.reservedText, record.userName);
        if (!signIn->runModal()) {
            return StartupResult::SignInCancelled;
        }
    }

    mainWindow->runModal();
    // Shutdown order: the sign-in dialog first, then the main window.
    signIn.reset();
    mainWindow.reset();
    return StartupResult::Finished;
}

int CZebSoftPhoneApp::exitCode(StartupResult result)
{
    switch (result) {
    case StartupResult::Finished:
    case StartupResult::AlreadyRunning:
    case StartupResult::SignInCancelled:
        return 0;
    case StartupResult::DataFolderUnusable:
    case StartupResult::EngineUnavailable:
        break;
    }
    return 1;
}

}
