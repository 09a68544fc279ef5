#include "signin/RegistrationResult.h"

namespace orvanta {

namespace {

void failSignIn(SignInFlags& signIn, RegistrationResultPort& port, const QString& status,
                int& failureFlag)
{
    signIn.registered = false;
    signIn.registerFailed = true;
    port.setSignInStatus(status);
    failureFlag = 1;
    port.enableSignInEdits();
}

// 403 and 408 differ only in their texts and flag.
void rejectOrTimeout(SignInFlags& signIn, MainWindowFlags& main, RegistrationResultPort& port,
                     const QString& message, const QString& status, int& failureFlag)
{
    if (main.mainWindowActive) {
        port.showMessage(message);
        port.closeMainWindow();
    } else if (main.autoSignIn && !main.registrationConfirmed) {
        port.showMessage(message);
    } else if (signIn.restoring) {
        signIn.restoreFailed = true;
    } else if (main.accountLoginPause) {
        port.showMessage(message);
        main.closeBothRequested = true;
    } else {
        failSignIn(signIn, port, status, failureFlag);
    }
    if (main.autoSignIn) {
        main.registrationConfirmed = false;
    }
}

}

void OnRegistrationState(int sipCode, SignInFlags& signIn, MainWindowFlags& main,
                         RegistrationResultPort& port)
{
    switch (sipCode) {
    case 200:
        main.mainWindowActive = true;
        signIn.registered = true;
        if (main.autoSignIn) {
            main.registrationConfirmed = true;
        }
        break;
    case 401:
        failSignIn(signIn, port, QStringLiteral("Wrong Username/Password"),
                   signIn.failedWith401or408);
        break;
    case 403:
        rejectOrTimeout(signIn, main, port,
                        QStringLiteral("Wrong Username/Password \nPlease contact support team"),
                        QStringLiteral("Wrong Username/Password"), signIn.failedWith403);
        break;
    case 404:
        failSignIn(signIn, port, QStringLiteral("User Not Found"), signIn.failedWith404);
        break;
    case 408:
        rejectOrTimeout(signIn, main, port,
                        QStringLiteral("Request Timedout \nPlease contact support team"),
                        QStringLiteral("Request Timeout"), signIn.failedWith401or408);
        break;
    default:
        break;
    }
}

}
