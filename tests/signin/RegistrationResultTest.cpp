#include "signin/RegistrationResult.h"

#include <gtest/gtest.h>

namespace {

using namespace orvanta;

struct Recorder : RegistrationResultPort {
    void setSignInStatus(const QString& text) override { status = text; }
    void enableSignInEdits() override { editsEnabled = true; }
    void showMessage(const QString& text) override { message = text; }
    void closeMainWindow() override { closed = true; }
    QString status;
    QString message;
    bool editsEnabled = false;
    bool closed = false;
};

enum class Context {
    SignInDialog,
    MainWindowActive,
    AutoUnconfirmed,
    Restoring,
    AccountLoginPause
};

struct ResultCase {
    const char* name;
    int code;
    Context context;
    QString status;
    QString message;
    bool closed;
    bool registerFailed;
};

const QString kWrongMessage =
    QStringLiteral("Wrong Username/Password \nPlease contact support team");
const QString kTimeoutMessage = QStringLiteral("Request Timedout \nPlease contact support team");

TEST(RegistrationResult, EachCodeActsOnTheWindowThatWaitsForIt)
{
    const ResultCase cases[] = {
        {"401", 401, Context::SignInDialog, "Wrong Username/Password", {}, false, true},
        {"404", 404, Context::SignInDialog, "User Not Found", {}, false, true},
        {"403 in dialog", 403, Context::SignInDialog, "Wrong Username/Password", {}, false, true},
        {"408 in dialog", 408, Context::SignInDialog, "Request Timeout", {}, false, true},
        {"403 main window", 403, Context::MainWindowActive, {}, kWrongMessage, true, false},
        {"408 main window", 408, Context::MainWindowActive, {}, kTimeoutMessage, true, false},
        {"403 saved account", 403, Context::AutoUnconfirmed, {}, kWrongMessage, false, false},
        {"408 restoring", 408, Context::Restoring, {}, {}, false, false},
        {"403 account login pause",
         403,
         Context::AccountLoginPause,
         {},
         kWrongMessage,
         false,
         false},
        {"other code", 486, Context::SignInDialog, {}, {}, false, false},
    };
    for (const ResultCase& c : cases) {
        SCOPED_TRACE(c.name);
        SignInFlags signIn;
        MainWindowFlags main;
        main.mainWindowActive = c.context == Context::MainWindowActive;
        main.autoSignIn = c.context == Context::AutoUnconfirmed;
        signIn.restoring = c.context == Context::Restoring;
        main.accountLoginPause = c.context == Context::AccountLoginPause;
        Recorder port;
        OnRegistrationState(c.code, signIn, main, port);
        EXPECT_EQ(port.status, c.status);
        EXPECT_EQ(port.message, c.message);
        EXPECT_EQ(port.closed, c.closed);
        EXPECT_EQ(signIn.registerFailed, c.registerFailed);
        EXPECT_EQ(port.editsEnabled, c.registerFailed);
        EXPECT_EQ(signIn.restoreFailed, c.context == Context::Restoring);
        EXPECT_EQ(main.closeBothRequested, c.context == Context::AccountLoginPause);
    }
}

TEST(RegistrationResult, FailureFlagsMatchTheirCodes)
{
    for (int code : {401, 403, 404, 408}) {
        SignInFlags signIn;
        MainWindowFlags main;
        Recorder port;
        OnRegistrationState(code, signIn, main, port);
        EXPECT_EQ(signIn.failedWith403, code == 403 ? 1 : 0) << code;
        EXPECT_EQ(signIn.failedWith401or408, code == 401 || code == 408 ? 1 : 0) << code;
        EXPECT_EQ(signIn.failedWith404, code == 404 ? 1 : 0) << code;
    }
}

TEST(RegistrationResult, SuccessConfirmsASavedAccountAndAFailureWithdrawsIt)
{
    SignInFlags signIn;
    MainWindowFlags main;
    main.autoSignIn = true;
    Recorder port;
    OnRegistrationState(200, signIn, main, port);
    EXPECT_TRUE(signIn.registered);
    EXPECT_TRUE(main.mainWindowActive);
    EXPECT_TRUE(main.registrationConfirmed);

    OnRegistrationState(408, signIn, main, port);
    EXPECT_TRUE(port.closed) << "the main window was active";
    EXPECT_FALSE(main.registrationConfirmed);
}

}
