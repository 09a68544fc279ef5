#include "signin/CMainLogin.h"

#include "controls/MessageBox.h"
#include "platform/BlockingWait.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace orvanta {

namespace {

constexpr int kMaxCredentialLength = 40;
const QSize kDialogSize(300, 420);

}

CMainLogin::CMainLogin(SignInMainWindow& mainWindow, SignInServices services, EngineHost& engine,
                       EngineEvents& events, SignInFlags& flags, MainWindowFlags& mainFlags,
                       QWidget* parent)
        : SkinnedDialog(phoneBodyImage(kDialogSize, QColor(176, 206, 230), QColor(191, 239, 255)),
                        parent)
{
    setWindowTitle(QStringLiteral("Login"));
    buildControls();
    flow_ = std::make_unique<SignInFlow>(static_cast<SignInView&>(*this), mainWindow,
                                         std::move(services), engine, events, flags, mainFlags);
}

CMainLogin::~CMainLogin() = default;

void CMainLogin::buildControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(30, 4, 20, 30);

    closeButton_ = new QToolButton(this);
    closeButton_->setText(QStringLiteral("X"));
    closeButton_->setToolTip(QStringLiteral("close"));
    closeButton_->setAccessibleName(QStringLiteral("close"));
    closeButton_->setAutoRaise(true);
    closeButton_->setStyleSheet(QStringLiteral("QToolButton { color: #203040; font-size: 16px; }"));
    connect(closeButton_, &QToolButton::clicked, this, [this] { flow_->onClosePressed(); });
    auto* titleRow = new QHBoxLayout();
    titleRow->addStretch();
    titleRow->addWidget(closeButton_);
    layout->addLayout(titleRow);

    auto* title = new QLabel(QStringLiteral("Orvanta"), this);
    title->setAlignment(Qt::AlignCenter);
    QFont titleFont = title->font();
    titleFont.setPointSize(16);
    titleFont.setBold(true);
    title->setFont(titleFont);
    layout->addWidget(title);
    layout->addSpacing(84);

    auto* form = new QGridLayout();
    userEdit_ = new QLineEdit(this);
    userEdit_->setMaxLength(kMaxCredentialLength);
    userEdit_->setAccessibleName(QStringLiteral("Username"));
    passwordEdit_ = new QLineEdit(this);
    passwordEdit_->setMaxLength(kMaxCredentialLength);
    passwordEdit_->setEchoMode(QLineEdit::Password);
    passwordEdit_->setAccessibleName(QStringLiteral("Password"));
    form->addWidget(new QLabel(QStringLiteral("Username :"), this), 0, 0);
    form->addWidget(userEdit_, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("Password :"), this), 1, 0);
    form->addWidget(passwordEdit_, 1, 1);
    layout->addLayout(form);

    saveBox_ = new QCheckBox(QStringLiteral("Save Password"), this);
    layout->addWidget(saveBox_);

    signInButton_ = new QPushButton(QStringLiteral("Sign In"), this);
    signInButton_->setAccessibleName(QStringLiteral("Sign In"));
    signInButton_->setAutoDefault(false);
    connect(signInButton_, &QPushButton::clicked, this, &CMainLogin::signIn);
    layout->addWidget(signInButton_);

    statusLabel_ = new QLabel(this);
    statusLabel_->setAlignment(Qt::AlignCenter);
    statusLabel_->setWordWrap(true);
    statusLabel_->setAccessibleDescription(QStringLiteral("Sign-in status"));
    QFont bold = statusLabel_->font();
    bold.setBold(true);
    statusLabel_->setFont(bold);
    layout->addWidget(statusLabel_);

    busy_ = new QProgressBar(this);
    busy_->setRange(0, 0);
    busy_->setTextVisible(false);
    busy_->setMaximumHeight(8);
    busy_->hide();
    layout->addWidget(busy_);

    signUpLink_ = new QLabel(QStringLiteral("<a href=\"#\">New user ?</a>"), this);
    signUpLink_->hide();
    connect(signUpLink_, &QLabel::linkActivated, this, [this] { flow_->onSignUpPressed(); });
    layout->addWidget(signUpLink_);

    brandPin_ = new QLineEdit(this);
    brandPin_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), brandPin_));
    brandPin_->hide();
    layout->addStretch();

    setTabOrder(userEdit_, passwordEdit_);
    setTabOrder(passwordEdit_, saveBox_);
}

void CMainLogin::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!firstShow_) {
        return;
    }
    firstShow_ = false;
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center() + QPoint(150, 0));
    }
    userEdit_->setFocus();
    userEdit_->selectAll();
}

void CMainLogin::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        signIn();
        return;
    case Qt::Key_Escape:
        // Escape does not close the dialog; it returns to the user name.
        userEdit_->setFocus();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void CMainLogin::signIn()
{
    flow_->onSignInPressed(userEdit_->text(), passwordEdit_->text(), saveBox_->isChecked());
}

void CMainLogin::showRegistrationStatus(const QString& text)
{
    setStatus(text);
}

void CMainLogin::enableCredentialEdits()
{
    setEditsEnabled(true);
}

void CMainLogin::enterReSignInMode()
{
    signUpLink_->hide();
}

QString CMainLogin::statusText() const
{
    return statusLabel_->text();
}

void CMainLogin::setStatus(const QString& text)
{
    statusLabel_->setText(text);
}

void CMainLogin::setEditsEnabled(bool enabled)
{
    userEdit_->setEnabled(enabled);
    passwordEdit_->setEnabled(enabled);
    saveBox_->setEnabled(enabled);
}

void CMainLogin::fillEdits(const QString& user, const QString& password, int savePassword)
{
    userEdit_->setText(user);
    passwordEdit_->setText(password);
    saveBox_->setChecked(savePassword != 0);
}

void CMainLogin::showBusy(bool busy)
{
    busy_->setVisible(busy);
}

void CMainLogin::showMessage(const QString& text)
{
    orvanta::showMessage(this, text);
}

void CMainLogin::pause(std::chrono::milliseconds duration)
{
    platform::pauseWithoutUserInput(duration);
}

void CMainLogin::accept()
{
    QDialog::accept();
}

void CMainLogin::reject()
{
    QDialog::reject();
}

void CMainLogin::openUrl(const QString& url)
{
    QDesktopServices::openUrl(QUrl(url));
}

}
