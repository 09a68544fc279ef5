#pragma once

#include "net/WebApiClient.h"
#include "services/BusyTracker.h"
#include "services/ServicePorts.h"

#include <QObject>
#include <optional>
#include <vector>

namespace orvanta {

// What the friends window and its Add Friend dialog tell the user.
enum class FriendNotice {
    OpenUrlException,
    OpenUrlNoFile,
    NoItemSelected,
    DeleteFailed,
    ChangeFailed,
    NameAndPhoneRequired,
    PhoneNotNumeric,
    SpeedDialNotNumeric,
    SpeedDialUsed,
    FaxNotNumeric,
};

// The transport failure a web reply carries, as a notice; nothing when the
// reply arrived.
std::optional<FriendNotice> transportNotice(OpenUrlFailure failure);

// The subscriber's friends as the web API server keeps them, at most
// kFriendTableRows rows. Every change goes to the server first and the table
// is then fetched again, so it shows the server's copy. It lives for the
// session: a successful registration fetches it without showing it.
class FriendList : public QObject {
    Q_OBJECT

public:
    FriendList(WebApiClient& client, const ServiceSession& session, QObject* parent = nullptr);

    const std::vector<FriendEntry>& rows() const { return rows_; }
    bool busy() const { return busy_.busy(); }

    // Fetches the table again. A successful fetch replaces every row; a
    // failed one leaves them. Ignored while a fetch for the same subscriber
    // is running; for another subscriber the rows are emptied first and a
    // reply still due for the previous one is dropped.
    void fetch();

    // True when row names a row of the table; otherwise NoItemSelected is
    // reported (EDIT and DELETE).
    bool checkSelection(std::optional<std::size_t> row);

    // Deletes a row on the server (after the user confirmed), then removes
    // it here and fetches again.
    void remove(std::size_t row);

    // Add Friend's view of the table.
    bool speedDialUsed(const QString& speedDial) const;
    void storeAdded(const FriendEntry& entry);
    void storeEdited(std::size_t row, const FriendEntry& entry);

    WebApiClient& client() { return client_; }
    QString subscriberId() const { return session_.sipUser(); }

signals:
    void rowsChanged();
    void busyChanged(bool busy);
    void notice(FriendNotice notice);

private:
    void take(const WebReply& reply);

    WebApiClient& client_;
    const ServiceSession& session_;
    std::vector<FriendEntry> rows_;
    BusyTracker busy_;
    bool fetching_ = false;
    QString fetchingFor_;
    QString rowsFor_;  // the subscriber the rows belong to
};

}
