#pragma once

#include "services/SmsSender.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace orvanta {

// "SMS": sends a text of at most 160 characters to a telephone number.
class CSMSWindow : public QDialog {
    Q_OBJECT

public:
    CSMSWindow(SmsGateway& gateway, const ServiceSession& session, BalanceRefresher& balance,
               QWidget* parent = nullptr);

    SmsSender& sender() { return sender_; }
    QLineEdit* numberEdit() const { return number_; }
    QPlainTextEdit* messageEdit() const { return message_; }
    QLabel* counterLabel() const { return counter_; }
    QLabel* statusLabel() const { return status_; }
    QPushButton* sendButton() const { return send_; }
    QPushButton* clearButton() const { return clear_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showFields();

    SmsSender sender_;
    QLineEdit* number_ = nullptr;
    QPlainTextEdit* message_ = nullptr;
    QLabel* counter_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* send_ = nullptr;
    QPushButton* clear_ = nullptr;
    bool showingFields_ = false;
};

}
