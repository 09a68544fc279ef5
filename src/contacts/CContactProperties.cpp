#include "contacts/CContactProperties.h"

#include "contacts/ContactTexts.h"
#include "controls/MessageBox.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orvanta {

namespace {

struct FieldBinding {
    const char* label;
    QString Contact::*member;
};

// In tab order, Home and Office coming after the address.
constexpr FieldBinding kDetails[] = {
    {"Name", &Contact::name},
    {"Nick Name", &Contact::nickname},
    {"Address", &Contact::address},
};
constexpr FieldBinding kPlace[] = {
    {"City", &Contact::city},
    {"State", &Contact::state},
    {"Country", &Contact::country},
    {"Pin Code", &Contact::pincode},
};
constexpr FieldBinding kMethods[] = {
    {"Phone", &Contact::phone}, {"Pager", &Contact::pager}, {"Mobile", &Contact::mobile},
    {"Fax", &Contact::fax},     {"Email", &Contact::email},
};

template <std::size_t N>
void addFields(const FieldBinding (&bindings)[N], QFormLayout* form, const Contact& initial,
               std::map<QString, QLineEdit*>& fields)
{
    for (const FieldBinding& binding : bindings) {
        auto* edit = new QLineEdit(initial.*binding.member);
        edit->setAccessibleName(QLatin1String(binding.label));
        form->addRow(QLatin1String(binding.label), edit);
        fields[QLatin1String(binding.label)] = edit;
    }
}

template <std::size_t N>
void readFields(const FieldBinding (&bindings)[N], const std::map<QString, QLineEdit*>& fields,
                Contact& contact)
{
    for (const FieldBinding& binding : bindings) {
        contact.*binding.member = fields.at(QLatin1String(binding.label))->text();
    }
}

}

CContactProperties::CContactProperties(ContactEditor& editor, QWidget* parent)
        : QDialog(parent), editor_(editor)
{
    setWindowTitle(contact_texts::editorTitle);
    const Contact& initial = editor_.initial();

    auto* details = new QGroupBox(QStringLiteral("Enter Details"), this);
    auto* detailsForm = new QFormLayout(details);
    addFields(kDetails, detailsForm, initial, fields_);
    auto* addressType = new QHBoxLayout();
    home_ = new QRadioButton(QStringLiteral("Home"), details);
    office_ = new QRadioButton(QStringLiteral("Office"), details);
    (initial.isOffice() ? office_ : home_)->setChecked(true);
    addressType->addWidget(home_);
    addressType->addWidget(office_);
    detailsForm->addRow(QString(), addressType);
    addFields(kPlace, detailsForm, initial, fields_);

    auto* methods = new QGroupBox(QStringLiteral("Contact Methods"), this);
    auto* methodsForm = new QFormLayout(methods);
    addFields(kMethods, methodsForm, initial, fields_);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    ok_->setDefault(true);
    cancel_->setAutoDefault(false);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);

    auto* column = new QVBoxLayout(this);
    column->addWidget(details);
    column->addWidget(methods);
    column->addLayout(buttons);

    connect(ok_, &QPushButton::clicked, this, &CContactProperties::onOk);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    fields_.at(QStringLiteral("Name"))->setFocus();
}

QLineEdit* CContactProperties::field(const QString& label) const
{
    const auto found = fields_.find(label);
    return found == fields_.end() ? nullptr : found->second;
}

Contact CContactProperties::typed() const
{
    Contact contact;
    readFields(kDetails, fields_, contact);
    readFields(kPlace, fields_, contact);
    readFields(kMethods, fields_, contact);
    contact.addressType = office_->isChecked() ? kOfficeAddress : kHomeAddress;
    return contact;
}

void CContactProperties::onOk()
{
    const ContactEditor::Result result = editor_.accept(typed());
    switch (result.outcome) {
    case ContactEditor::Outcome::Saved:
        accept();
        return;
    case ContactEditor::Outcome::Refused:
        showMessage(this, contact_texts::checkMessage(result.check));
        if (result.focusName) {
            fields_.at(QStringLiteral("Name"))->setFocus();
        }
        return;
    case ContactEditor::Outcome::ListFull:
        showMessage(this, contact_texts::notice(ViewNotice::ContactListFull));
        return;
    }
}

}
