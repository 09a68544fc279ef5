#pragma once

#include "contacts/ContactEditor.h"

#include <QDialog>
#include <map>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace orvanta {

// The contact editor "Contact": the fields of one contact, checked on OK.
class CContactProperties : public QDialog {
    Q_OBJECT

public:
    CContactProperties(ContactEditor& editor, QWidget* parent = nullptr);

    // By label: "Name", "Nick Name", "Address", "City", "State", "Country",
    // "Pin Code", "Phone", "Pager", "Mobile", "Fax", "Email".
    QLineEdit* field(const QString& label) const;
    QRadioButton* homeButton() const { return home_; }
    QRadioButton* officeButton() const { return office_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    void onOk();
    Contact typed() const;

    ContactEditor& editor_;
    std::map<QString, QLineEdit*> fields_;
    QRadioButton* home_ = nullptr;
    QRadioButton* office_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}
