#include "services/CCallInformation.h"

#include "controls/MessageBox.h"
#include "services/BusyDisplay.h"
#include "services/ServiceTexts.h"

#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

namespace orvanta {

namespace {

// Each column's share of a fifth of the list's width.
constexpr double kColumnShares[] = {1.3, 1.3, 0.7, 0.7, 1.0};

}

CCallInformation::CCallInformation(WebApiClient& client, const ServiceSession& session,
                                   QWidget* parent)
        : QDialog(parent), records_(client, session)
{
    setWindowTitle(QStringLiteral("Call Log"));
    setMinimumSize(550, 350);
    frame_ = new QFrame(this);
    frame_->setFrameShape(QFrame::Box);
    view_ = new QTreeWidget(this);
    view_->setRootIsDecorated(false);
    view_->setHeaderLabels({QStringLiteral("StartTime"), QStringLiteral("EndTime"),
                            QStringLiteral("Duration(sec)"), QStringLiteral("Cost"),
                            QStringLiteral("Number")});
    view_->header()->setDefaultAlignment(Qt::AlignCenter);
    view_->header()->setStretchLastSection(false);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(14);
    view_->setFont(font);
    show_ = new QPushButton(QStringLiteral("Show"), this);
    show_->setDefault(true);
    label_ = new QLabel(this);
    resize(550, 350);

    connect(show_, &QPushButton::clicked, &records_, &CallRecords::show);
    connect(&records_, &CallRecords::changed, this, &CCallInformation::fill);
    connect(&records_, &CallRecords::transportFailed, this,
            [this](OpenUrlFailure failure) { showMessage(this, openUrlFailureText(failure)); });
    connect(&records_, &CallRecords::busyChanged, this,
            [this](bool busy) { showBusy(this, busy, {show_}); });
}

void CCallInformation::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    placeControls();
}

void CCallInformation::placeControls()
{
    const int w = width();
    const int h = height();
    view_->setGeometry(20, 60, w - 40, h - 100);
    frame_->setGeometry(13, 13, w - 25, h - 45);
    show_->setGeometry(w - w / 2 - 100, 30, 70, 23);
    label_->setGeometry(w - w / 2, 35, 160, 15);
    const double fifth = view_->width() / 5.0;
    for (int column = 0; column < 5; ++column) {
        view_->setColumnWidth(column, static_cast<int>(kColumnShares[column] * fifth));
    }
}

void CCallInformation::fill()
{
    view_->clear();
    label_->setText(callLogLabelText(records_.label()));
    for (const CallRecord& row : records_.rows()) {
        auto* item = new QTreeWidgetItem(view_, {row.starttime, row.endtime, row.callduration,
                                                 row.callamount, row.originaldestinationalias});
        for (int column = 0; column < 5; ++column) {
            item->setTextAlignment(column, Qt::AlignCenter);
        }
    }
}

}
