#pragma once

#include "services/RateLookup.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace orvanta {

// "Rates": what a call to the typed number costs and how long the credit
// lasts.
class CRates : public QDialog {
    Q_OBJECT

public:
    CRates(AccountApiClient& client, const ServiceSession& session, QWidget* parent = nullptr);

    QLineEdit* numberEdit() const { return number_; }
    QLabel* resultLabel() const { return result_; }
    QPushButton* checkButton() const { return check_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    RateLookup lookup_;
    QLineEdit* number_ = nullptr;
    QLabel* result_ = nullptr;
    QPushButton* check_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}
