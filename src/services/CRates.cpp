#include "services/CRates.h"

#include "controls/MessageBox.h"
#include "services/BusyDisplay.h"
#include "services/ServiceTexts.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvanta {

CRates::CRates(AccountApiClient& client, const ServiceSession& session, QWidget* parent)
        : QDialog(parent), lookup_(client, session)
{
    setWindowTitle(QStringLiteral("Rates"));
    auto* numberGroup = new QGroupBox(QStringLiteral("Enter the Number"), this);
    number_ = new QLineEdit(numberGroup);
    number_->setMaxLength(kMaxRateNumberLength);
    auto* numberRow = new QHBoxLayout(numberGroup);
    numberRow->addWidget(new QLabel(QStringLiteral("Number"), numberGroup));
    numberRow->addWidget(number_);

    auto* resultGroup = new QGroupBox(QStringLiteral("Call Rates and Duration"), this);
    result_ = new QLabel(resultGroup);
    result_->setWordWrap(true);
    (new QVBoxLayout(resultGroup))->addWidget(result_);

    check_ = new QPushButton(QStringLiteral("Check"), this);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    check_->setDefault(true);
    cancel_->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(check_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(numberGroup);
    layout->addWidget(resultGroup);
    layout->addLayout(buttons);

    connect(number_, &QLineEdit::textChanged, &lookup_, &RateLookup::numberEdited);
    connect(check_, &QPushButton::clicked, this, [this] { lookup_.check(number_->text()); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(&lookup_, &RateLookup::resultChanged, this,
            [this] { result_->setText(rateResultText(lookup_.result())); });
    connect(&lookup_, &RateLookup::notice, this,
            [this](RatesNotice notice) { showMessage(this, ratesNoticeText(notice)); });
    connect(&lookup_, &RateLookup::busyChanged, this, [this](bool busy) {
        showBusy(this, busy, {check_, number_});
    });
}

}
