// The main window's sign-in side against the scripted engine: saved-account
// start, its 2000 ms check, registration failures, messages, its menu and
// quitting.
#include "MainWindowHarness.h"
#include "records/RecordDump.h"
#include "records/RecordFile.h"

#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

// Takes the pages the dialer opens instead of a browser.
class PageCatcher : public QObject {
    Q_OBJECT

public:
    PageCatcher()
    {
        for (const char* scheme : {"http", "https"}) {
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
        }
    }
    ~PageCatcher() override
    {
        for (const char* scheme : {"http", "https"}) {
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
        }
    }
    QStringList pages;

public slots:
    void open(const QUrl& url) { pages << url.toString(); }
};

namespace {

using namespace orvanta;

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        harness_.buildOnScriptedEngine(scripted_);
        PortalAnswer answer;
        answer.sipPassword = QByteArray("portal-sip");
        harness_.portal->login = answer;
    }

    void startWithSavedAccount()
    {
        harness_.openWithSavedAccount(QStringLiteral("alice"), QStringLiteral("pw"));
        ASSERT_TRUE(QTest::qWaitFor(
            [this] { return !scripted_.callsTo("dll_registerAccount").empty(); }, 2000));
    }

    static SignInRecord savedRecord()
    {
        SignInRecord record;
        loadRecordFile(kSignInRecordKind, record);
        return record;
    }

    MainWindowHarness harness_;
    test::ScriptedEngine scripted_;
    std::vector<QString>& messages_ = harness_.messages;
    const test::TempDir& temp_ = harness_.temp;
};

TEST_F(MainWindowTest, SavedAccountRegistersWithThePortalPasswordAndStaysOpenWhenConfirmed)
{
    startWithSavedAccount();
    EXPECT_EQ(harness_.portal->logins, QStringList{"alice/pw"});
    const auto registrations = scripted_.callsTo("dll_registerAccount");
    ASSERT_EQ(registrations.size(), 1u);
    EXPECT_EQ(registrations[0].textArg(0), "sip:alice@reg.example");
    EXPECT_EQ(registrations[0].textArg(4), "portal-sip");
    EXPECT_EQ(scripted_.callsTo("dll_init").size(), 1u);
    ASSERT_TRUE(QTest::qWaitFor([this] { return harness_.status() == "Ready : alice"; }, 1000));
    EXPECT_EQ(harness_.face().banner()->text(), QStringLiteral("Hi"));
    EXPECT_EQ(harness_.face().footer()->text(), QStringLiteral("Bye"));

    scripted_.fireRegistration(21, 200);
    QTest::qWait(2300);
    EXPECT_FALSE(harness_.finished());
    EXPECT_TRUE(messages_.empty());
}

// No answer from the registrar is a fault of the network or the servers,
// not of the password: the next start signs in by itself again.
TEST_F(MainWindowTest, UnconfirmedSavedAccountKeepsItsPasswordForTheNextStart)
{
    ASSERT_TRUE(saveRecordFile(
        kSignInRecordKind,
        SignInRecord{1, QString(), QStringLiteral("alice"), QStringLiteral("pw")}.forSaving()));
    startWithSavedAccount();
    ASSERT_TRUE(QTest::qWaitFor([this] { return harness_.finished(); }, 3000));
    const SignInRecord saved = savedRecord();
    EXPECT_EQ(saved.savePassword, 1);
    EXPECT_EQ(saved.userName, QStringLiteral("alice"));
    EXPECT_EQ(saved.password, QStringLiteral("pw"));
}

TEST_F(MainWindowTest, RejectedSavedAccountSaysSoAndFallsBack)
{
    startWithSavedAccount();
    scripted_.fireRegistration(21, 403);
    ASSERT_TRUE(QTest::qWaitFor([this] { return harness_.finished(); }, 2000));
    EXPECT_EQ(messages_,
              std::vector<QString>{"Wrong Username/Password \nPlease contact support team"});
    EXPECT_EQ(savedRecord().savePassword, 0);
    EXPECT_TRUE(savedRecord().password.isEmpty()) << "no longer asked to keep it";
}

// One harness per case: the engine's event bridge exists once per process.
TEST(MainWindowCases, RefusedOrMissingReplyIsNotShownAsReady)
{
    const struct {
        const char* name;
        QByteArray reply;
        const char* status;
        std::vector<QString> messages;
    } cases[] = {
        {"inactive", R"({"status":"2"})", "Inactive Dialer", {}},
        {"invalid", R"({"status":"3"})", "Invalid Dialer", {}},
        {"no reply", "", "", {"Please check your Internet and Re-login"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MainWindowHarness harness;
        test::ScriptedEngine scripted;
        harness.buildOnScriptedEngine(scripted);
        harness.provisioning->reply = c.reply;
        harness.openWithSavedAccount(QStringLiteral("alice"), QStringLiteral("pw"));
        QTest::qWait(100);
        EXPECT_EQ(harness.status(), QString::fromLatin1(c.status));
        EXPECT_EQ(harness.messages, c.messages);
        EXPECT_FALSE(harness.core->calls().state().callsAllowed);
        EXPECT_TRUE(scripted.callsTo("dll_registerAccount").empty());
    }
}

TEST_F(MainWindowTest, ReceivedMessageShowsInTheBanner)
{
    startWithSavedAccount();
    scripted_.fireMessage("sip:bob@10.0.0.1", "call me");
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return harness_.face().banner()->text() == "Message from bob: call me"; }, 2000));
}

TEST_F(MainWindowTest, QuitAsksFirstThenSavesBothRecords)
{
    harness_.core->start(SignInRecord{1, QString(), QStringLiteral("carol"), QStringLiteral("pw")},
                         false);
    harness_.model().open();
    harness_.answer = false;
    harness_.model().requestQuit(false);
    EXPECT_EQ(messages_, std::vector<QString>{"Are you sure you want to close the Application?"});
    EXPECT_FALSE(harness_.finished());
    EXPECT_FALSE(std::filesystem::exists(temp_ / "data" / "account_Orvanta.bin"));

    harness_.answer = true;
    harness_.window()->close();
    EXPECT_EQ(messages_.back(), QStringLiteral("Are you sure you want to close the Application ?"));
    EXPECT_TRUE(harness_.finished());
    EXPECT_FALSE(harness_.window()->isVisible());
    const auto bytes = readRecordFileBytes(kSignInRecordKind);
    ASSERT_TRUE(bytes);
    const auto dump =
        dumpRecordFile(signInRecordKinds(), QStringLiteral("account_Orvanta.bin"), *bytes);
    EXPECT_TRUE(dump && dump->complete);
    EXPECT_EQ(savedRecord().password, QStringLiteral("pw"));
    EXPECT_TRUE(std::filesystem::exists(temp_ / "data" / "IP_Orvanta.bin"));
}

TEST_F(MainWindowTest, TypedSignInHandsItsAccountToTheMainWindow)
{
    ASSERT_NE(harness_.signInByDialog(scripted_, QStringLiteral("dave"), QStringLiteral("typed")),
              nullptr);
    const auto registrations = scripted_.callsTo("dll_registerAccount");
    ASSERT_EQ(registrations.size(), 1u);
    EXPECT_EQ(registrations[0].textArg(3), "dave");
    EXPECT_EQ(registrations[0].textArg(4), "portal-sip");
    EXPECT_TRUE(registrations[0].isNull(5)) << "no proxy without encryption";

    harness_.window()->show();
    harness_.model().open();
    EXPECT_EQ(harness_.status(), QStringLiteral("Ready : dave"));
    EXPECT_EQ(harness_.core->calls().state().accountHandle, 21);
    EXPECT_EQ(scripted_.callsTo("dll_registerAccount").size(), 1u) << "registered once";
}

TEST_F(MainWindowTest, MenuComesFromTheCommandTable)
{
    startWithSavedAccount();
    QStringList labels;
    for (const QAction* action : harness_.window()->settingsMenu()->actions()) {
        labels << action->text();
    }
    EXPECT_EQ(labels, (QStringList{"Account Login", "About...", "Recharge Online", "Friend List",
                                   "Call Records", "Rates", "Recharge", "SMS", "Voice Test",
                                   "Audio", "Settings", "Exit"}));
    QAbstractButton* menu = harness_.face().button(QStringLiteral("Menu"));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->accessibleName(), QStringLiteral("Menu"));
    EXPECT_EQ(menu->toolTip(), QStringLiteral("Settings"));

    // Each entry runs its command: Exit asks, as the window's close button does.
    harness_.answer = false;
    harness_.window()->settingsMenu()->actions().last()->trigger();
    EXPECT_EQ(messages_.back(), QStringLiteral("Are you sure you want to close the Application?"));
}

TEST_F(MainWindowTest, ProvisionedPagesOpenFromTheWindowAndTheMenu)
{
    PageCatcher catcher;
    startWithSavedAccount();
    ASSERT_TRUE(QTest::qWaitFor([this] { return harness_.status() == "Ready : alice"; }, 1000));
    harness_.click(QStringLiteral("My Account"));
    ASSERT_TRUE(harness_.model().run(CommandId::RechargePage));
    EXPECT_EQ(catcher.pages, (QStringList{"http://my.example/", "http://recharge.example/"}));
}

TEST_F(MainWindowTest, APageNoBrowserCouldOpenIsGivenAsAnAddress)
{
    QObject refuser;  // its missing slot makes the opening fail
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &refuser, "noSuchSlot");
    startWithSavedAccount();
    ASSERT_TRUE(QTest::qWaitFor([this] { return harness_.status() == "Ready : alice"; }, 1000));
    harness_.click(QStringLiteral("My Account"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    ASSERT_FALSE(messages_.empty());
    EXPECT_EQ(messages_.back(), QStringLiteral("No web browser could be started.\n"
                                               "Please open this address yourself:\n"
                                               "http://my.example/"));
}

TEST(MainWindowCases, RechargeWithoutAPageSaysSoInsteadOfOpeningOne)
{
    PageCatcher catcher;
    MainWindowHarness other;
    test::ScriptedEngine scripted;
    other.buildOnScriptedEngine(scripted);
    other.provisioning->reply = R"({"status":"1","registrarip":"reg.example"})";
    other.openWithSavedAccount(QStringLiteral("alice"), QStringLiteral("pw"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return other.status() == "Ready : alice"; }, 1000));
    other.model().run(CommandId::RechargePage);
    EXPECT_EQ(other.messages,
              std::vector<QString>{"Request cannot be processed,Please contact support"});
    EXPECT_TRUE(catcher.pages.isEmpty());
}

TEST_F(MainWindowTest, LabelsAndTooltipsOfTheWindowsOwnControls)
{
    startWithSavedAccount();
    EXPECT_EQ(harness_.face().lastCall()->text(), QStringLiteral("Last Call  :"));
    EXPECT_TRUE(harness_.face().remainingTime()->text().isEmpty()) << "nothing knows it yet";
    const struct {
        const char* name;
        const char* tooltip;
    } controls[] = {
        {"Dial", "Dial"},
        {"Hang Up", "Hang Up"},
        {"My Account", "My Account"},
        {"Back", "Back"},
        {"Menu", "Settings"},
        {"Clear", "Clear"},
        {"Minimize", "Minimize"},
        {"Close", "Close"},
        {"Help", "Help"},
        {"Transfer", "Transfer"},
        {"Record", "Record"},
        {"Conference", "Conference"},
        {"Auto answer", "Auto answer"},
        {"Do not disturb", "Do not disturb"},
        {"Place call on hold", "Place call on hold"},
    };
    for (const auto& c : controls) {
        QAbstractButton* button = harness_.face().button(QString::fromLatin1(c.name));
        ASSERT_NE(button, nullptr) << c.name;
        EXPECT_EQ(button->toolTip(), QString::fromLatin1(c.tooltip)) << c.name;
    }
}

TEST_F(MainWindowTest, HelpOpensTheAboutBoxWithTheVersion)
{
    startWithSavedAccount();
    harness_.click(QStringLiteral("Help"));
    QWidget* about = harness_.windows->coordinator().existing(WindowId::About);
    ASSERT_NE(about, nullptr) << "created on first use";
    EXPECT_TRUE(about->isVisible());
    const QLabel* version = about->findChild<QLabel*>();
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), QStringLiteral(ORVANTA_PRODUCT_VERSION));
    about->hide();
    harness_.click(QStringLiteral("Help"));
    EXPECT_EQ(harness_.windows->coordinator().existing(WindowId::About), about) << "kept";
}

TEST(MainWindowCases, BalanceAnswersAndFailuresAreShown)
{
    const struct {
        const char* name;
        BalanceFailure failure;
        const char* balance;  // nullptr: no answer
        QString label;
        std::vector<QString> messages;
    } cases[] = {
        {"answer", BalanceFailure::None, "7.25", "Balance :7.25EUR", {}},
        {"unreadable keeps the text", BalanceFailure::Unreadable, nullptr, "", {}},
        {"unreachable",
         BalanceFailure::Unreachable,
         nullptr,
         "",
         {"Received Exception from OpenURL()"}},
        {"refused", BalanceFailure::Refused, nullptr, "", {"Error in OpenURL"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MainWindowHarness harness;
        test::ScriptedEngine scripted;
        harness.buildOnScriptedEngine(scripted);
        harness.portal->balance.failure = c.failure;
        harness.portal->balance.answer.reset();
        if (c.balance) {
            harness.portal->balance.answer = BalanceAnswer{c.balance, "EUR"};
        }
        harness.openWithSavedAccount(QStringLiteral("alice"), QStringLiteral("pw"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !harness.portal->balances.isEmpty(); }, 2000));
        QTest::qWait(20);
        EXPECT_EQ(harness.portal->balances, QStringList{"alice"});
        EXPECT_EQ(harness.face().balance()->text(), c.label);
        EXPECT_EQ(harness.messages, c.messages);
    }
}

TEST_F(MainWindowTest, MessageBoxesOpenOverTheirWindow)
{
    setMessageBoxHandler({});
    QWidget* window = harness_.window();
    const QRect screen = window->screen()->availableGeometry();
    window->move(screen.topLeft() + QPoint(300, 40));
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    QPoint boxCentre;
    QTimer::singleShot(200, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxCentre = box->frameGeometry().center();
            box->accept();
        }
    });
    showMessage(window, QStringLiteral("Over the main window"));
    EXPECT_LE((boxCentre - window->frameGeometry().center()).manhattanLength(), 4)
        << boxCentre.x() << "," << boxCentre.y();

    // Hidden, the window has no place: the box goes to the screen's middle.
    window->hide();
    QTimer::singleShot(200, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxCentre = box->frameGeometry().center();
            box->accept();
        }
    });
    showMessage(window, QStringLiteral("Nothing to open over"));
    EXPECT_LE((boxCentre - screen.center()).manhattanLength(), 4);
}

// Leaves a picture of the signed-in window in the build folder.
TEST_F(MainWindowTest, PictureOfTheSignedInWindow)
{
    startWithSavedAccount();
    harness_.window()->show();
    QTest::qWait(20);
    harness_.picture("main-window.png");
}

}

#include "MainWindowTest.moc"
