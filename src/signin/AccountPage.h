#pragma once

#include "signin/SipAccounts.h"

#include <QString>
#include <optional>
#include <vector>

namespace orvanta {

// The accounts page's eight fields and its "Default" box. Only "UserName",
// "Password" and "Default" are shown; the others are kept as the page keeps
// them.
struct AccountPageFields {
    QString account;  // "Account <n>"
    QString user;
    QString password;
    QString contact;
    QString registrar;
    QString realm;
    QString expires;  // never stored
    QString proxy;
    bool isDefault = false;
};

enum class AccountPageMessage { CredentialsBlank, NoAccountSelected, NoDefault };

// The accounts page of the options sheet: edits one of the eight accounts
// at a time and re-registers the default account on "Ok".
class AccountPageModel {
public:
    struct OkOutcome {
        std::vector<AccountPageMessage> messages;  // in the order shown
        bool closeSheet = false;
    };

    AccountPageModel(SipAccounts& accounts, ManualAccountSession& session)
            : accounts_(accounts), session_(session)
    {
    }

    AccountPageFields& fields() { return fields_; }
    const AccountPageFields& fields() const { return fields_; }
    bool applyEnabled() const { return applyEnabled_; }

    // The page was shown: "Apply" off, every field empty.
    void onShown();
    // The sheet chose "Account <number>" in its tree.
    void showAccount(int number);
    // Any edit or a click on "Default".
    void markChanged() { applyEnabled_ = true; }

    // selectedAccount: the account chosen in the sheet's tree, if any.
    std::optional<AccountPageMessage> apply(std::optional<int> selectedAccount);
    OkOutcome ok(std::optional<int> selectedAccount);

private:
    SipAccounts& accounts_;
    ManualAccountSession& session_;
    AccountPageFields fields_;
    bool applyEnabled_ = false;
    bool recordChanged_ = false;
};

}
