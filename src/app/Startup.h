#pragma once

#include "orvanta/Version.h"
#include "records/SignInRecords.h"

#include <QString>
#include <functional>
#include <memory>

namespace orvanta {

// The main window as start-up sees it.
class MainWindowPort {
public:
    virtual ~MainWindowPort() = default;
    // Loads the SIP engine library; on failure the window has told the user.
    virtual bool loadEngineLibrary() = 0;
    // The saved sign-in record; with autoSignIn the window signs in by
    // itself, otherwise the sign-in dialog's result is already the session's.
    virtual void takeSignInRecord(const SignInRecord& record, bool autoSignIn) = 0;
    // Runs the window until it closes.
    virtual void runModal() = 0;
};

// The sign-in dialog as start-up sees it.
class SignInDialogPort {
public:
    virtual ~SignInDialogPort() = default;
    virtual void prefill(std::int32_t savePassword, const QString& reservedText,
                         const QString& userName) = 0;
    // False when the user cancelled.
    virtual bool runModal() = 0;
};

// Builds the windows; the sign-in dialog shares the main window's engine.
class StartupWindows {
public:
    virtual ~StartupWindows() = default;
    virtual std::unique_ptr<MainWindowPort> createMainWindow() = 0;
    virtual std::unique_ptr<SignInDialogPort> createSignInDialog(MainWindowPort& mainWindow) = 0;
};

enum class StartupResult {
    Finished,            // the main window ran and closed
    AlreadyRunning,      // another copy holds the guard
    DataFolderUnusable,  // the data folder could not be created
    EngineUnavailable,   // the engine library could not be loaded
    SignInCancelled,
};

inline constexpr const char* kSingleInstanceName = ORVANTA_PRODUCT_VERSION;

// The application object: runs the whole life of the process.
class CZebSoftPhoneApp {
public:
    explicit CZebSoftPhoneApp(StartupWindows& windows) : windows_(windows) {}

    StartupResult InitInstance();

    // Runs once this copy holds the single-instance guard, before any
    // window: the copy then opens its channel for second starts.
    void setFirstCopyHook(std::function<void()> hook) { firstCopyHook_ = std::move(hook); }

    // Process exit status for a start-up result.
    static int exitCode(StartupResult result);

private:
    StartupWindows& windows_;
    std::function<void()> firstCopyHook_;
};

}
