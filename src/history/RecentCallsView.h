#pragma once

#include "contacts/DialRequests.h"
#include "history/CallLog.h"

#include <QObject>
#include <optional>
#include <vector>

namespace orvanta {

// The four call icons, numbered as the tree's image list.
enum class CallIcon { Answered = 0, Missed = 1, Received = 2, UnansweredDialed = 3 };

// Which details text a record shows. A record logged while the dialer runs
// and one read from the file are worded differently.
enum class CallDetails {
    CancelledDialed,  // logged this run
    AnsweredDialed,
    Received,
    Missed,
    Unanswered,  // read from the file
    AnsweredDialedFromFile,
    AnsweredReceivedFromFile,
};

CallIcon callIconOf(CallKind kind, const CallLog::Record& record);
CallDetails callDetailsOf(CallKind kind, const CallLog::Record& record);

enum class TooltipTitle { UnansweredCall, AnsweredCall, DialedCall };

// The recent-calls view without its widgets: three groups of records,
// newest first, filtered by the search box; the selection (a group or a
// record) and the commands of the options menu.
class RecentCallsView : public QObject {
    Q_OBJECT

public:
    struct Item {
        std::uint64_t id = 0;
        QString number;
        CallIcon icon = CallIcon::Answered;
    };
    struct Group {
        CallKind kind = CallKind::Dialed;
        std::vector<Item> items;  // newest first
    };
    struct Selection {
        CallKind group = CallKind::Dialed;
        std::optional<std::uint64_t> record;  // none: the group item itself
    };

    RecentCallsView(CallLog& log, DialRequests& dialer, std::function<void(ViewNotice)> notify,
                    QObject* parent = nullptr);

    const std::array<Group, 3>& groups() const { return groups_; }
    // Shows the records whose number or name holds text, ignoring case.
    void setSearch(const QString& text);
    const QString& search() const { return search_; }

    const std::optional<Selection>& selection() const { return selection_; }
    void selectGroup(CallKind group);
    void selectRecord(std::uint64_t id);
    void clearSelection();
    void selectFirstWhenNoneSelected();
    TooltipTitle tooltipTitle() const;

    const CallLog::Record* record(std::uint64_t id) const { return log_.find(id); }
    std::optional<CallKind> kindOf(std::uint64_t id) const;

    // The options menu has the shape of the last selection: a group's
    // ("Delete All Calls") or a record's ("Delete", "Call").
    struct Menu {
        bool forGroup = true;
        bool deleteAll = false;
        bool deleteRecord = false;
        bool call = false;
    };
    Menu menu() const;

    // Removes the selected record (a group does nothing).
    void deleteSelected();
    // Removes every shown record of the selected group.
    void deleteAllCalls();
    // Calls the selected record's number back; true when it was handed to
    // the dialer, and the view then hides.
    bool callSelected();

signals:
    void groupsChanged();
    void selectionChanged();

private:
    void rebuild();
    bool matchesSearch(const CallLog::Record& record) const;
    void setSelection(std::optional<Selection> selection);

    CallLog& log_;
    DialRequests& dialer_;
    std::function<void(ViewNotice)> notify_;
    QString search_;
    std::array<Group, 3> groups_;
    std::optional<Selection> selection_;
    bool lastSelectedGroup_ = true;
};

}
