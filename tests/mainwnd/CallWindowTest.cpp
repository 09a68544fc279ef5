// Calls through the main window's controls, against the scripted engine.
#include "MainWindowHarness.h"
#include "controls/MessageBox.h"
#include "mainwnd/CZebSoftPhoneDlg.h"
#include "signin/CMainLogin.h"
#include "support/ScriptedEngine.h"
#include "support/TestEnvironment.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using namespace orvanta;

class CallWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        harness_.buildOnScriptedEngine(scripted_);
        window_ = harness_.window();
        harness_.core->setConnectivityCheck([this] { return online_; });
        harness_.openWithSavedAccount(QStringLiteral("alice"), QStringLiteral("pw"));
        ASSERT_TRUE(QTest::qWaitFor([this] { return status() == "Ready : alice"; }, 2000));
        scripted_.fireRegistration(21, 200);
        ASSERT_TRUE(
            QTest::qWaitFor([this] { return !window_->face().balance()->text().isEmpty(); }, 2000));
    }

    void click(const QString& name) { harness_.click(name); }
    void fire(int callId, int state)
    {
        scripted_.fireCallState(callId, state);
        ASSERT_TRUE(scripted_.waitIdle());
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    QString status() const { return harness_.status(); }
    void picture(const char* name) { harness_.picture(name); }
    int balanceQueries() const { return static_cast<int>(harness_.portal->balances.size()); }
    std::vector<MainWindowHarness::LoggedCall> callLog() const { return harness_.loggedCalls(); }

    MainWindowHarness harness_;
    test::ScriptedEngine scripted_;
    std::vector<QString>& messages_ = harness_.messages;
    CZebSoftPhoneDlg* window_ = nullptr;
    bool online_ = true;
};

TEST_F(CallWindowTest, DialledCallRunsThroughItsStatesAndIsLogged)
{
    EXPECT_EQ(window_->face().balance()->text(), QStringLiteral("Balance :12.50USD"));
    picture("main-window-idle.png");
    scripted_.setResult("dll_makeCall", 7);
    for (const char* key : {"4", "4", "2", "0"}) {
        click(QString::fromLatin1(key));
    }
    EXPECT_EQ(window_->face().numberDisplay()->text(), QStringLiteral("4420"));
    click(QStringLiteral("Dial"));
    // No sound server here: the missing microphone is said, the call goes out.
    EXPECT_EQ(harness_.microphoneNotices, 1);
    const auto dialled = scripted_.callsTo("dll_makeCall");
    ASSERT_EQ(dialled.size(), 1u);
    EXPECT_EQ(dialled[0].intArg(0), 21);
    EXPECT_EQ(dialled[0].textArg(1), "sip:4420@reg.example");

    fire(7, ORVANTA_CALL_CALLING);
    EXPECT_EQ(status(), QStringLiteral("Calling..."));
    fire(7, ORVANTA_CALL_RINGING);
    EXPECT_EQ(status(), QStringLiteral("Ringing..."));
    fire(7, ORVANTA_CALL_CONNECTED);
    EXPECT_EQ(status(), QStringLiteral("Connected..."));
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return window_->face().callTimer()->text() == QStringLiteral("00:00:01"); },
        2500));
    picture("main-window-connected.png");

    // Keys during the call are tones, not number digits.
    QTest::keyClick(window_, Qt::Key_5);
    ASSERT_EQ(scripted_.callsTo("dll_dialDtmf").size(), 1u);
    EXPECT_EQ(scripted_.callsTo("dll_dialDtmf")[0].textArg(1), "5");

    const int queriesBefore = balanceQueries();
    click(QStringLiteral("Hang Up"));
    EXPECT_EQ(scripted_.callsTo("dll_releaseCall").size(), 1u);
    fire(7, ORVANTA_CALL_DISCONNECTED);
    EXPECT_EQ(status(), QStringLiteral("Disconnected..."));
    ASSERT_EQ(callLog().size(), 1u);
    EXPECT_EQ(callLog()[0].kind, 'D');
    EXPECT_EQ(callLog()[0].number, QStringLiteral("4420"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return balanceQueries() > queriesBefore; }, 2000))
        << "the balance is fetched again after a connected call";
    ASSERT_TRUE(QTest::qWaitFor([this] { return status() == "Ready : alice"; }, 2000));
}

TEST_F(CallWindowTest, RedialButtonDialsTheLineAgain)
{
    scripted_.setResult("dll_makeCall", 12);
    click(QStringLiteral("4"));
    click(QStringLiteral("Dial"));
    fire(12, ORVANTA_CALL_CALLING);
    fire(12, ORVANTA_CALL_DISCONNECTED);
    scripted_.setResult("dll_makeCall", 13);
    click(QStringLiteral("Redial"));
    const auto dialled = scripted_.callsTo("dll_makeCall");
    ASSERT_EQ(dialled.size(), 2u);
    EXPECT_EQ(dialled[1].textArg(1), "sip:4@reg.example");
    fire(13, ORVANTA_CALL_CALLING);
    EXPECT_EQ(status(), QStringLiteral("Calling..."));
}

TEST_F(CallWindowTest, QuitIsRefusedWhileTheSelectedLineIsInUse)
{
    scripted_.setResult("dll_makeCall", 8);
    click(QStringLiteral("1"));
    click(QStringLiteral("Dial"));
    fire(8, ORVANTA_CALL_CALLING);
    click(QStringLiteral("Close"));
    EXPECT_EQ(messages_, std::vector<QString>{"Please disconnect call first"});
    EXPECT_TRUE(window_->isVisible());
}

TEST_F(CallWindowTest, ConferenceOfTwoLines)
{
    scripted_.queueResult("dll_makeCall", 11);
    scripted_.queueResult("dll_makeCall", 12);
    click(QStringLiteral("1"));
    click(QStringLiteral("Dial"));
    fire(11, ORVANTA_CALL_CALLING);
    fire(11, ORVANTA_CALL_CONNECTED);
    click(QStringLiteral("Line 3"));
    click(QStringLiteral("2"));
    click(QStringLiteral("Dial"));
    fire(12, ORVANTA_CALL_CALLING);
    fire(12, ORVANTA_CALL_CONNECTED);
    click(QStringLiteral("Conference"));
    EXPECT_FALSE(scripted_.callsTo("dll_callConference").empty());
    EXPECT_TRUE(window_->face().button(QStringLiteral("Conference"))->isChecked());
    picture("main-window-conference.png");
}

TEST_F(CallWindowTest, LostInternetEndsTheCallAndItsReturnShowsReadyOnce)
{
    scripted_.setResult("dll_makeCall", 9);
    click(QStringLiteral("1"));
    click(QStringLiteral("Dial"));
    fire(9, ORVANTA_CALL_CALLING);
    fire(9, ORVANTA_CALL_CONNECTED);
    online_ = false;
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return window_->face().internetLabel()->text() == "! No Internet Access"; },
        2500));
    EXPECT_EQ(scripted_.callsTo("dll_releaseCall").size(), 1u);
    online_ = true;
    ASSERT_TRUE(QTest::qWaitFor([this] { return status() == "Ready : alice"; }, 2500));
    EXPECT_TRUE(window_->face().internetLabel()->text().isEmpty());
}

TEST_F(CallWindowTest, EveryControlHasAnAccessibleName)
{
    for (const char* name : {"Dial",
                             "Hang Up",
                             "Line 1",
                             "Line 4",
                             "0",
                             "#",
                             "*",
                             "Place call on hold",
                             "Transfer",
                             "Conference",
                             "Record",
                             "Auto answer",
                             "Do not disturb",
                             "Menu",
                             "Help",
                             "Close",
                             "Minimize",
                             "My Account",
                             "Clear",
                             "Back",
                             "Redial"}) {
        QAbstractButton* button = window_->face().button(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->accessibleName(), QString::fromLatin1(name));
    }
}

TEST_F(CallWindowTest, AutoAnswerToggleAnswersTheNextCall)
{
    click(QStringLiteral("Auto answer"));
    EXPECT_TRUE(window_->face().button(QStringLiteral("Auto answer"))->isChecked());
    scripted_.fireIncoming(30, "sip:5550100@reg.example");
    ASSERT_TRUE(scripted_.waitIdle());
    ASSERT_TRUE(
        QTest::qWaitFor([this] { return !scripted_.callsTo("dll_answerCall").empty(); }, 2000));
    EXPECT_EQ(scripted_.callsTo("dll_answerCall")[0].intArg(0), 30);
}

TEST_F(CallWindowTest, MenuCommandsWaitForTheCallToEnd)
{
    scripted_.setResult("dll_makeCall", 10);
    click(QStringLiteral("1"));
    click(QStringLiteral("Dial"));
    fire(10, ORVANTA_CALL_CALLING);
    harness_.model().run(CommandId::AccountLogin);
    harness_.model().run(CommandId::About);
    harness_.model().run(CommandId::VoiceTest);
    EXPECT_EQ(messages_, (std::vector<QString>{"Call is in progress", "Call is in progress",
                                               "Call is in progress"}));
    EXPECT_TRUE(scripted_.callsTo("dll_shutdown").empty());
    click(QStringLiteral("Menu"));
    EXPECT_FALSE(window_->settingsMenu()->isVisible()) << "no menu while the line is in use";
}

}
