// Notifications through a private D-Bus session bus (dbus-daemon started
// here) and a stand-in notification server registered on it.
#include "platform/DesktopNotifications.h"
#include "support/TestEnvironment.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>
#include <gtest/gtest.h>

namespace orvanta::test {
namespace {

using platform::DesktopNotifier;
using platform::FreedesktopNotifier;
using platform::Notification;

// What a notification server saw of one Notify call.
struct Shown {
    QString appName;
    QString summary;
    QString body;
    QStringList actions;
    QVariantMap hints;
    int expiry = 0;
};

class NotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    std::vector<Shown> shown;
    std::vector<uint> closed;

public slots:
    uint Notify(const QString& appName, uint, const QString&, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints,
                int expiry)
    {
        shown.push_back({appName, summary, body, actions, hints, expiry});
        return uint(100 + shown.size());
    }
    void CloseNotification(uint id) { closed.push_back(id); }
    QStringList GetCapabilities() { return {QStringLiteral("actions"), QStringLiteral("body")}; }
};

class DesktopNotificationsTest : public testing::Test {
protected:
    void SetUp() override
    {
        daemon_.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--session"), QStringLiteral("--nofork"),
                       QStringLiteral("--nopidfile"), QStringLiteral("--print-address=1"),
                       QStringLiteral("--address=unix:dir=") +
                           QString::fromStdString(temp_.path().string())});
        ASSERT_TRUE(daemon_.waitForStarted(5000));
        ASSERT_TRUE(daemon_.waitForReadyRead(5000)) << daemon_.readAllStandardError().toStdString();
        address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
        ASSERT_FALSE(address_.isEmpty());
    }
    void TearDown() override
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("dialer"));
        QDBusConnection::disconnectFromBus(QStringLiteral("server"));
        daemon_.kill();
        daemon_.waitForFinished(5000);
    }

    QDBusConnection connection(const char* name)
    {
        return QDBusConnection::connectToBus(address_, QString::fromLatin1(name));
    }
    void startServer()
    {
        QDBusConnection bus = connection("server");
        ASSERT_TRUE(bus.registerService(QStringLiteral("org.freedesktop.Notifications")));
        ASSERT_TRUE(bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &server_,
                                       QDBusConnection::ExportAllSlots));
    }
    // The server's signal, as a notification server sends it to everyone.
    void serverSignals(const char* name, const QVariantList& arguments)
    {
        QDBusMessage signal = QDBusMessage::createSignal(
            QStringLiteral("/org/freedesktop/Notifications"),
            QStringLiteral("org.freedesktop.Notifications"), QString::fromLatin1(name));
        signal.setArguments(arguments);
        ASSERT_TRUE(connection("server").send(signal));
    }
    bool shownCount(std::size_t n)
    {
        return QTest::qWaitFor([&] { return server_.shown.size() == n; }, 5000);
    }

    TempDir temp_;
    QProcess daemon_;
    QString address_;
    NotificationServer server_;
};

TEST_F(DesktopNotificationsTest, AnIncomingCallOffersAnswerAndDeclineAndTheChoiceComesBack)
{
    startServer();
    FreedesktopNotifier notifier(connection("dialer"));
    QSignalSpy chosen(&notifier, &DesktopNotifier::actionChosen);
    const int call = notifier.notify({Notification::Kind::IncomingCall,
                                      QStringLiteral("Incoming Call"), QStringLiteral("5551234")});
    ASSERT_TRUE(shownCount(1));
    const Shown& shown = server_.shown[0];
    EXPECT_EQ(shown.appName, QStringLiteral("Orvanta"));
    EXPECT_EQ(shown.summary, QStringLiteral("Incoming Call"));
    EXPECT_EQ(shown.body, QStringLiteral("5551234"));
    EXPECT_TRUE(shown.actions.contains(QStringLiteral("answer")));
    EXPECT_TRUE(shown.actions.contains(QStringLiteral("decline")));
    EXPECT_EQ(shown.hints.value(QStringLiteral("urgency")).toInt(), 2);
    EXPECT_EQ(shown.expiry, 0) << "a ringing call must not vanish by itself";

    // The server tells every client about every notification: another
    // program's id and an unknown key change nothing.
    const int missed = notifier.notify(
        {Notification::Kind::MissedCall, QStringLiteral("Missed Call"), QStringLiteral("5550000")});
    ASSERT_TRUE(shownCount(2));
    EXPECT_FALSE(server_.shown[1].actions.contains(QStringLiteral("answer")));
    EXPECT_EQ(server_.shown[1].expiry, -1);
    QTest::qWait(200);  // both replies in

    struct Case {
        uint id;
        const char* key;
        std::optional<std::pair<int, DesktopNotifier::Action>> expected;
    };
    const Case cases[] = {
        {101, "answer", std::pair{call, DesktopNotifier::Action::Answer}},
        {101, "decline", std::pair{call, DesktopNotifier::Action::Decline}},
        {102, "default", std::pair{missed, DesktopNotifier::Action::Open}},
        {999, "answer", std::nullopt},
        {101, "something-else", std::nullopt},
    };
    for (const Case& c : cases) {
        chosen.clear();
        serverSignals("ActionInvoked", {c.id, QString::fromLatin1(c.key)});
        if (c.expected) {
            ASSERT_TRUE(chosen.wait(5000)) << c.key;
            EXPECT_EQ(chosen[0][0].toInt(), c.expected->first);
            EXPECT_EQ(chosen[0][1].value<DesktopNotifier::Action>(), c.expected->second);
        } else {
            EXPECT_FALSE(chosen.wait(300)) << c.id << " " << c.key;
        }
    }
}

TEST_F(DesktopNotificationsTest, AWithdrawnOrClosedNotificationIsGoneForGood)
{
    startServer();
    FreedesktopNotifier notifier(connection("dialer"));
    QSignalSpy chosen(&notifier, &DesktopNotifier::actionChosen);
    // Withdrawn before the server even answered: closed once it did.
    const int early = notifier.notify(
        {Notification::Kind::IncomingCall, QStringLiteral("Incoming Call"), QStringLiteral("1")});
    notifier.withdraw(early);
    ASSERT_TRUE(QTest::qWaitFor([&] { return server_.closed.size() == 1; }, 5000));
    EXPECT_EQ(server_.closed[0], 101u);

    notifier.notify(
        {Notification::Kind::IncomingCall, QStringLiteral("Incoming Call"), QStringLiteral("2")});
    ASSERT_TRUE(shownCount(2));
    QTest::qWait(200);
    serverSignals("NotificationClosed", {uint(102), uint(2)});
    QTest::qWait(100);
    // A late click on the closed one is not a choice any more.
    serverSignals("ActionInvoked", {uint(102), QStringLiteral("answer")});
    EXPECT_FALSE(chosen.wait(300));
}

TEST_F(DesktopNotificationsTest, WithoutANotificationServerTheTrayStandsIn)
{
    EXPECT_FALSE(FreedesktopNotifier::available(connection("dialer")));
    startServer();
    EXPECT_TRUE(FreedesktopNotifier::available(connection("dialer")));

    QSystemTrayIcon tray;
    platform::TrayNotifier notifier(tray);
    QSignalSpy chosen(&notifier, &DesktopNotifier::actionChosen);
    const int first = notifier.notify({Notification::Kind::Message, "Message", "a"});
    const int second = notifier.notify({Notification::Kind::Message, "Message", "b"});
    emit tray.messageClicked();
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen[0][0].toInt(), second);
    EXPECT_NE(first, second);
    notifier.withdraw(second);
    emit tray.messageClicked();
    EXPECT_EQ(chosen.size(), 1);
}

}
}

#include "DesktopNotificationsTest.moc"
