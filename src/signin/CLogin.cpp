#include "signin/CLogin.h"

#include "controls/MessageBox.h"
#include "controls/OptionsPage.h"

#include <QDesktopServices>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace orvanta {

namespace {

constexpr int kMaxFieldLength = 128;
const QSize kDialogSize(300, 330);

QString messageText(LoginMessage message)
{
    switch (message) {
    case LoginMessage::ServerBlank:
        return QStringLiteral("SIP IP/Domain must not be blank");
    case LoginMessage::CredentialsBlank:
        return QStringLiteral("User Name and Password must not be blank");
    }
    return {};
}

}

CLogin::CLogin(SipAccounts& accounts, ManualAccountSession& session, QString webApiServer,
               std::function<bool()> runOptionsSheet, QWidget* parent)
        : SkinnedDialog(phoneBodyImage(kDialogSize, QColor(176, 206, 230), QColor(191, 239, 255)),
                        parent),
          model_(accounts, session, std::move(webApiServer)),
          runOptionsSheet_(std::move(runOptionsSheet))
{
    setWindowTitle(QStringLiteral("Login"));
    buildControls();
    move(kScreenPosition);
}

void CLogin::buildControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(30, 30, 30, 30);
    auto* title = new QLabel(QStringLiteral("Orvanta"), this);
    title->setAlignment(Qt::AlignCenter);
    QFont titleFont = title->font();
    titleFont.setPointSize(14);
    titleFont.setBold(true);
    title->setFont(titleFont);
    layout->addWidget(title);
    layout->addSpacing(40);

    auto* form = new QFormLayout();
    auto field = [this, form](const QString& label) {
        auto* edit = new QLineEdit(this);
        edit->setMaxLength(kMaxFieldLength);
        edit->setAccessibleName(label);
        form->addRow(label, edit);
        return edit;
    };
    server_ = field(QStringLiteral("SIP IP /Domain"));
    user_ = field(QStringLiteral("Phone Id"));
    password_ = field(QStringLiteral("Phone Pin"));
    password_->setEchoMode(QLineEdit::Password);
    layout->addLayout(form);

    ok_ = makePlainButton(QStringLiteral("OK"), this);
    cancel_ = makePlainButton(QStringLiteral("Cancel"), this);
    auto* answers = new QHBoxLayout();
    answers->addWidget(ok_);
    answers->addWidget(cancel_);
    layout->addLayout(answers);

    fill_ = makePlainButton(QStringLiteral("Accounts..."), this);
    fill_->setToolTip(QStringLiteral("Fill in the default account from the settings"));
    signUp_ = makePlainButton(QStringLiteral("Sign Up"), this);
    home_ = makePlainButton(QStringLiteral("Home"), this);
    auto* pages = new QHBoxLayout();
    pages->addWidget(fill_);
    pages->addWidget(signUp_);
    pages->addWidget(home_);
    layout->addLayout(pages);
    layout->addStretch();

    connect(ok_, &QPushButton::clicked, this, &CLogin::submit);
    connect(cancel_, &QPushButton::clicked, this, &CLogin::reject);
    connect(fill_, &QPushButton::clicked, this, &CLogin::fillFromOptions);
    connect(signUp_, &QPushButton::clicked, this,
            [this] { QDesktopServices::openUrl(QUrl(model_.signUpUrl())); });
    connect(home_, &QPushButton::clicked, this,
            [this] { QDesktopServices::openUrl(QUrl(model_.homePageUrl())); });
}

void CLogin::keyPressEvent(QKeyEvent* event)
{
    if (isEnterKey(event)) {
        submit();
        return;
    }
    SkinnedDialog::keyPressEvent(event);
}

void CLogin::submit()
{
    const LoginEntry entry{server_->text(), user_->text(), password_->text()};
    const ManualLoginModel::Outcome outcome = model_.submit(entry, [this] {
        return confirm(this,
                       QStringLiteral("All Accounts are full.Do you want to overwrite default "
                                      "account information"),
                       QStringLiteral("Confirm to Register"));
    });
    if (outcome.message) {
        showMessage(this, messageText(*outcome.message));
    }
    if (outcome.result == ManualLoginModel::Result::Accepted) {
        accept();
        model_.registerDefaultAccount();
    }
}

void CLogin::fillFromOptions()
{
    if (!runOptionsSheet_ || !runOptionsSheet_()) {
        return;
    }
    if (const std::optional<LoginEntry> account = model_.defaultCredentials()) {
        user_->setText(account->user);
        password_->setText(account->password);
    }
}

}
