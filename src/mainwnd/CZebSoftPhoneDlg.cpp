#include "mainwnd/CZebSoftPhoneDlg.h"

#include "controls/MessageBox.h"
#include "orvanta/Version.h"
#include "platform/BlockingWait.h"
#include "platform/NetworkState.h"
#include "records/RecordFile.h"
#include "signin/CMainLogin.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QUrl>

namespace orvanta {

namespace {

const QSize kWindowSize(340, 660);
constexpr std::chrono::milliseconds kSavedAccountCheck{2000};
constexpr std::chrono::milliseconds kInternetCheck{1000};
constexpr std::chrono::milliseconds kFlashInterval{500};
constexpr std::chrono::milliseconds kAccountLoginPause{3000};

const QString kNotRegistered = QStringLiteral("You are not Registered");
const QString kCallInProgress = QStringLiteral("Call is in progress");

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

void PendingCallLog::AddCallLogEntry(const QString& number, const QString& duration, char kind)
{
    entries_.push_back({number, duration, kind});
    if (onAdded) {
        onAdded(entries_.back());
    }
}

CZebSoftPhoneDlg::CZebSoftPhoneDlg(SignInServices services, std::filesystem::path engineLibrary,
                                   QWidget* parent)
        : SkinnedDialog(phoneBodyImage(kWindowSize, QColor(30, 60, 100), QColor(191, 239, 255)),
                        parent),
          services_(std::move(services)), engine_(std::move(engineLibrary)),
          face_(*this, faceActions()), startup_(engine_, events_, signInFlags_, flags_, *this),
          sounds_(player_, QCoreApplication::applicationDirPath().toStdString()),
          calls_(EngineApi{}, CallPorts{face_, sounds_, timers_, callLog_, *this, nullptr}),
          connectivity_([] { return platform::isInternetConnected(); })
{
    setWindowTitle(QStringLiteral("Orvanta"));
    setFocusPolicy(Qt::StrongFocus);
    timers_.setTickHandler([this](int line) { calls_.calls().tickLine(line); });
    calls_.attach(events_);
    connect(&events_, &EngineEvents::registrationState, this,
            &CZebSoftPhoneDlg::onRegistrationState);
    connect(&events_, &EngineEvents::messageReceived, this, &CZebSoftPhoneDlg::onMessage);
    connect(&face_, &MainWindowFace::flashingChanged, this, &CZebSoftPhoneDlg::onFlashing);
    internetTimer_.setInterval(kInternetCheck);
    connect(&internetTimer_, &QTimer::timeout, this,
            [this] { calls_.internet().check(connectivity_()); });
    flashTimer_.setInterval(kFlashInterval);
    connect(&flashTimer_, &QTimer::timeout, this, [this] { QApplication::alert(this, 400); });
    callLog_.onAdded = [this](const PendingCallLog::Entry& entry) {
        if (entry.kind == 'M') {
            notify(QStringLiteral("Missed Call"), entry.number);
        }
    };
    buildMenuAndTray();
}

CZebSoftPhoneDlg::~CZebSoftPhoneDlg() = default;

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
    a.settings = [this] {
        if (!calls_.selectedLineInUse()) {
            menu_->popup(mapToGlobal(QPoint(30, 210)));
        }
    };
    a.minimize = [this] { showMinimized(); };
    a.close = [this] { requestQuit(false); };
    a.myAccount = [this] {
        if (reply_) {
            openProvisionedPage(reply_->myAccounts);
        }
    };
    return a;
}

void CZebSoftPhoneDlg::buildMenuAndTray()
{
    menu_ = new QMenu(QStringLiteral("Menu"), this);
    menu_->addAction(QStringLiteral("Account Login"), this, &CZebSoftPhoneDlg::accountLogin);
    menu_->addAction(QStringLiteral("About..."), this, &CZebSoftPhoneDlg::showAbout);
    // The recharge page has a command but no place in the original menus.
    menu_->addAction(QStringLiteral("Recharge"), this, [this] {
        if (!reply_ || reply_->oRecharge.isEmpty()) {
            orvanta::showMessage(
                this, QStringLiteral("Request cannot be processed,Please contact support"));
            return;
        }
        QDesktopServices::openUrl(QUrl(reply_->oRecharge));
    });
    menu_->addAction(QStringLiteral("Exit"), this, [this] { requestQuit(false); });

    tray_ = new QSystemTrayIcon(this);
    tray_->setToolTip(QStringLiteral("Orvanta"));
    tray_->setIcon(QIcon(QPixmap::fromImage(
        background().scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation))));
    tray_->setContextMenu(nullptr);
    connect(tray_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason why) {
                if (!flags_.mainWindowActive) {
                    return;
                }
                switch (why) {
                case QSystemTrayIcon::Trigger:
                    setVisible(!isVisible());
                    break;
                case QSystemTrayIcon::DoubleClick:
                    QDialog::show();
                    raise();
                    break;
                case QSystemTrayIcon::Context:
                    raise();
                    menu_->popup(QCursor::pos());
                    break;
                default:
                    break;
                }
            });
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
        notify(QStringLiteral("Incoming Call"), calls_.state().lastCaller);
    } else if (!flashing) {
        flashTimer_.stop();
    }
}

void CZebSoftPhoneDlg::notify(const QString& title, const QString& text)
{
    if (tray_->isVisible()) {
        tray_->showMessage(title, text);
    }
}

bool CZebSoftPhoneDlg::loadEngineLibrary()
{
    if (engine_.load()) {
        calls_.setEngine(engine_.api());
        return true;
    }
    orvanta::showMessage(this, QStringLiteral("Unable to Load DLL"));
    return false;
}

void CZebSoftPhoneDlg::takeAutoSignIn(const SignInRecord& record)
{
    record_ = record;
    flags_.autoSignIn = true;
}

void CZebSoftPhoneDlg::takeSignIn(const SignInOutcome& outcome)
{
    signIn_ = outcome;
    record_ = {outcome.savePassword, outcome.reservedText, outcome.userName, outcome.password};
    flags_.autoSignIn = false;
}

void CZebSoftPhoneDlg::runModal()
{
    open();
    if (!finished_) {
        exec();
    }
}

EngineStartupInputs CZebSoftPhoneDlg::startupInputs() const
{
    EngineStartupInputs inputs;
    inputs.sipUser = record_.userName;
    inputs.recordSavePassword = flags_.autoSignIn ? record_.savePassword : 0;
    inputs.recordPassword = record_.password;
    inputs.typedPassword = record_.password;
    inputs.callsAllowed = calls_.state().callsAllowed;
    if (signInDialog_ && !flags_.autoSignIn) {
        inputs.replyText = signInDialog_->flow().replyText();
        inputs.portalSipPassword = signInDialog_->flow().portal().sipPassword;
    }
    return inputs;
}

bool CZebSoftPhoneDlg::startEngine(const EngineStartupInputs& inputs)
{
    reply_ = startup_.StartEngine(inputs);
    if (!reply_) {
        return false;
    }
    PhoneState& state = calls_.state();
    state.registrarHost = reply_->registrarIp;
    state.accountHandle = startup_.registered() ? startup_.accountHandle() : signIn_.accountHandle;
    calls_.setEngine(engine_.api());
    return true;
}

void CZebSoftPhoneDlg::open()
{
    // Read here, not only by the sign-in dialog, so a start that skips the
    // dialog does not save an empty fail-over record over the real one.
    loadRecordFile(kFailoverRecordKind, failover_);
    flags_.mainWindowActive = true;
    flags_.running = true;

    calls_.calls().ResetLines();
    EngineStartupInputs inputs = startupInputs();
    if (flags_.autoSignIn) {
        inputs.replyText = fetchOwnProvisioning();
        inputs.portalSipPassword = ownPortalSipPassword_;
    }
    const bool started = startEngine(inputs);
    if (flags_.autoSignIn) {
        QTimer::singleShot(kSavedAccountCheck, this, &CZebSoftPhoneDlg::checkSavedAccountConfirmed);
    }
    if (started) {
        QueryBalance();
        calls_.calls().SessionReady(record_.userName);
    }
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        tray_->show();
    }
    internetTimer_.start();
}

QByteArray CZebSoftPhoneDlg::fetchOwnProvisioning()
{
    if (!signInDialog_) {
        return {};
    }
    if (const auto portal = services_.askPortal(record_.userName, record_.password)) {
        ownPortalSipPassword_ = portal->sipPassword;
    }
    RequestProtection& protection = signInDialog_->flow().protection();
    protection.invalidate();
    return services_.provisioningPost(protection.body(), protection.key());
}

void CZebSoftPhoneDlg::checkSavedAccountConfirmed()
{
    if (finished_ || flags_.registrationConfirmed) {
        return;
    }
    // Not confirmed in time: the next start asks for the password.
    SignInRecord fallback = record_;
    fallback.savePassword = 0;
    saveRecordFile(kSignInRecordKind, fallback.forSaving());
    finish();
}

void CZebSoftPhoneDlg::onRegistrationState(int sipCode)
{
    OnRegistrationState(sipCode, signInFlags_, flags_, *this);
}

void CZebSoftPhoneDlg::onMessage(const QString& senderUri, const QString& text)
{
    // No message window exists: the last message shows in the banner, cut to
    // what a banner can show.
    constexpr qsizetype kShownMessage = 300;
    lastMessage_ = callerNumber(senderUri) + QStringLiteral(": ") + text.left(kShownMessage);
    face_.setBanner(QStringLiteral("Message from ") + lastMessage_);
    notify(QStringLiteral("Message"), lastMessage_);
}

void CZebSoftPhoneDlg::QueryBalance()
{
    if (!services_.askBalance) {
        return;
    }
    const BalanceResult result = services_.askBalance(record_.userName);
    if (result.failure == BalanceFailure::Unreachable) {
        orvanta::showMessage(this, QStringLiteral("Error in OpenURL"));
        return;
    }
    if (result.answer) {
        face_.setBalanceText(QStringLiteral("Balance :") + result.answer->balance +
                             result.answer->currency);
    }
    face_.balance()->show();
}

void CZebSoftPhoneDlg::openProvisionedPage(const QString& url)
{
    if (!calls_.state().callsAllowed) {
        orvanta::showMessage(this, kNotRegistered);
        return;
    }
    QDesktopServices::openUrl(QUrl(url));
}

void CZebSoftPhoneDlg::completeEngineStartup()
{
    startEngine(startupInputs());
}

void CZebSoftPhoneDlg::takeCredentials(const QString& user, const QString& password, const QString&)
{
    record_.userName = user;
    record_.password = password;
}

void CZebSoftPhoneDlg::accountLogin()
{
    if (!calls_.state().callsAllowed) {
        orvanta::showMessage(this, kNotRegistered);
        return;
    }
    if (calls_.selectedLineInUse()) {
        if (calls_.state().internetAvailable) {
            orvanta::showMessage(this, kCallInProgress);
        }
        return;
    }
    engine_.shutdown();
    flags_.autoSignIn = false;
    CMainLogin dialog(*this, services_, engine_, events_, signInFlags_, flags_, this);
    signInFlags_ = SignInFlags{};
    signInFlags_.reSignInMode = true;
    dialog.enterReSignInMode();
    dialog.flow().prefill(record_.savePassword, record_.reservedText, record_.userName);
    CMainLogin* previous = signInDialog_;
    signInDialog_ = &dialog;
    flags_.accountLoginPause = true;
    platform::pauseWithoutUserInput(kAccountLoginPause);
    flags_.accountLoginPause = false;
    if (flags_.closeBothRequested) {
        signInDialog_ = previous;
        finish();
        return;
    }
    QDialog::hide();
    const bool signedIn = dialog.exec() == QDialog::Accepted;
    signInDialog_ = previous;
    QDialog::show();
    if (signedIn) {
        record_.userName = dialog.flow().userName();
        record_.password = dialog.flow().password();
        record_.savePassword = dialog.flow().savePassword();
        face_.setStatusLine(QStringLiteral("Ready : ") + record_.userName);
    }
}

void CZebSoftPhoneDlg::showAbout()
{
    if (calls_.selectedLineInUse()) {
        orvanta::showMessage(this, kCallInProgress);
        return;
    }
    showMessageBox(
        {this,
         QStringLiteral(ORVANTA_PRODUCT_VERSION "\nSoftphone for the prepaid calling service"),
         QStringLiteral("About Orvanta"), false});
}

void CZebSoftPhoneDlg::quitApplication()
{
    finish();
}

void CZebSoftPhoneDlg::requestQuit(bool fromWindowClose)
{
    if (finished_) {
        return;
    }
    if (calls_.checkQuit() != CallController::QuitCheck::Confirm) {
        return;
    }
    face_.showDialPanel();
    const QString question =
        fromWindowClose ? QStringLiteral("Are you sure you want to close the Application ?")
                        : QStringLiteral("Are you sure you want to close the Application?");
    if (!confirm(this, question, QStringLiteral("Confirm to Quit"))) {
        return;
    }
    quitNow();
}

void CZebSoftPhoneDlg::quitNow()
{
    if (finished_) {
        return;
    }
    saveRecords();
    finish();
}

void CZebSoftPhoneDlg::saveRecords()
{
    SignInRecordWithAccount record;
    record.header = record_.forSaving();
    record.account = makeAccountBlock(record_, FirstAccount{});
    saveRecordFile(kSignInRecordKind, record);
    saveRecordFile(kFailoverRecordKind, failover_);
}

void CZebSoftPhoneDlg::finish()
{
    finished_ = true;
    flags_.mainWindowActive = false;
    internetTimer_.stop();
    flashTimer_.stop();
    player_.stop();
    tray_->hide();
    engine_.shutdown();
    done(QDialog::Accepted);
}

void CZebSoftPhoneDlg::closeEvent(QCloseEvent* event)
{
    if (finished_) {
        event->accept();
        return;
    }
    event->ignore();
    requestQuit(true);
}

void CZebSoftPhoneDlg::keyPressEvent(QKeyEvent* event)
{
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
        requestQuit(false);
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

void CZebSoftPhoneDlg::setStatusLine(const QString& text)
{
    face_.setStatusLine(text);
}

void CZebSoftPhoneDlg::setBanner(const QString& text)
{
    face_.setBanner(text);
}

void CZebSoftPhoneDlg::setFooter(const QString& text)
{
    face_.setFooter(text);
}

void CZebSoftPhoneDlg::showSignInControls()
{
    // The main window's own sign-in fields lie outside its visible shape.
}

void CZebSoftPhoneDlg::showMessage(const QString& text)
{
    orvanta::showMessage(this, text);
}

void CZebSoftPhoneDlg::setSignInStatus(const QString& text)
{
    if (signInDialog_) {
        signInDialog_->showRegistrationStatus(text);
    }
}

void CZebSoftPhoneDlg::enableSignInEdits()
{
    if (signInDialog_) {
        signInDialog_->enableCredentialEdits();
    }
}

void CZebSoftPhoneDlg::closeMainWindow()
{
    if (flags_.autoSignIn && !flags_.registrationConfirmed) {
        checkSavedAccountConfirmed();
        return;
    }
    quitNow();
}

}
