#pragma once

#include "signin/SignInState.h"

#include <QString>

namespace orvanta {

// What a registration result may do to the windows.
class RegistrationResultPort {
public:
    virtual ~RegistrationResultPort() = default;
    virtual void setSignInStatus(const QString& text) = 0;
    virtual void enableSignInEdits() = 0;
    virtual void showMessage(const QString& text) = 0;
    virtual void closeMainWindow() = 0;
};

// Applies one registration result (a SIP status code) to the flags and the
// windows.
void OnRegistrationState(int sipCode, SignInFlags& signIn, MainWindowFlags& main,
                         RegistrationResultPort& port);

}
