#include "history/RecentCallsView.h"

#include <algorithm>

namespace orvanta {

CallIcon callIconOf(CallKind kind, const CallLog::Record& record)
{
    const bool answered = !record.entry.duration.isEmpty();
    switch (kind) {
    case CallKind::Dialed:
        return answered ? CallIcon::Answered : CallIcon::UnansweredDialed;
    case CallKind::Received:
        // A received call read from the file without a duration shows as missed.
        return answered || record.addedThisRun ? CallIcon::Received : CallIcon::Missed;
    case CallKind::Missed:
        return CallIcon::Missed;
    }
    return CallIcon::Missed;
}

CallDetails callDetailsOf(CallKind kind, const CallLog::Record& record)
{
    const bool answered = !record.entry.duration.isEmpty();
    if (record.addedThisRun) {
        switch (kind) {
        case CallKind::Dialed:
            return answered ? CallDetails::AnsweredDialed : CallDetails::CancelledDialed;
        case CallKind::Received:
            return CallDetails::Received;
        case CallKind::Missed:
            return CallDetails::Missed;
        }
    }
    if (!answered) {
        return CallDetails::Unanswered;
    }
    return kind == CallKind::Dialed ? CallDetails::AnsweredDialedFromFile
                                    : CallDetails::AnsweredReceivedFromFile;
}

RecentCallsView::RecentCallsView(CallLog& log, DialRequests& dialer,
                                 std::function<void(ViewNotice)> notify, QObject* parent)
        : QObject(parent), log_(log), dialer_(dialer), notify_(std::move(notify))
{
    connect(&log_, &CallLog::changed, this, &RecentCallsView::rebuild);
    rebuild();
}

void RecentCallsView::setSearch(const QString& text)
{
    search_ = text;
    rebuild();
}

bool RecentCallsView::matchesSearch(const CallLog::Record& record) const
{
    return search_.isEmpty() || record.entry.number.contains(search_, Qt::CaseInsensitive) ||
           record.entry.name.contains(search_, Qt::CaseInsensitive);
}

void RecentCallsView::rebuild()
{
    for (CallKind kind : kCallKinds) {
        Group& group = groups_[static_cast<std::size_t>(kind)];
        group.kind = kind;
        group.items.clear();
        const CallLog::List& list = log_.list(kind);
        for (auto record = list.rbegin(); record != list.rend(); ++record) {
            if (matchesSearch(*record)) {
                group.items.push_back(
                    {record->id, record->entry.number, callIconOf(kind, *record)});
            }
        }
    }
    emit groupsChanged();
    if (selection_ && selection_->record) {
        const std::uint64_t id = *selection_->record;
        const Group& group = groups_[static_cast<std::size_t>(selection_->group)];
        const bool shown = std::any_of(group.items.begin(), group.items.end(),
                                       [id](const Item& item) { return item.id == id; });
        if (!shown) {
            setSelection(std::nullopt);
        }
    }
}

void RecentCallsView::setSelection(std::optional<Selection> selection)
{
    selection_ = selection;
    if (selection_) {
        lastSelectedGroup_ = !selection_->record.has_value();
    }
    emit selectionChanged();
}

void RecentCallsView::selectGroup(CallKind group)
{
    setSelection(Selection{group, std::nullopt});
}

std::optional<CallKind> RecentCallsView::kindOf(std::uint64_t id) const
{
    for (const Group& group : groups_) {
        for (const Item& item : group.items) {
            if (item.id == id) {
                return group.kind;
            }
        }
    }
    return std::nullopt;
}

void RecentCallsView::selectRecord(std::uint64_t id)
{
    if (const std::optional<CallKind> kind = kindOf(id)) {
        setSelection(Selection{*kind, id});
    }
}

void RecentCallsView::clearSelection()
{
    setSelection(std::nullopt);
}

void RecentCallsView::selectFirstWhenNoneSelected()
{
    if (!selection_) {
        selectGroup(CallKind::Dialed);
    }
}

TooltipTitle RecentCallsView::tooltipTitle() const
{
    if (selection_ && !selection_->record) {
        if (selection_->group == CallKind::Missed) {
            return TooltipTitle::UnansweredCall;
        }
        if (selection_->group == CallKind::Received) {
            return TooltipTitle::AnsweredCall;
        }
    }
    return TooltipTitle::DialedCall;
}

RecentCallsView::Menu RecentCallsView::menu() const
{
    Menu menu;
    menu.forGroup = lastSelectedGroup_;
    const bool anyShown = std::any_of(groups_.begin(), groups_.end(),
                                      [](const Group& group) { return !group.items.empty(); });
    menu.deleteAll = selection_.has_value() && anyShown;
    menu.deleteRecord = menu.call = selection_.has_value();
    return menu;
}

void RecentCallsView::deleteSelected()
{
    if (!selection_) {
        notify_(ViewNotice::NoItemSelected);
        clearSelection();
        return;
    }
    if (selection_->record) {
        log_.remove(*selection_->record);
    }
}

void RecentCallsView::deleteAllCalls()
{
    if (!selection_ || selection_->record) {
        return;
    }
    log_.removeAll(selection_->group,
                   [this](const CallLog::Record& record) { return matchesSearch(record); });
}

bool RecentCallsView::callSelected()
{
    if (!selection_ || !selection_->record) {
        return false;
    }
    const CallLog::Record* selected = log_.find(*selection_->record);
    if (!selected) {
        return false;
    }
    const QString number = selected->entry.number;
    return requestCallFromView(dialer_, number, log_.firstNameForNumber(number), notify_);
}

}
