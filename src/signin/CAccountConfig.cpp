#include "signin/CAccountConfig.h"

#include "controls/MessageBox.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvanta {

namespace {

QString messageText(AccountPageMessage message)
{
    switch (message) {
    case AccountPageMessage::CredentialsBlank:
        return QStringLiteral("username/password can not be left blank");
    case AccountPageMessage::NoAccountSelected:
        return QStringLiteral("Please first select an Account");
    case AccountPageMessage::NoDefault:
        return QStringLiteral("Atleast one account should be default");
    }
    return {};
}

}

CAccountConfig::CAccountConfig(SipAccounts& accounts, ManualAccountSession& session,
                               std::function<std::optional<int>()> selectedAccount, QWidget* parent)
        : OptionsPage(parent), model_(accounts, session),
          selectedAccount_(std::move(selectedAccount))
{
    buildControls();
    pushFields();
}

void CAccountConfig::buildControls()
{
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout();
    auto field = [this, form](const QString& label, bool shown) {
        auto* edit = new QLineEdit(this);
        edit->setAccessibleName(label);
        if (shown) {
            form->addRow(label, edit);
        } else {
            edit->hide();
        }
        connect(edit, &QLineEdit::textEdited, this, &CAccountConfig::changed);
        return edit;
    };
    account_ = field(QStringLiteral("Account"), false);
    user_ = field(QStringLiteral("UserName"), true);
    password_ = field(QStringLiteral("Password"), true);
    password_->setEchoMode(QLineEdit::Password);
    contact_ = field(QStringLiteral("Contact"), false);
    registrar_ = field(QStringLiteral("Registrar"), false);
    realm_ = field(QStringLiteral("Realm"), false);
    expires_ = field(QStringLiteral("Expires"), false);
    proxy_ = field(QStringLiteral("Proxy"), false);
    default_ = new QCheckBox(QStringLiteral("Default"), this);
    connect(default_, &QCheckBox::clicked, this, &CAccountConfig::changed);
    form->addRow(QString(), default_);
    layout->addLayout(form);
    layout->addStretch();
    layout->addLayout(takeButtonRow());
    applyButton()->hide();
    connect(applyButton(), &QPushButton::clicked, this, [this] {
        readControls();
        if (const auto refused = model_.apply(selectedAccount_())) {
            showMessage(this, messageText(*refused));
        }
        pushFields();
    });
    connect(okButton(), &QPushButton::clicked, this, &CAccountConfig::ok);
}

void CAccountConfig::ok()
{
    readControls();
    const AccountPageModel::OkOutcome outcome = model_.ok(selectedAccount_());
    for (const AccountPageMessage message : outcome.messages) {
        showMessage(this, messageText(message));
    }
    pushFields();
    if (outcome.closeSheet) {
        emit closeSheet(true);
    }
}

void CAccountConfig::showAccount(int number)
{
    model_.showAccount(number);
    pushFields();
}

void CAccountConfig::readControls()
{
    AccountPageFields& fields = model_.fields();
    fields.account = account_->text();
    fields.user = user_->text();
    fields.password = password_->text();
    fields.contact = contact_->text();
    fields.registrar = registrar_->text();
    fields.realm = realm_->text();
    fields.expires = expires_->text();
    fields.proxy = proxy_->text();
    fields.isDefault = default_->isChecked();
}

void CAccountConfig::pushFields()
{
    const AccountPageFields& fields = model_.fields();
    account_->setText(fields.account);
    user_->setText(fields.user);
    password_->setText(fields.password);
    contact_->setText(fields.contact);
    registrar_->setText(fields.registrar);
    realm_->setText(fields.realm);
    expires_->setText(fields.expires);
    proxy_->setText(fields.proxy);
    default_->setChecked(fields.isDefault);
    applyButton()->setEnabled(model_.applyEnabled());
}

void CAccountConfig::changed()
{
    readControls();
    model_.markChanged();
    applyButton()->setEnabled(true);
}

void CAccountConfig::onShownOrHidden()
{
    model_.onShown();
    pushFields();
}

}
