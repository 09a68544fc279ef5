#pragma once

#include "services/AddFriendForm.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace orvanta {

// "Add Friend": adds a friend or edits the selected one; closes with OK
// once the server has the change.
class CAddToFriend : public QDialog {
    Q_OBJECT

public:
    CAddToFriend(FriendList& list, FriendFormMode mode, std::size_t row, QWidget* parent = nullptr);

    QLineEdit* nameEdit() const { return name_; }
    QLineEdit* nicknameEdit() const { return nickname_; }
    QLineEdit* pcPhoneEdit() const { return pcPhone_; }
    QLineEdit* faxEdit() const { return fax_; }
    QLineEdit* speedDialEdit() const { return speedDial_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    FriendEntry typed() const;

    AddFriendForm form_;
    QLineEdit* name_ = nullptr;
    QLineEdit* nickname_ = nullptr;
    QLineEdit* pcPhone_ = nullptr;
    QLineEdit* fax_ = nullptr;
    QLineEdit* speedDial_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}
