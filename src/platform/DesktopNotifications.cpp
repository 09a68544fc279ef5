#include "platform/DesktopNotifications.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QSystemTrayIcon>
#include <QVariantMap>

namespace orvanta::platform {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");

const QString kAnswerKey = QStringLiteral("answer");
const QString kDeclineKey = QStringLiteral("decline");
const QString kDefaultKey = QStringLiteral("default");

// Urgency hint values of the freedesktop notification protocol.
constexpr uchar kNormalUrgency = 1;
constexpr uchar kCriticalUrgency = 2;
constexpr int kServerDefaultExpiry = -1;
constexpr int kNeverExpires = 0;

constexpr int kCallTimeoutMs = 5000;
constexpr int kBusQueryTimeoutMs = 2000;

}

FreedesktopNotifier::FreedesktopNotifier(QDBusConnection bus, QObject* parent)
        : DesktopNotifier(parent), bus_(std::move(bus))
{
    bus_.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                 SLOT(onActionInvoked(uint, QString)));
    bus_.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                 SLOT(onClosed(uint, uint)));
}

bool FreedesktopNotifier::available(const QDBusConnection& bus)
{
    if (!bus.isConnected()) {
        return false;
    }
    // Asked of the bus itself, with a short limit: start-up never waits long.
    const auto ask = [&bus](const char* method, const QVariantList& arguments) {
        QDBusMessage message = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
            QStringLiteral("org.freedesktop.DBus"), QString::fromLatin1(method));
        message.setArguments(arguments);
        const QDBusMessage reply = bus.call(message, QDBus::Block, kBusQueryTimeoutMs);
        return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
                   ? reply.arguments().front()
                   : QVariant();
    };
    if (ask("NameHasOwner", {kService}).toBool()) {
        return true;
    }
    return ask("ListActivatableNames", {}).toStringList().contains(kService);
}

int FreedesktopNotifier::notify(const Notification& notification)
{
    const bool call = notification.kind == Notification::Kind::IncomingCall;
    QStringList actions{kDefaultKey, QStringLiteral("Show")};
    if (call) {
        actions << kAnswerKey << QStringLiteral("Answer") << kDeclineKey
                << QStringLiteral("Decline");
    }
    QVariantMap hints;
    hints.insert(QStringLiteral("urgency"),
                 QVariant::fromValue(call ? kCriticalUrgency : kNormalUrgency));
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("orvanta"));
    if (call) {
        hints.insert(QStringLiteral("resident"), true);
    }
    QDBusMessage message =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    message << QStringLiteral("Orvanta") << uint(0) << QStringLiteral("orvanta")
            << notification.title << notification.body << actions << hints
            << (call ? kNeverExpires : kServerDefaultExpiry);

    const int handle = nextHandle_++;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(message, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, handle](QDBusPendingCallWatcher* w) { onNotifyReply(handle, w); });
    return handle;
}

void FreedesktopNotifier::onNotifyReply(int handle, QDBusPendingCallWatcher* watcher)
{
    watcher->deleteLater();
    const QDBusPendingReply<uint> reply = *watcher;
    const bool withdrawn = withdrawnBeforeShown_.erase(handle) > 0;
    if (reply.isError()) {
        return;
    }
    shown_[handle] = reply.value();
    if (withdrawn) {
        withdraw(handle);
    }
}

void FreedesktopNotifier::withdraw(int handle)
{
    const auto found = shown_.find(handle);
    if (found == shown_.end()) {
        if (handle > 0 && handle < nextHandle_) {
            withdrawnBeforeShown_.insert(handle);
        }
        return;
    }
    QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                          QStringLiteral("CloseNotification"));
    message << found->second;
    bus_.asyncCall(message, kCallTimeoutMs);
    shown_.erase(found);
}

int FreedesktopNotifier::handleOf(uint id) const
{
    for (const auto& [handle, shownId] : shown_) {
        if (shownId == id) {
            return handle;
        }
    }
    return 0;
}

void FreedesktopNotifier::onActionInvoked(uint id, const QString& key)
{
    // The server tells every client about every notification: ours only.
    const int handle = handleOf(id);
    if (handle == 0) {
        return;
    }
    if (key == kAnswerKey) {
        emit actionChosen(handle, Action::Answer);
    } else if (key == kDeclineKey) {
        emit actionChosen(handle, Action::Decline);
    } else if (key == kDefaultKey) {
        emit actionChosen(handle, Action::Open);
    }
}

void FreedesktopNotifier::onClosed(uint id, uint)
{
    if (const int handle = handleOf(id)) {
        shown_.erase(handle);
    }
}

TrayNotifier::TrayNotifier(QSystemTrayIcon& tray, QObject* parent)
        : DesktopNotifier(parent), tray_(&tray)
{
    connect(&tray, &QSystemTrayIcon::messageClicked, this, [this] {
        if (lastHandle_ != 0) {
            emit actionChosen(lastHandle_, Action::Open);
        }
    });
}

int TrayNotifier::notify(const Notification& notification)
{
    lastHandle_ = nextHandle_++;
    if (tray_ && tray_->isVisible()) {
        tray_->showMessage(notification.title, notification.body);
    }
    return lastHandle_;
}

void TrayNotifier::withdraw(int handle)
{
    // A balloon cannot be taken back; its click no longer counts.
    if (handle == lastHandle_) {
        lastHandle_ = 0;
    }
}

std::unique_ptr<DesktopNotifier> makeDesktopNotifier(QSystemTrayIcon& tray, QObject* parent)
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (FreedesktopNotifier::available(bus)) {
        return std::make_unique<FreedesktopNotifier>(bus, parent);
    }
    return std::make_unique<TrayNotifier>(tray, parent);
}

}
