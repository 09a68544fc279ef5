#include "session/Registration.h"
#include "session/Session.h"

#include <gtest/gtest.h>

namespace {

using namespace orvanta;
using Effect = RegistrationEffect;
using Failure = RegistrationFailure;
using Stage = SessionStage;

TEST(Registration, EachResultActsOnWhatWaitsForIt)
{
    const struct {
        int code;
        Stage stage;
        Failure failure;
        Effect effect;
    } cases[] = {
        {401, Stage::SigningIn, Failure::WrongCredentials, Effect::SignInFailed},
        {404, Stage::SigningIn, Failure::NotFound, Effect::SignInFailed},
        {403, Stage::SigningIn, Failure::Forbidden, Effect::SignInFailed},
        {408, Stage::SigningIn, Failure::TimedOut, Effect::SignInFailed},
        {403, Stage::MainWindow, Failure::Forbidden, Effect::MainWindowClosed},
        {408, Stage::MainWindow, Failure::TimedOut, Effect::MainWindowClosed},
        {401, Stage::MainWindow, Failure::WrongCredentials, Effect::None},
        {404, Stage::MainWindow, Failure::NotFound, Effect::None},
        {403, Stage::Restoring, Failure::Forbidden, Effect::RestoreFailed},
        {408, Stage::Restoring, Failure::TimedOut, Effect::RestoreFailed},
        {401, Stage::Restoring, Failure::WrongCredentials, Effect::SignInFailed},
        {403, Stage::AccountLoginPause, Failure::Forbidden, Effect::BothClosed},
        {408, Stage::AccountLoginPause, Failure::TimedOut, Effect::BothClosed},
        {403, Stage::Ended, Failure::Forbidden, Effect::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.code) + " at stage " + std::to_string(int(c.stage)));
        const auto outcome = registrationOutcome(c.code, c.stage);
        ASSERT_TRUE(outcome);
        EXPECT_EQ(outcome->state, RegistrationState::Failed);
        EXPECT_EQ(outcome->failure, c.failure);
        EXPECT_EQ(outcome->effect, c.effect);
    }
}

TEST(Registration, SuccessRegistersAndOtherCodesChangeNothing)
{
    for (Stage stage : {Stage::SigningIn, Stage::MainWindow, Stage::Restoring}) {
        const auto ok = registrationOutcome(200, stage);
        ASSERT_TRUE(ok);
        EXPECT_EQ(ok->state, RegistrationState::Registered);
        EXPECT_EQ(ok->effect, Effect::None);
    }
    for (int code : {100, 180, 486, 500, 503}) {
        EXPECT_FALSE(registrationOutcome(code, Stage::MainWindow)) << code;
    }
}

TEST(Session, ResultsUpdateTheStateAndReachListenersOnce)
{
    Session session;
    session.setStage(Stage::MainWindow);
    std::vector<RegistrationOutcome> heard;
    QObject::connect(&session, &Session::registrationChanged,
                     [&](const RegistrationOutcome& outcome) { heard.push_back(outcome); });
    session.registrationStarted();
    EXPECT_EQ(session.registrationState(), RegistrationState::Registering);
    session.onRegistrationResult(200);
    EXPECT_EQ(session.registrationState(), RegistrationState::Registered);
    session.onRegistrationResult(486);
    EXPECT_EQ(session.registrationState(), RegistrationState::Registered) << "ignored code";
    session.onRegistrationResult(408);
    EXPECT_EQ(session.registrationState(), RegistrationState::Failed);
    EXPECT_EQ(session.registrationFailure(), Failure::TimedOut);
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[1].effect, Effect::MainWindowClosed);
}

TEST(Session, ANewSignInReachesEveryHolderOfTheAccount)
{
    Session session;
    session.start(SignInRecord{0, {}, "old", "pw"}, false);
    int accountChanges = 0;
    QObject::connect(&session, &Session::accountChanged, [&] { ++accountChanges; });
    ProvisioningReply reply;
    reply.registrarIp = "reg.example";
    session.signedIn(SignInRecord{1, {}, "new", "pw2"}, SipAccount{"new", "sip", "reg.example", 31},
                     reply);
    EXPECT_EQ(session.userName(), "new");
    EXPECT_EQ(session.account().handle, 31);
    session.reregistered(32);
    EXPECT_EQ(session.account().handle, 32);
    EXPECT_EQ(session.account().password, "sip") << "the same account, registered again";
    EXPECT_EQ(accountChanges, 2);
}

TEST(Session, SipPasswordIsThePortalsWhenItGaveOne)
{
    PortalAnswer portal;
    EXPECT_EQ(sipPasswordFor(portal, "typed"), "typed");
    portal.sipPassword = QByteArray("demosip5521");
    EXPECT_EQ(sipPasswordFor(portal, "demo1234"), "demosip5521");
}

}
