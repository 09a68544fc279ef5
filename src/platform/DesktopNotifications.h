#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QPointer>
#include <QString>
#include <map>
#include <memory>
#include <set>

class QDBusPendingCallWatcher;
class QSystemTrayIcon;

namespace orvanta::platform {

// What the dialer tells the user outside its window.
struct Notification {
    enum class Kind {
        IncomingCall,  // offers Answer and Decline, stays until withdrawn
        MissedCall,
        Message,
    };
    Kind kind = Kind::Message;
    QString title;
    QString body;
};

// The desktop's notifications, behind one interface. A handle names one
// shown notification; the user's choice comes back with it.
class DesktopNotifier : public QObject {
    Q_OBJECT

public:
    enum class Action {
        Answer,
        Decline,
        Open,  // the notification itself was clicked
    };

    using QObject::QObject;

    // Shows the notification; returns its handle.
    virtual int notify(const Notification& notification) = 0;
    // Takes it off the screen (the call was answered elsewhere or ended).
    virtual void withdraw(int handle) = 0;

signals:
    void actionChosen(int handle, DesktopNotifier::Action action);
};

// freedesktop.org Notifications over the D-Bus session bus. Calls are
// asynchronous, so a slow notification server never stalls the window.
class FreedesktopNotifier : public DesktopNotifier {
    Q_OBJECT

public:
    explicit FreedesktopNotifier(QDBusConnection bus = QDBusConnection::sessionBus(),
                                 QObject* parent = nullptr);

    int notify(const Notification& notification) override;
    void withdraw(int handle) override;

    // True when the bus has a notification server, running or startable.
    static bool available(const QDBusConnection& bus);

private slots:
    void onActionInvoked(uint id, const QString& key);
    void onClosed(uint id, uint reason);

private:
    void onNotifyReply(int handle, QDBusPendingCallWatcher* watcher);
    int handleOf(uint id) const;

    QDBusConnection bus_;
    int nextHandle_ = 1;
    std::map<int, uint> shown_;  // handle -> the server's id
    std::set<int> withdrawnBeforeShown_;
};

// The tray icon's balloon: no actions; a click on it opens the window.
class TrayNotifier : public DesktopNotifier {
    Q_OBJECT

public:
    explicit TrayNotifier(QSystemTrayIcon& tray, QObject* parent = nullptr);

    int notify(const Notification& notification) override;
    void withdraw(int handle) override;

private:
    QPointer<QSystemTrayIcon> tray_;
    int nextHandle_ = 1;
    int lastHandle_ = 0;
};

// The notification server of the session when there is one, else the tray.
std::unique_ptr<DesktopNotifier> makeDesktopNotifier(QSystemTrayIcon& tray,
                                                     QObject* parent = nullptr);

}
