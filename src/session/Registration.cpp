#include "session/Registration.h"

namespace orvanta {

namespace {

// 403 and 408 end whatever waits for the registration.
RegistrationEffect refusalEffect(SessionStage stage)
{
    switch (stage) {
    case SessionStage::SigningIn:
        return RegistrationEffect::SignInFailed;
    case SessionStage::AccountLoginPause:
        return RegistrationEffect::BothClosed;
    case SessionStage::Restoring:
        return RegistrationEffect::RestoreFailed;
    case SessionStage::MainWindow:
        return RegistrationEffect::MainWindowClosed;
    case SessionStage::Ended:
        break;
    }
    return RegistrationEffect::None;
}

// 401 and 404 concern only an open sign-in dialog.
RegistrationEffect dialogEffect(SessionStage stage)
{
    const bool dialogOpen = stage == SessionStage::SigningIn || stage == SessionStage::Restoring;
    return dialogOpen ? RegistrationEffect::SignInFailed : RegistrationEffect::None;
}

}

std::optional<RegistrationOutcome> registrationOutcome(int sipCode, SessionStage stage)
{
    const auto failed = [](RegistrationFailure failure, RegistrationEffect effect) {
        return RegistrationOutcome{RegistrationState::Failed, failure, effect};
    };
    switch (sipCode) {
    case 200:
        return RegistrationOutcome{RegistrationState::Registered, RegistrationFailure::None,
                                   RegistrationEffect::None};
    case 401:
        return failed(RegistrationFailure::WrongCredentials, dialogEffect(stage));
    case 403:
        return failed(RegistrationFailure::Forbidden, refusalEffect(stage));
    case 404:
        return failed(RegistrationFailure::NotFound, dialogEffect(stage));
    case 408:
        return failed(RegistrationFailure::TimedOut, refusalEffect(stage));
    default:
        return std::nullopt;
    }
}

}
