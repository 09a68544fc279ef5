// What the core hands the windows: the contacts and recent-calls windows
// beside the main window, calls placed from them, the call log and its
// file, the settings sheet and the manual account dialog.
#include "MainWindowHarness.h"
#include "app/CallNotifications.h"
#include "contacts/CContact.h"
#include "history/CCall.h"
#include "settings/COptions.h"
#include "signin/CLogin.h"

#include <QFile>
#include <QLabel>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

namespace {

using namespace orvanta;

class DialerWiring : public testing::Test {
protected:
    void SetUp() override
    {
        harness_.buildOnScriptedEngine(scripted_);
        harness_.openWithSavedAccount(QStringLiteral("alice"), QStringLiteral("pw"));
        ASSERT_TRUE(QTest::qWaitFor([this] { return harness_.status() == "Ready : alice"; }, 2000));
        scripted_.fireRegistration(MainWindowHarness::kScriptedAccount, 200);
        ASSERT_TRUE(scripted_.waitIdle());
        QCoreApplication::processEvents();
    }

    void fire(int callId, int state)
    {
        scripted_.fireCallState(callId, state);
        ASSERT_TRUE(scripted_.waitIdle());
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    SidePanel* panel(const char* accessibleName) const
    {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* side = qobject_cast<SidePanel*>(widget);
            if (side && side->isVisible() && side->windowTitle() == accessibleName) {
                return side;
            }
        }
        return nullptr;
    }

    // Closes the next modal dialog of type Dialog once it shows, and tells
    // whether one did.
    template <typename Dialog>
    std::shared_ptr<bool> closeNextModal()
    {
        auto seen = std::make_shared<bool>(false);
        QTimer::singleShot(50, [seen] {
            if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
                *seen = true;
                dialog->reject();
            }
        });
        return seen;
    }

    MainWindowHarness harness_;
    test::ScriptedEngine scripted_;
};

TEST_F(DialerWiring, SideWindowsOpenBesideTheMainWindowOnlyWhenRegistered)
{
    const struct {
        const char* button;
        const char* title;
        bool right;
    } cases[] = {
        {"Contacts", "Contacts", true},
        {"Recent Calls", "Recent Calls", false},
    };
    QWidget* main = harness_.window();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        harness_.core->calls().state().callsAllowed = false;
        harness_.click(QString::fromLatin1(c.button));
        EXPECT_EQ(harness_.messages.back(), QStringLiteral("You are not Registered"));
        EXPECT_EQ(panel(c.title), nullptr);

        harness_.core->calls().state().callsAllowed = true;
        harness_.click(QString::fromLatin1(c.button));
        SidePanel* shown = panel(c.title);
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->size(), SidePanel::kSize);
        if (c.right) {
            EXPECT_GE(shown->x(), main->x() + main->width() - 1);
        } else {
            EXPECT_LE(shown->x() + shown->width(), main->x() + 1);
        }
        shown->hide();
    }
}

TEST_F(DialerWiring, ClosingASideWindowOffersTheRecentCallsAgain)
{
    QAbstractButton* back = harness_.face().button(QStringLiteral("<<"));
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(back->isHidden());
    harness_.click(QStringLiteral("Contacts"));
    SidePanel* contacts = panel("Contacts");
    ASSERT_NE(contacts, nullptr);
    QTest::mouseClick(contacts->closeButton(), Qt::LeftButton);
    EXPECT_FALSE(contacts->isVisible());
    EXPECT_FALSE(back->isHidden());
    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_NE(panel("Recent Calls"), nullptr);
}

// A call placed from the contacts window goes the call button's way, shows
// the contact's name, and lands in the call log under that name, in the
// file too once the dialer quits.
TEST_F(DialerWiring, ACallFromTheContactsIsLoggedUnderTheContactsName)
{
    Contact bob;
    bob.name = QStringLiteral("Bob");
    bob.mobile = QStringLiteral("4420");
    ASSERT_TRUE(harness_.core->contacts().add(bob));
    harness_.click(QStringLiteral("Contacts"));
    auto* contacts = static_cast<CContact*>(panel("Contacts"));
    ASSERT_NE(contacts, nullptr);
    contacts->model().select(0);
    scripted_.setResult("dll_makeCall", 7);
    contacts->callContact();

    const auto dialled = scripted_.callsTo("dll_makeCall");
    ASSERT_EQ(dialled.size(), 1u);
    EXPECT_EQ(dialled[0].textArg(1), "sip:4420@reg.example");
    EXPECT_EQ(harness_.face().numberDisplay()->text(), QStringLiteral("4420"));
    fire(7, ORVANTA_CALL_CONNECTED);
    fire(7, ORVANTA_CALL_DISCONNECTED);

    const CallLog::List& log = harness_.core->callLog().list(CallKind::Dialed);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].entry.number, QStringLiteral("4420"));
    EXPECT_EQ(log[0].entry.name, QStringLiteral("Bob"));

    harness_.model().quitNow();
    QFile file(harness_.temp / "data" / "CallLog_Orvanta.bin");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const auto lists = decodeCallLogFile(file.readAll());
    ASSERT_EQ(lists[0].size(), 1u);
    EXPECT_EQ(lists[0][0].name, QStringLiteral("Bob"));
    EXPECT_TRUE(QFile::exists(harness_.temp / "data" / "contact_Orvanta.bin"));
}

TEST_F(DialerWiring, AnOfferNobodyAnsweredIsLoggedAsMissed)
{
    scripted_.fireIncoming(9, "sip:4421@10.0.0.1");
    ASSERT_TRUE(scripted_.waitIdle());
    QCoreApplication::processEvents();
    fire(9, ORVANTA_CALL_DISCONNECTED);
    const CallLog::List& missed = harness_.core->callLog().list(CallKind::Missed);
    ASSERT_EQ(missed.size(), 1u);
    EXPECT_EQ(missed[0].entry.number, QStringLiteral("4421"));
}

TEST_F(DialerWiring, SettingsSheetOpensFromTheMenu)
{
    auto sheet = closeNextModal<COptions>();
    EXPECT_TRUE(harness_.model().run(CommandId::Settings));
    EXPECT_TRUE(*sheet);
}

// "Login" runs the manual account dialog only while no line has a call.
TEST_F(DialerWiring, LoginOpensTheManualAccountDialogWhileTheLinesAreFree)
{
    auto login = closeNextModal<CLogin>();
    harness_.click(QStringLiteral("Login"));
    EXPECT_TRUE(*login);

    scripted_.setResult("dll_makeCall", 7);
    harness_.core->dial(QStringLiteral("4420"));
    ASSERT_EQ(scripted_.callsTo("dll_makeCall").size(), 1u);
    fire(7, ORVANTA_CALL_CALLING);
    auto refused = closeNextModal<CLogin>();
    harness_.click(QStringLiteral("Login"));
    QTest::qWait(100);
    EXPECT_FALSE(*refused);
}

// Keeps what the dialer shows and takes back.
struct FakeNotifier : platform::DesktopNotifier {
    int notify(const platform::Notification& notification) override
    {
        shown.push_back(notification);
        return static_cast<int>(shown.size());
    }
    void withdraw(int handle) override { withdrawn.push_back(handle); }
    std::vector<platform::Notification> shown;
    std::vector<int> withdrawn;
};

class DialerNotifications : public DialerWiring {
protected:
    void SetUp() override
    {
        DialerWiring::SetUp();
        notifications_ = std::make_unique<CallNotifications>(*harness_.core, notifier_);
    }

    void offer(int callId, const char* callerUri)
    {
        scripted_.fireIncoming(callId, callerUri);
        ASSERT_TRUE(scripted_.waitIdle());
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        ASSERT_EQ(notifier_.shown.size(), 1u);
        EXPECT_EQ(notifier_.shown[0].kind, platform::Notification::Kind::IncomingCall);
        EXPECT_EQ(notifier_.shown[0].body, QStringLiteral("4421"));
    }
    void choose(platform::DesktopNotifier::Action action)
    {
        emit notifier_.actionChosen(1, action);
        ASSERT_TRUE(scripted_.waitIdle());
    }

    FakeNotifier notifier_;
    std::unique_ptr<CallNotifications> notifications_;
};

TEST_F(DialerNotifications, AnOfferAnsweredFromItsNotificationIsTakenBack)
{
    offer(9, "sip:4421@10.0.0.1");
    choose(platform::DesktopNotifier::Action::Answer);
    const auto answered = scripted_.callsTo("dll_answerCall");
    ASSERT_EQ(answered.size(), 1u);
    EXPECT_EQ(answered[0].intArg(0), 9);
    fire(9, ORVANTA_CALL_CONNECTED);
    EXPECT_EQ(notifier_.withdrawn, std::vector<int>{1});
}

TEST_F(DialerNotifications, ADeclinedOfferEndsAndIsNotedAsMissed)
{
    offer(9, "sip:4421@10.0.0.1");
    choose(platform::DesktopNotifier::Action::Decline);
    ASSERT_EQ(scripted_.callsTo("dll_releaseCall").size(), 1u);
    EXPECT_TRUE(scripted_.callsTo("dll_answerCall").empty());
    fire(9, ORVANTA_CALL_DISCONNECTED);
    EXPECT_EQ(notifier_.withdrawn, std::vector<int>{1});
    ASSERT_EQ(notifier_.shown.size(), 2u);
    EXPECT_EQ(notifier_.shown[1].kind, platform::Notification::Kind::MissedCall);
    EXPECT_EQ(notifier_.shown[1].body, QStringLiteral("4421"));
}

TEST_F(DialerNotifications, AReceivedMessageIsNotified)
{
    scripted_.fireMessage("sip:bob@10.0.0.1", "call me");
    ASSERT_TRUE(QTest::qWaitFor([this] { return !notifier_.shown.empty(); }, 2000));
    EXPECT_EQ(notifier_.shown[0].kind, platform::Notification::Kind::Message);
    EXPECT_EQ(notifier_.shown[0].title, QStringLiteral("Message from bob"));
    EXPECT_EQ(notifier_.shown[0].body, QStringLiteral("call me"));
}

}
