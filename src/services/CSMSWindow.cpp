#include "services/CSMSWindow.h"

#include "controls/MessageBox.h"
#include "services/BusyDisplay.h"
#include "services/ServiceTexts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace orvanta {

CSMSWindow::CSMSWindow(SmsGateway& gateway, const ServiceSession& session,
                       BalanceRefresher& balance, QWidget* parent)
        : QDialog(parent), sender_(gateway, session, balance)
{
    setWindowTitle(QStringLiteral("SMS"));
    auto* numberGroup = new QGroupBox(QStringLiteral("Enter the Phone Number"), this);
    number_ = new QLineEdit(numberGroup);
    number_->setMaxLength(kMaxSmsNumberLength);
    auto* numberRow = new QHBoxLayout(numberGroup);
    numberRow->addWidget(new QLabel(QStringLiteral("To"), numberGroup));
    numberRow->addWidget(number_);

    auto* messageGroup = new QGroupBox(QStringLiteral("Type your Message here"), this);
    message_ = new QPlainTextEdit(messageGroup);
    counter_ = new QLabel(QString::number(kMaxSmsCharacters), messageGroup);
    auto* messageGrid = new QGridLayout(messageGroup);
    messageGrid->addWidget(new QLabel(QStringLiteral("Message:"), messageGroup), 0, 0);
    messageGrid->addWidget(message_, 0, 1, 1, 3);
    messageGrid->addWidget(new QLabel(QStringLiteral("Left:"), messageGroup), 1, 2);
    messageGrid->addWidget(counter_, 1, 3);

    status_ = new QLabel(this);
    status_->setWordWrap(true);
    auto* statusRow = new QHBoxLayout;
    statusRow->addWidget(new QLabel(QStringLiteral("Status"), this));
    statusRow->addWidget(status_, 1);

    send_ = new QPushButton(QStringLiteral("send"), this);
    clear_ = new QPushButton(QStringLiteral("Clear"), this);
    for (QPushButton* button : {send_, clear_}) {
        button->setAutoDefault(false);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(send_);
    buttons->addWidget(clear_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(numberGroup);
    layout->addWidget(messageGroup);
    layout->addLayout(statusRow);
    layout->addLayout(buttons);

    connect(number_, &QLineEdit::textChanged, &sender_, &SmsSender::editNumber);
    connect(message_, &QPlainTextEdit::textChanged, this, [this] {
        if (!showingFields_) {
            sender_.editMessage(message_->toPlainText());
            counter_->setNum(sender_.remaining());
        }
    });
    connect(send_, &QPushButton::clicked, this, [this] { sender_.send(number_->text()); });
    connect(clear_, &QPushButton::clicked, &sender_, &SmsSender::clear);
    connect(&sender_, &SmsSender::fieldsChanged, this, &CSMSWindow::showFields);
    connect(&sender_, &SmsSender::statusChanged, this,
            [this] { status_->setText(smsStatusText(sender_.status(), sender_.response())); });
    connect(&sender_, &SmsSender::notice, this,
            [this](SmsNotice notice) { showMessage(this, smsNoticeText(notice)); });
    connect(&sender_, &SmsSender::numberWanted, this, [this] {
        if (number_->isVisible()) {
            number_->setFocus();
        }
    });
    connect(&sender_, &SmsSender::busyChanged, this, [this](bool busy) {
        showBusy(this, busy, {send_, clear_, number_, message_});
    });
}

void CSMSWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        sender_.open();
    }
}

void CSMSWindow::showFields()
{
    if (message_->toPlainText() != sender_.message()) {
        showingFields_ = true;
        message_->setPlainText(sender_.message());
        message_->moveCursor(QTextCursor::End);
        showingFields_ = false;
    }
    counter_->setNum(sender_.remaining());
}

}
