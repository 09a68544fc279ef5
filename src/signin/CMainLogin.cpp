#include "signin/CMainLogin.h"

#include "controls/MessageBox.h"
#include "records/SignInRecords.h"

#include <QCheckBox>
#include <QCloseEvent>
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

constexpr int kMaxPasswordLength = 40;
const QSize kDialogSize(300, 420);

}

CMainLogin::CMainLogin(const SignInParts& parts, SignInFlow::Mode mode, QWidget* parent)
        : SkinnedDialog(phoneBodyImage(kDialogSize, QColor(176, 206, 230), QColor(191, 239, 255)),
                        parent)
{
    setWindowTitle(QStringLiteral("Login"));
    buildControls();
    flow_ = std::make_unique<SignInFlow>(static_cast<SignInView&>(*this), parts, mode);
}

void CMainLogin::prefill(int savePassword, const QString& reservedText, const QString& userName,
                         const QString& password)
{
    prefill_ = {savePassword, reservedText, userName, password};
    fillEdits(userName, password, savePassword);
}

QString CMainLogin::statusText(SignInStatus status)
{
    switch (status) {
    case SignInStatus::None:
        break;
    case SignInStatus::Registering:
        return QStringLiteral("Registering...Please wait");
    case SignInStatus::InactiveDialer:
        return QStringLiteral("Inactive Dialer");
    case SignInStatus::InvalidDialer:
        return QStringLiteral("Invalid Dialer");
    case SignInStatus::WrongCredentials:
        return QStringLiteral("Wrong Username/Password");
    case SignInStatus::UserNotFound:
        return QStringLiteral("User Not Found");
    case SignInStatus::RequestTimeout:
        return QStringLiteral("Request Timeout");
    }
    return {};
}

QString CMainLogin::messageText(SignInMessage message)
{
    switch (message) {
    case SignInMessage::InternetUnavailable:
        return QStringLiteral("Internet is not available!");
    case SignInMessage::BlankCredentials:
        return QStringLiteral("Username & Password must not be blank");
    case SignInMessage::InvalidUserName:
        return QStringLiteral("Invalid Username");
    case SignInMessage::PortalUnreachable:
        return QStringLiteral("Error in OpenURL");
    case SignInMessage::ServerError:
        return QStringLiteral("Server error-3,Please restart the application");
    case SignInMessage::EngineMissing:
        return QStringLiteral("Unable to Load DLL");
    case SignInMessage::RestoreFailed:
        return QStringLiteral("Wrong Username/Password \nPlease contact support team");
    }
    return {};
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
    connect(closeButton_, &QToolButton::clicked, this, [this] { flow_->close(); });
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
    // As long as a saved user name may be, so what is typed can be kept.
    userEdit_->setMaxLength(kMaxSavedUserNameLength);
    userEdit_->setAccessibleName(QStringLiteral("Username"));
    passwordEdit_ = new QLineEdit(this);
    passwordEdit_->setMaxLength(kMaxPasswordLength);
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
    connect(signUpLink_, &QLabel::linkActivated, this, [this] { flow_->signUp(); });
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
    if (flow_->mode() == SignInFlow::Mode::AccountLogin) {
        signUpLink_->hide();
    }
    flow_->begin(prefill_.savePassword, prefill_.reservedText, prefill_.userName,
                 prefill_.password);
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
    flow_->signIn(userEdit_->text(), passwordEdit_->text(), saveBox_->isChecked());
}

void CMainLogin::setStatus(SignInStatus status)
{
    statusLabel_->setText(statusText(status));
}

void CMainLogin::setEditsEnabled(bool enabled)
{
    editsEnabled_ = enabled;
    applyEnabled();
}

void CMainLogin::setWaiting(bool waiting)
{
    waiting_ = waiting;
    busy_->setVisible(waiting);
    applyEnabled();
}

// While a wait runs nothing takes input; afterwards the edits follow the
// flow and the buttons work again.
void CMainLogin::applyEnabled()
{
    const bool edits = editsEnabled_ && !waiting_;
    userEdit_->setEnabled(edits);
    passwordEdit_->setEnabled(edits);
    saveBox_->setEnabled(edits);
    for (QWidget* control :
         std::initializer_list<QWidget*>{signInButton_, closeButton_, signUpLink_, brandPin_}) {
        control->setEnabled(!waiting_);
    }
}

void CMainLogin::fillEdits(const QString& user, const QString& password, int savePassword)
{
    userEdit_->setText(user);
    passwordEdit_->setText(password);
    saveBox_->setChecked(savePassword != 0);
}

void CMainLogin::showMessage(SignInMessage message)
{
    orvanta::showMessage(this, messageText(message));
}

void CMainLogin::accept()
{
    closing_ = true;
    QDialog::accept();
}

void CMainLogin::reject()
{
    closing_ = true;
    QDialog::reject();
}

void CMainLogin::closeEvent(QCloseEvent* event)
{
    if (closing_) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    flow_->close();
}

void CMainLogin::openUrl(const QString& url)
{
    QDesktopServices::openUrl(QUrl(url));
}

}
