#pragma once

#include "controls/SkinnedDialog.h"
#include "signin/ManualLogin.h"

#include <functional>

class QLineEdit;
class QPushButton;

namespace orvanta {

// The manual account dialog: a SIP server, a user name and a password to
// register with. It keeps them in the table of eight accounts, registers the
// default account through the session, and can fill itself from the
// options sheet.
class CLogin : public SkinnedDialog {
    Q_OBJECT

public:
    // runOptionsSheet runs the options sheet modally; true when it closed
    // with OK.
    CLogin(SipAccounts& accounts, ManualAccountSession& session, QString webApiServer,
           std::function<bool()> runOptionsSheet, QWidget* parent = nullptr);

    ManualLoginModel& model() { return model_; }
    QLineEdit* serverEdit() const { return server_; }
    QLineEdit* userEdit() const { return user_; }
    QLineEdit* passwordEdit() const { return password_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* fillButton() const { return fill_; }
    QPushButton* signUpButton() const { return signUp_; }
    QPushButton* homeButton() const { return home_; }

    static constexpr QPoint kScreenPosition{370, 250};

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void submit();
    void fillFromOptions();

    ManualLoginModel model_;
    std::function<bool()> runOptionsSheet_;
    QLineEdit* server_ = nullptr;
    QLineEdit* user_ = nullptr;
    QLineEdit* password_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* fill_ = nullptr;
    QPushButton* signUp_ = nullptr;
    QPushButton* home_ = nullptr;
};

}
