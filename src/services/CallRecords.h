#pragma once

#include "net/WebApiClient.h"
#include "services/BusyTracker.h"
#include "services/ServicePorts.h"

#include <QObject>
#include <vector>

namespace orvanta {

// What the label beside "Show" says.
enum class CallLogLabel { Blank, NotFound };

// The billing records the web API server keeps for the subscriber, fetched
// on demand; nothing is stored locally.
class CallRecords : public QObject {
    Q_OBJECT

public:
    CallRecords(WebApiClient& client, const ServiceSession& session, QObject* parent = nullptr);

    // At most kCallRecordRows rows, as the server sent them.
    const std::vector<CallRecord>& rows() const { return rows_; }
    // The last reply's whole text, as received.
    const QString& lastReply() const { return lastReply_; }
    CallLogLabel label() const { return label_; }
    bool busy() const { return busy_.busy(); }

    // Show: empties the table, fetches the records and fills it again.
    void show();

signals:
    void changed();
    void busyChanged(bool busy);
    void transportFailed(OpenUrlFailure failure);

private:
    void takeReply(const WebReply& reply);

    WebApiClient& client_;
    const ServiceSession& session_;
    std::vector<CallRecord> rows_;
    QString lastReply_;
    CallLogLabel label_ = CallLogLabel::Blank;
    BusyTracker busy_;
};

}
