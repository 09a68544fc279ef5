#include "app/MainWindowRequests.h"

#include "controls/MessageBox.h"
#include "mainwnd/CZebSoftPhoneDlg.h"

#include <QApplication>
#include <QEvent>

namespace orvanta {

namespace {

constexpr std::chrono::milliseconds kWatchInterval{250};

}

MainWindowRequests::MainWindowRequests(bool startMinimized, QObject* parent)
        : QObject(parent), startMinimized_(startMinimized)
{
    connect(&watch_, &QTimer::timeout, this, &MainWindowRequests::look);
    watch_.start(kWatchInterval);
    if (startMinimized_) {
        qApp->installEventFilter(this);
    }
}

CZebSoftPhoneDlg* MainWindowRequests::window() const
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<CZebSoftPhoneDlg*>(widget)) {
            return window;
        }
    }
    return nullptr;
}

void MainWindowRequests::look()
{
    const Registration now = registration();
    if (now == seen_) {
        return;
    }
    seen_ = now;
    // Until it is first registered; after that the window is settled.
    if (now == Registration::Registered) {
        watch_.stop();
    }
    if (observer_) {
        observer_();
    }
}

DialRequestTarget::Registration MainWindowRequests::registration() const
{
    CZebSoftPhoneDlg* w = window();
    if (!w || !w->flags().running || !w->calls().state().callsAllowed) {
        return Registration::Pending;
    }
    // A saved account is registered once the registrar confirmed it.
    if (w->flags().autoSignIn && !w->flags().registrationConfirmed) {
        return Registration::Pending;
    }
    return Registration::Registered;
}

void MainWindowRequests::raiseWindow()
{
    if (CZebSoftPhoneDlg* w = window()) {
        w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
        w->show();
        w->raise();
        w->activateWindow();
    }
}

void MainWindowRequests::dial(const QString& number)
{
    CZebSoftPhoneDlg* w = window();
    if (!w) {
        return;
    }
    CallController& calls = w->calls();
    // A busy line would ignore the number, transfer mode would transfer to it.
    if (calls.selectedLineInUse() || calls.state().transferMode) {
        orvanta::showMessage(w, QStringLiteral("Call is in progress"));
        return;
    }
    calls.state().number = number;
    w->face().setNumberDisplay(number);
    calls.entry().MakeCall();
}

void MainWindowRequests::answer()
{
    CZebSoftPhoneDlg* w = window();
    if (!w) {
        return;
    }
    CallController& calls = w->calls();
    for (int line = 0; line < PhoneState::kCallLines; ++line) {
        const LineState& l = calls.state().line(line);
        if (l.incoming && !l.connected) {
            if (line != calls.state().currentLine) {
                calls.lines().SelectLine(line);
            }
            calls.entry().MakeCall();
            return;
        }
    }
}

void MainWindowRequests::hangUp()
{
    CZebSoftPhoneDlg* w = window();
    if (w && w->calls().selectedLineInUse()) {
        w->calls().calls().EndCall();
    }
}

void MainWindowRequests::tellNotRegistered()
{
    orvanta::showMessage(window(), QStringLiteral("You are not Registered"));
}

bool MainWindowRequests::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && qobject_cast<CZebSoftPhoneDlg*>(watched)) {
        qApp->removeEventFilter(this);
        // Minimised, not hidden: hiding a dialog that runs modally ends it.
        QTimer::singleShot(0, static_cast<CZebSoftPhoneDlg*>(watched), &QWidget::showMinimized);
    }
    return QObject::eventFilter(watched, event);
}

}
