#include "app/MainWindowRequests.h"

#include "app/DialerCore.h"
#include "app/DialerWindows.h"
#include "controls/MessageBox.h"
#include "mainwnd/CZebSoftPhoneDlg.h"

#include <QApplication>
#include <QEvent>
#include <QSystemTrayIcon>
#include <QTimer>

namespace orvanta {

MainWindowRequests::MainWindowRequests(DialerCore& core, DialerWindows& windows,
                                       bool startMinimized, QObject* parent)
        : QObject(parent), core_(core), windows_(windows)
{
    connect(&core_.session(), &Session::registrationChanged, this, [this] {
        if (observer_) {
            observer_();
        }
    });
    if (startMinimized) {
        qApp->installEventFilter(this);
    }
}

DialRequestTarget::Registration MainWindowRequests::registration() const
{
    switch (core_.session().registrationState()) {
    case RegistrationState::Registered:
        return core_.calls().state().callsAllowed ? Registration::Registered
                                                  : Registration::Pending;
    case RegistrationState::Failed:
        return Registration::Failed;
    case RegistrationState::Unregistered:
    case RegistrationState::Registering:
        break;
    }
    return Registration::Pending;
}

void MainWindowRequests::raiseWindow()
{
    if (CZebSoftPhoneDlg* w = windows_.mainWindow()) {
        w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
        w->show();
        w->raise();
        w->activateWindow();
    }
}

void MainWindowRequests::dial(const QString& number)
{
    CallController& calls = core_.calls();
    // A busy line would ignore the number, transfer mode would transfer to it.
    if (calls.selectedLineInUse() || calls.state().transferMode) {
        orvanta::showMessage(windows_.mainWindow(), QStringLiteral("Call is in progress"));
        return;
    }
    core_.dial(number);
}

void MainWindowRequests::answer()
{
    for (int line = 0; line < PhoneState::kCallLines; ++line) {
        if (core_.calls().state().line(line).incoming()) {
            core_.answerLine(line);
            return;
        }
    }
}

void MainWindowRequests::hangUp()
{
    if (core_.calls().selectedLineInUse()) {
        core_.calls().calls().EndCall();
    }
}

void MainWindowRequests::tellNotRegistered()
{
    orvanta::showMessage(windows_.mainWindow(), QStringLiteral("You are not Registered"));
}

bool MainWindowRequests::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && qobject_cast<CZebSoftPhoneDlg*>(watched)) {
        qApp->removeEventFilter(this);
        // Out of sight in the tray when there is one, else minimised.
        auto* window = static_cast<CZebSoftPhoneDlg*>(watched);
        QTimer::singleShot(0, window, [window] {
            if (QSystemTrayIcon::isSystemTrayAvailable()) {
                window->hide();
            } else {
                window->showMinimized();
            }
        });
    }
    return QObject::eventFilter(watched, event);
}

}
