#pragma once

#include <optional>

namespace orvanta {

// Where the account's registration stands. A later automatic retry after a
// registrar outage fits in as its own state between Failed and Registering.
enum class RegistrationState {
    Unregistered,  // no account registered with the engine
    Registering,   // registered with the engine, no result yet
    Registered,    // the registrar accepted (200)
    Failed,        // the registrar refused or did not answer; see the failure
};

enum class RegistrationFailure {
    None,
    WrongCredentials,  // 401
    Forbidden,         // 403
    NotFound,          // 404
    TimedOut,          // 408
};

// Who waits for a registration result, which decides what a failure does.
enum class SessionStage {
    SigningIn,          // a sign-in dialog waits for it
    AccountLoginPause,  // "Account Login" pauses before its dialog opens
    Restoring,          // Account Login was closed: the previous account registers again
    MainWindow,         // the main window runs
    Ended,              // the main window has closed
};

// What a result does besides changing the state.
enum class RegistrationEffect {
    None,
    SignInFailed,      // the sign-in dialog shows the failure and frees its edits
    MainWindowClosed,  // a message, then the main window closes
    RestoreFailed,     // the restore wait ends in failure
    BothClosed,        // a message, then Account Login closes both windows
};

struct RegistrationOutcome {
    RegistrationState state = RegistrationState::Unregistered;
    RegistrationFailure failure = RegistrationFailure::None;
    RegistrationEffect effect = RegistrationEffect::None;
};

// What a registration result (a SIP status code) means at this stage;
// nothing for codes that change nothing.
std::optional<RegistrationOutcome> registrationOutcome(int sipCode, SessionStage stage);

}
