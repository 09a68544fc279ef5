#pragma once

namespace orvanta {

// The sign-in dialog's flags that registration results set and the main
// window reads.
struct SignInFlags {
    bool registered = false;
    bool registerFailed = false;
    int failedWith403 = 0;
    int failedWith401or408 = 0;
    int failedWith404 = 0;
    bool reSignInMode = false;
    bool restoring = false;
    bool restoreFailed = false;  // a registration failed while restoring
    bool signUpOnly = false;
    bool attemptDone = false;

    bool anyFailure() const { return failedWith403 || failedWith401or408 || failedWith404; }
    bool allFailures() const { return failedWith403 && failedWith401or408 && failedWith404; }
    void clearFailures() { failedWith403 = failedWith401or408 = failedWith404 = 0; }
};

// The main window's flags that sign-in and registration results share.
struct MainWindowFlags {
    bool mainWindowActive = false;
    bool running = false;  // the main window has initialised
    bool autoSignIn = false;
    bool registrationConfirmed = false;
    bool reloginNeeded = false;
    bool accountLoginPause = false;   // "Account Login" waits before its dialog
    bool closeBothRequested = false;  // a failure during that pause
};

}
