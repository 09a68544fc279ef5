#pragma once

#include "services/FriendList.h"

#include <QObject>
#include <optional>

namespace orvanta {

enum class FriendFormMode { Add, Edit };

// The first check the typed fields fail, in the order the user is told:
// name and PC phone given, PC phone numeric, speed dial numeric, speed dial
// not used by any row of the table (the edited row included), fax numeric.
std::optional<FriendNotice> checkFriendFields(const FriendEntry& typed, const FriendList& list);

// The Add Friend dialog's logic: adds a friend (mode Add) or changes the
// selected one (mode Edit) on the server, and on success in the table.
class AddFriendForm : public QObject {
    Q_OBJECT

public:
    // row is the selected row; it is used in mode Edit only.
    AddFriendForm(FriendList& list, FriendFormMode mode, std::size_t row = 0,
                  QObject* parent = nullptr);

    FriendFormMode mode() const { return mode_; }
    // What the five boxes show on opening: the selected row's fields in
    // mode Edit, nothing in mode Add.
    FriendEntry initialFields() const;
    bool busy() const { return busy_.busy(); }

    // OK: the checks, then the request. The typed seqno is ignored.
    void submit(const FriendEntry& typed);

signals:
    // A check failed: the dialog stays open with the focus on the name.
    void refused(FriendNotice notice);
    // The server could not be reached or refused the change.
    void notice(FriendNotice notice);
    // The change is made; the dialog closes with OK.
    void accepted();
    void busyChanged(bool busy);

private:
    FriendList& list_;
    FriendFormMode mode_;
    std::size_t row_;
    BusyTracker busy_;
};

}
