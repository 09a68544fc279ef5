#pragma once

#include "controls/OptionsPage.h"
#include "signin/AccountPage.h"

#include <functional>

class QCheckBox;
class QLineEdit;

namespace orvanta {

// The accounts page of the options sheet: user name, password and the
// default flag of the account chosen in the sheet's tree.
class CAccountConfig : public OptionsPage {
    Q_OBJECT

public:
    // selectedAccount: the account chosen in the sheet's tree, if any.
    CAccountConfig(SipAccounts& accounts, ManualAccountSession& session,
                   std::function<std::optional<int>()> selectedAccount, QWidget* parent = nullptr);

    AccountPageModel& model() { return model_; }
    // The sheet chose "Account <number>".
    void showAccount(int number);

    QLineEdit* userEdit() const { return user_; }
    QLineEdit* passwordEdit() const { return password_; }
    QCheckBox* defaultBox() const { return default_; }

protected:
    void onShownOrHidden() override;

private:
    void buildControls();
    void readControls();
    void pushFields();
    void changed();
    void ok();

    AccountPageModel model_;
    std::function<std::optional<int>()> selectedAccount_;
    QLineEdit* account_ = nullptr;
    QLineEdit* user_ = nullptr;
    QLineEdit* password_ = nullptr;
    QLineEdit* contact_ = nullptr;
    QLineEdit* registrar_ = nullptr;
    QLineEdit* realm_ = nullptr;
    QLineEdit* expires_ = nullptr;
    QLineEdit* proxy_ = nullptr;
    QCheckBox* default_ = nullptr;
};

}
