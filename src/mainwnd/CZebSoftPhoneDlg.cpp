#include "mainwnd/CZebSoftPhoneDlg.h"

#include "controls/MessageBox.h"
#include "mainwnd/BalanceModel.h"
#include "telephony/CallController.h"
#include "telephony/CallViewRelay.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QUrl>

namespace orvanta {

namespace {

const QSize kWindowSize(340, 700);
constexpr std::chrono::milliseconds kFlashInterval{500};

std::optional<KeyPress> keyPressOf(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Backspace:
        return KeyPress::of(KeyPress::Kind::Backspace);
    case Qt::Key_Delete:
        return KeyPress::of(KeyPress::Kind::Delete);
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return KeyPress::of(KeyPress::Kind::Enter);
    case Qt::Key_Escape:
        return KeyPress::of(KeyPress::Kind::Escape);
    case Qt::Key_Tab:
        return KeyPress::of(KeyPress::Kind::Tab);
    case Qt::Key_Backtab:
        return KeyPress::of(KeyPress::Kind::BackTab);
    default:
        break;
    }
    if (event.key() >= Qt::Key_F1 && event.key() <= Qt::Key_F6) {
        return KeyPress::functionKey(event.key() - Qt::Key_F1 + 1);
    }
    const QString text = event.text();
    if (text.size() == 1 && text[0].isPrint()) {
        return KeyPress::of(text[0]);
    }
    return std::nullopt;
}

}

CZebSoftPhoneDlg::CZebSoftPhoneDlg(const Parts& parts, QWidget* parent)
        : SkinnedDialog(phoneBodyImage(kWindowSize, QColor(30, 60, 100), QColor(191, 239, 255)),
                        parent),
          model_(parts.model), calls_(parts.calls), callView_(parts.callView),
          face_(*this, faceActions())
{
    setWindowTitle(QStringLiteral("Orvanta"));
    setFocusPolicy(Qt::StrongFocus);
    if (const QScreen* screen = this->screen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    callView_.attach(&face_);
    model_.attachView(this);
    connect(&model_, &MainWindowModel::ended, this, &CZebSoftPhoneDlg::onEnded);
    connect(&face_, &MainWindowFace::flashingChanged, this, &CZebSoftPhoneDlg::onFlashing);
    flashTimer_.setInterval(kFlashInterval);
    connect(&flashTimer_, &QTimer::timeout, this, [this] { QApplication::alert(this, 400); });
    bindBalance(parts.balance);
    buildMenuAndTray();
}

CZebSoftPhoneDlg::~CZebSoftPhoneDlg()
{
    callView_.attach(nullptr);
    model_.attachView(nullptr);
}

QString CZebSoftPhoneDlg::messageText(MainMessage message)
{
    switch (message) {
    case MainMessage::NotRegistered:
        return QStringLiteral("You are not Registered");
    case MainMessage::CallInProgress:
        return QStringLiteral("Call is in progress");
    case MainMessage::CheckInternet:
        return QStringLiteral("Please check your Internet and Re-login");
    case MainMessage::RechargeUnavailable:
        return QStringLiteral("Request cannot be processed,Please contact support");
    case MainMessage::WrongCredentials:
        return QStringLiteral("Wrong Username/Password \nPlease contact support team");
    case MainMessage::RequestTimedOut:
        return QStringLiteral("Request Timedout \nPlease contact support team");
    case MainMessage::PortalError:
        return QStringLiteral("Error in OpenURL");
    case MainMessage::PortalException:
        return QStringLiteral("Received Exception from OpenURL()");
    }
    return {};
}

MainWindowFace::Actions CZebSoftPhoneDlg::faceActions()
{
    MainWindowFace::Actions a;
    a.dialKey = [this](QChar key) { calls_.entry().pressDialKey(key); };
    a.selectLine = [this](int line) { calls_.lines().SelectLine(line); };
    a.toggle = [this](Toggle toggle, bool pressed) { onToggle(toggle, pressed); };
    a.call = [this] { calls_.entry().MakeCall(); };
    a.hangUp = [this] { calls_.calls().EndCall(); };
    a.clear = [this] { calls_.entry().Clear(); };
    a.back = [this] { calls_.entry().Back(); };
    a.redial = [this] { calls_.entry().Redial(); };
    a.settings = [this] {
        if (!calls_.selectedLineInUse()) {
            menu_->popup(mapToGlobal(QPoint(30, 210)));
        }
    };
    a.help = [this] { model_.run(CommandId::About); };
    a.minimize = [this] { showMinimized(); };
    a.close = [this] { model_.requestQuit(false); };
    a.myAccount = [this] { model_.openMyAccount(); };
    return a;
}

void CZebSoftPhoneDlg::bindBalance(BalanceModel& balance)
{
    connect(&balance, &BalanceModel::balanceShown, this,
            [this](const std::optional<BalanceAnswer>& answer) {
                if (answer) {
                    face_.setBalanceText(QStringLiteral("Balance :") + answer->balance +
                                         answer->currency);
                }
                face_.balance()->show();
            });
    connect(&balance, &BalanceModel::balanceFailed, this, [this](BalanceFailure failure) {
        showMessage(failure == BalanceFailure::Unreachable ? MainMessage::PortalException
                                                           : MainMessage::PortalError);
    });
}

void CZebSoftPhoneDlg::buildMenuAndTray()
{
    menu_ = new QMenu(QStringLiteral("Menu"), this);
    for (const Command& command : model_.commands().commands()) {
        if (command.inMenu) {
            const CommandId id = command.id;
            menu_->addAction(command.label, this, [this, id] { model_.run(id); });
        }
    }
    tray_ = new QSystemTrayIcon(this);
    tray_->setToolTip(QStringLiteral("Orvanta"));
    tray_->setIcon(QIcon(QPixmap::fromImage(
        background().scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation))));
    connect(tray_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason why) {
                if (!model_.running()) {
                    return;
                }
                switch (why) {
                case QSystemTrayIcon::Trigger:
                    setVisible(!isVisible());
                    emit sideWindowsToHide();
                    break;
                case QSystemTrayIcon::DoubleClick:
                    QDialog::show();
                    raise();
                    emit sideWindowsToHide();
                    break;
                case QSystemTrayIcon::Context:
                    raise();
                    menu_->popup(QCursor::pos());
                    break;
                default:
                    break;
                }
            });
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        tray_->show();
    }
}

void CZebSoftPhoneDlg::onToggle(Toggle toggle, bool pressed)
{
    CallFeatures& features = calls_.features();
    switch (toggle) {
    case Toggle::Hold:
        features.Hold();
        break;
    case Toggle::Transfer:
        features.ToggleTransfer();
        break;
    case Toggle::Conference:
        features.Conference();
        break;
    case Toggle::Record:
        features.Record();
        break;
    case Toggle::AutoAnswer:
        features.setAutoAnswer(pressed);
        face_.setToggle(toggle, pressed);
        break;
    case Toggle::DoNotDisturb:
        features.setDoNotDisturb(pressed);
        face_.setToggle(toggle, pressed);
        break;
    }
}

void CZebSoftPhoneDlg::onFlashing(bool flashing)
{
    if (flashing && !flashTimer_.isActive()) {
        flashTimer_.start();
    } else if (!flashing) {
        flashTimer_.stop();
    }
}

void CZebSoftPhoneDlg::onEnded()
{
    flashTimer_.stop();
    tray_->hide();
    done(QDialog::Accepted);
}

void CZebSoftPhoneDlg::closeEvent(QCloseEvent* event)
{
    if (model_.finished()) {
        event->accept();
        return;
    }
    event->ignore();
    model_.requestQuit(true);
}

void CZebSoftPhoneDlg::keyPressEvent(QKeyEvent* event)
{
    if (model_.waiting()) {
        event->accept();  // a wait drops the keys made meanwhile
        return;
    }
    const std::optional<KeyPress> key = keyPressOf(*event);
    if (!key) {
        SkinnedDialog::keyPressEvent(event);
        return;
    }
    switch (calls_.entry().keyPress(*key)) {
    case KeyResult::Handled:
        event->accept();
        break;
    case KeyResult::ConfirmQuit:
        model_.requestQuit(false);
        break;
    case KeyResult::PassOn:
        if (key->kind != KeyPress::Kind::Escape) {
            SkinnedDialog::keyPressEvent(event);
        }
        break;
    }
}

void CZebSoftPhoneDlg::reject()
{
    // Escape belongs to the dial pad, never to closing the window.
}

void CZebSoftPhoneDlg::showDialerStatus(DialerStatus status)
{
    face_.setStatusLine(status == DialerStatus::InvalidDialer ? QStringLiteral("Invalid Dialer")
                                                              : QStringLiteral("Inactive Dialer"));
}

void CZebSoftPhoneDlg::showProvisionedTexts(const QString& header, const QString& footer)
{
    face_.setBanner(header);
    face_.setFooter(footer);
}

void CZebSoftPhoneDlg::showMessage(MainMessage message)
{
    orvanta::showMessage(this, messageText(message));
}

bool CZebSoftPhoneDlg::confirmQuit(bool fromWindowClose)
{
    const QString question =
        fromWindowClose ? QStringLiteral("Are you sure you want to close the Application ?")
                        : QStringLiteral("Are you sure you want to close the Application?");
    return confirm(this, question, QStringLiteral("Confirm to Quit"));
}

void CZebSoftPhoneDlg::showDialPanel()
{
    face_.showDialPanel();
}

void CZebSoftPhoneDlg::setWaiting(bool waiting)
{
    face_.setWaiting(waiting);
}

void CZebSoftPhoneDlg::showIncomingMessage(const QString& sender, const QString& text)
{
    lastMessage_ = sender + QStringLiteral(": ") + text;
    face_.setBanner(QStringLiteral("Message from ") + lastMessage_);
}

void CZebSoftPhoneDlg::openUrl(const QString& url)
{
    if (!QDesktopServices::openUrl(QUrl(url))) {
        orvanta::showMessage(this, QStringLiteral("No web browser could be started.\n"
                                                  "Please open this address yourself:\n") +
                                       url);
    }
}

}
