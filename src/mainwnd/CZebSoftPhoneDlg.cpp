#include "mainwnd/CZebSoftPhoneDlg.h"

#include "app/RecordFile.h"
#include "controls/MessageBox.h"
#include "signin/CMainLogin.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QToolButton>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace orvanta {

namespace {

const QSize kWindowSize(320, 560);
constexpr std::chrono::milliseconds kSavedAccountCheck{2000};

QLabel* makeLabel(QWidget* parent, const QString& role, Qt::Alignment alignment)
{
    auto* label = new QLabel(parent);
    label->setAlignment(alignment);
    label->setWordWrap(true);
    label->setAccessibleDescription(role);
    return label;
}

QToolButton* makeTitleButton(QWidget* parent, const QString& text, const QString& tip)
{
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setToolTip(tip);
    button->setAccessibleName(tip);
    button->setAutoRaise(true);
    button->setStyleSheet(QStringLiteral("QToolButton { color: white; font-size: 16px; }"));
    return button;
}

// The user part of "sip:user@host".
QString userPart(const QString& uri)
{
    QString user = uri;
    if (const qsizetype colon = user.indexOf(QLatin1Char(':')); colon >= 0) {
        user = user.mid(colon + 1);
    }
    if (const qsizetype at = user.indexOf(QLatin1Char('@')); at >= 0) {
        user.truncate(at);
    }
    return user;
}

}

CZebSoftPhoneDlg::CZebSoftPhoneDlg(SignInServices services, std::filesystem::path engineLibrary,
                                   QWidget* parent)
    : SkinnedDialog(phoneBodyImage(kWindowSize, QColor(30, 60, 100), QColor(191, 239, 255)),
                    parent),
      services_(std::move(services)),
      engine_(std::move(engineLibrary)),
      startup_(engine_, events_, signInFlags_, flags_, *this)
{
    setWindowTitle(QStringLiteral("Orvanta"));
    buildControls();
    connect(&events_, &EngineEvents::registrationState, this,
            &CZebSoftPhoneDlg::onRegistrationState);
    connect(&events_, &EngineEvents::messageReceived, this, &CZebSoftPhoneDlg::onMessage);
}

CZebSoftPhoneDlg::~CZebSoftPhoneDlg() = default;

void CZebSoftPhoneDlg::buildControls()
{
    minimizeButton_ = makeTitleButton(this, QStringLiteral("_"), QStringLiteral("Minimize"));
    connect(minimizeButton_, &QToolButton::clicked, this, &QWidget::showMinimized);
    closeButton_ = makeTitleButton(this, QStringLiteral("X"), QStringLiteral("Close"));
    connect(closeButton_, &QToolButton::clicked, this, [this] { requestQuit(false); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 4, 24, 24);
    auto* titleRow = new QHBoxLayout();
    titleRow->addStretch();
    titleRow->addWidget(minimizeButton_);
    titleRow->addWidget(closeButton_);
    layout->addLayout(titleRow);
    banner_ = makeLabel(this, QStringLiteral("Banner"), Qt::AlignCenter);
    statusLine_ = makeLabel(this, QStringLiteral("Status line"), Qt::AlignCenter);
    QFont statusFont = statusLine_->font();
    statusFont.setBold(true);
    statusLine_->setFont(statusFont);
    internetLabel_ = makeLabel(this, QStringLiteral("Internet state"), Qt::AlignCenter);
    internetLabel_->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0);"));
    footer_ = makeLabel(this, QStringLiteral("Footer"), Qt::AlignCenter);
    footer_->setStyleSheet(QStringLiteral("color: white;"));
    layout->addWidget(banner_);
    layout->addWidget(statusLine_);
    layout->addWidget(internetLabel_);
    layout->addStretch();
    layout->addWidget(footer_);
}

bool CZebSoftPhoneDlg::loadEngineLibrary()
{
    if (engine_.load()) {
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

void CZebSoftPhoneDlg::open()
{
    // Read here, not only by the sign-in dialog, so a start that skips the
    // dialog does not save an empty fail-over record over the real one.
    loadRecordFile(kFailoverRecordKind, failover_);
    flags_.mainWindowActive = true;
    flags_.running = true;
    flags_.callsAllowed = false;

    EngineStartupInputs inputs;
    inputs.sipUser = record_.userName;
    inputs.recordSavePassword = flags_.autoSignIn ? record_.savePassword : 0;
    inputs.recordPassword = record_.password;
    inputs.typedPassword = record_.password;
    if (flags_.autoSignIn) {
        inputs.replyText = fetchOwnProvisioning();
        inputs.portalSipPassword = ownPortalSipPassword_;
    } else if (signInDialog_) {
        inputs.replyText = signInDialog_->flow().replyText();
        inputs.portalSipPassword = signInDialog_->flow().portal().sipPassword;
    }
    const bool started = startup_.StartEngine(inputs).has_value();
    if (flags_.autoSignIn) {
        QTimer::singleShot(kSavedAccountCheck, this, &CZebSoftPhoneDlg::checkSavedAccountConfirmed);
    }
    if (started) {
        setStatusLine(QStringLiteral("Ready : ") + record_.userName);
        flags_.callsAllowed = true;
    }
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
    // No message window exists: the last message shows in the banner.
    lastMessage_ = userPart(senderUri) + QStringLiteral(": ") + text;
    setBanner(QStringLiteral("Message from ") + lastMessage_);
}

void CZebSoftPhoneDlg::completeEngineStartup()
{
    EngineStartupInputs inputs;
    inputs.sipUser = record_.userName;
    inputs.typedPassword = record_.password;
    if (signInDialog_) {
        inputs.replyText = signInDialog_->flow().replyText();
        inputs.portalSipPassword = signInDialog_->flow().portal().sipPassword;
    }
    startup_.StartEngine(inputs);
}

void CZebSoftPhoneDlg::takeCredentials(const QString& user, const QString& password,
                                       const QString&)
{
    record_.userName = user;
    record_.password = password;
    setStatusLine(QStringLiteral("Ready : ") + user);
}

void CZebSoftPhoneDlg::refreshBalance()
{
    // The balance label arrives with the main window's full face.
}

void CZebSoftPhoneDlg::quitApplication()
{
    finish();
}

void CZebSoftPhoneDlg::requestQuit(bool fromWindowClose)
{
    const QString question = fromWindowClose
                                 ? QStringLiteral("Are you sure you want to close the Application ?")
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

void CZebSoftPhoneDlg::reject()
{
    // Escape belongs to the dial pad, never to closing the window.
}

void CZebSoftPhoneDlg::setStatusLine(const QString& text)
{
    statusLine_->setText(text);
}

void CZebSoftPhoneDlg::setBanner(const QString& text)
{
    banner_->setText(text);
}

void CZebSoftPhoneDlg::setFooter(const QString& text)
{
    footer_->setText(text);
}

void CZebSoftPhoneDlg::showSignInControls()
{
    // The main window's own sign-in fields come with its full face.
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
