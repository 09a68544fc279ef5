#include "services/CAddToFriend.h"

#include "controls/MessageBox.h"
#include "services/BusyDisplay.h"
#include "services/ServiceTexts.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvanta {

CAddToFriend::CAddToFriend(FriendList& list, FriendFormMode mode, std::size_t row, QWidget* parent)
        : QDialog(parent), form_(list, mode, row)
{
    setWindowTitle(QStringLiteral("Add Friend"));
    auto* fields = new QFormLayout;
    const FriendEntry initial = form_.initialFields();
    const auto addField = [&](const char* label, const QString& text) {
        auto* edit = new QLineEdit(text, this);
        fields->addRow(QLatin1String(label), edit);
        return edit;
    };
    name_ = addField("Name", initial.name);
    nickname_ = addField("Nick Name", initial.nickname);
    pcPhone_ = addField("Pc Phone", initial.pcphone);
    fax_ = addField("Fax", initial.fax);
    speedDial_ = addField("Speed Dial", initial.speeddial);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    ok_->setDefault(true);
    cancel_->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    connect(ok_, &QPushButton::clicked, this, [this] { form_.submit(typed()); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(&form_, &AddFriendForm::refused, this, [this](FriendNotice notice) {
        showMessage(this, friendNoticeText(notice));
        name_->setFocus();
    });
    connect(&form_, &AddFriendForm::notice, this,
            [this](FriendNotice notice) { showMessage(this, friendNoticeText(notice)); });
    connect(&form_, &AddFriendForm::accepted, this, &QDialog::accept);
    connect(&form_, &AddFriendForm::busyChanged, this, [this](bool busy) {
        showBusy(this, busy, {ok_, name_, nickname_, pcPhone_, fax_, speedDial_});
    });
}

FriendEntry CAddToFriend::typed() const
{
    return {name_->text(), nickname_->text(),  pcPhone_->text(),
            fax_->text(),  speedDial_->text(), {}};
}

}
