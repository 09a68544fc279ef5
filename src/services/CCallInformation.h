#pragma once

#include "services/CallRecords.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace orvanta {

// "Call Log": the server's call records in five columns, fetched by "Show".
class CCallInformation : public QDialog {
    Q_OBJECT

public:
    CCallInformation(WebApiClient& client, const ServiceSession& session,
                     QWidget* parent = nullptr);

    CallRecords& records() { return records_; }
    QTreeWidget* list() const { return view_; }
    QPushButton* showButton() const { return show_; }
    QLabel* label() const { return label_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fill();
    void placeControls();

    CallRecords records_;
    QFrame* frame_ = nullptr;
    QTreeWidget* view_ = nullptr;
    QPushButton* show_ = nullptr;
    QLabel* label_ = nullptr;
};

}
