#include "signin/AccountPage.h"

namespace orvanta {

void AccountPageModel::onShown()
{
    applyEnabled_ = false;
    fields_ = AccountPageFields{};
}

void AccountPageModel::showAccount(int number)
{
    onShown();
    fields_.account = QStringLiteral("Account %1").arg(number);
    const SipAccountRecord& account = accounts_.record(number);
    fields_.isDefault = account.isDefault == 1;
    if (!account.accountUser.isEmpty()) {
        fields_.user = account.accountUser;
        fields_.password = account.accountPassword;
        fields_.contact = account.accountContact;
        fields_.registrar = account.accountRegistrar;
    }
}

std::optional<AccountPageMessage> AccountPageModel::apply(std::optional<int> selectedAccount)
{
    if (fields_.user.isEmpty() || fields_.password.isEmpty()) {
        return AccountPageMessage::CredentialsBlank;
    }
    if (!selectedAccount || *selectedAccount < 1 || *selectedAccount > kSipAccountCount) {
        return AccountPageMessage::NoAccountSelected;
    }
    SipAccountRecord& account = accounts_.record(*selectedAccount);
    account.accountUser = fields_.user;
    account.accountPassword = fields_.password;
    account.accountContact = fields_.contact;
    account.accountRegistrar = fields_.registrar;
    account.accountProxy = fields_.proxy;
    account.accountRealm = fields_.realm;
    if (fields_.isDefault) {
        accounts_.makeDefault(*selectedAccount);
    } else {
        account.isDefault = 0;
    }
    applyEnabled_ = false;
    recordChanged_ = true;
    return std::nullopt;
}

AccountPageModel::OkOutcome AccountPageModel::ok(std::optional<int> selectedAccount)
{
    OkOutcome outcome;
    if (const auto refused = apply(selectedAccount)) {
        outcome.messages.push_back(*refused);
    }
    const SipAccountRecord* defaultAccount = accounts_.defaultAccount();
    if (!defaultAccount) {
        outcome.messages.push_back(AccountPageMessage::NoDefault);
        return outcome;
    }
    session_.registerDefaultAccount(*defaultAccount);
    outcome.closeSheet = recordChanged_;
    return outcome;
}

}
