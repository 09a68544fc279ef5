#include "contacts/ContactsView.h"

#include "contacts/ContactStore.h"

#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

namespace orvanta {

ContactsView::ContactsView(ContactStore& store, DialRequests& dialer, ContactsPrompts& prompts,
                           QObject* parent)
        : QObject(parent), store_(store), dialer_(dialer), prompts_(prompts)
{
    connect(&store_, &ContactStore::changed, this, &ContactsView::rebuild);
    connect(&importWatcher_, &QFutureWatcher<ImportReading>::finished, this, [this] {
        transferRunning_ = false;
        emit importFinished(importInto(store_, importWatcher_.result()));
    });
    connect(&exportWatcher_, &QFutureWatcher<ExportResult>::finished, this, [this] {
        transferRunning_ = false;
        emit exportFinished(exportWatcher_.result(), exportedCount_);
    });
    rebuild();
}

void ContactsView::setSearch(const QString& text)
{
    search_ = text;
    rebuild();
}

void ContactsView::rebuild()
{
    const std::vector<Contact>& contacts = store_.book().contacts();
    items_.clear();
    for (int slot = 0; slot < static_cast<int>(contacts.size()); ++slot) {
        const QString& name = contacts[std::size_t(slot)].name;
        if (search_.isEmpty() || name.startsWith(search_, Qt::CaseInsensitive)) {
            items_.push_back({slot, name});
        }
        if (!search_.isEmpty() && static_cast<int>(items_.size()) == kMaxSearchMatches) {
            break;
        }
    }
    noResults_ = !search_.isEmpty() && items_.empty();
    std::stable_sort(items_.begin(), items_.end(), [](const ContactItem& a, const ContactItem& b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    emit itemsChanged();
    if (selected_ && !isShown(*selected_)) {
        setSelected(std::nullopt);
    }
}

bool ContactsView::isShown(int slot) const
{
    return std::any_of(items_.begin(), items_.end(),
                       [slot](const ContactItem& item) { return item.slot == slot; });
}

void ContactsView::setSelected(std::optional<int> slot)
{
    if (slot == selected_) {
        return;
    }
    selected_ = slot;
    emit selectionChanged();
}

void ContactsView::select(int slot)
{
    if (isShown(slot)) {
        setSelected(slot);
    }
}

void ContactsView::clearSelection()
{
    setSelected(std::nullopt);
}

void ContactsView::selectFirstWhenNoneSelected()
{
    if (!selected_ && !items_.empty()) {
        setSelected(items_.front().slot);
    }
}

ContactTooltip ContactsView::tooltipFor(int slot) const
{
    ContactTooltip tooltip;
    if (slot < 0 || slot >= store_.book().size()) {
        return tooltip;
    }
    const Contact& contact = store_.book().at(slot);
    tooltip.title = contact.name;
    const std::pair<const QString*, TooltipNumber> numbers[] = {
        {&contact.mobile, TooltipNumber::Mobile},
        {&contact.phone, TooltipNumber::Phone},
        {&contact.pager, TooltipNumber::Pager},
    };
    for (const auto& [number, kind] : numbers) {
        if (!number->isEmpty()) {
            tooltip.kind = kind;
            tooltip.number = *number;
            break;
        }
    }
    return tooltip;
}

ContactsView::Menu ContactsView::menu() const
{
    Menu menu;
    const bool selected = selected_.has_value();
    menu.add = !selected;
    menu.call = menu.edit = menu.remove = selected;
    menu.importContacts = menu.exportContacts = !transferRunning();
    return menu;
}

bool ContactsView::mayAdd()
{
    if (store_.book().isFull()) {
        prompts_.notify(ViewNotice::ContactListFull);
        return false;
    }
    return true;
}

std::optional<int> ContactsView::slotToEdit()
{
    if (!selected_) {
        prompts_.notify(ViewNotice::NoItemSelected);
    }
    return selected_;
}

void ContactsView::deleteSelected()
{
    if (!selected_) {
        prompts_.notify(ViewNotice::NoItemSelected);
        clearSelection();
        return;
    }
    const int slot = *selected_;
    if (!prompts_.confirmDelete(store_.book().at(slot).name)) {
        return;
    }
    const auto shown = std::find_if(items_.begin(), items_.end(),
                                    [slot](const ContactItem& item) { return item.slot == slot; });
    std::optional<int> before;
    if (shown != items_.begin() && shown != items_.end()) {
        before = std::prev(shown)->slot;
    }
    store_.remove(slot);
    // Later slots moved down by one.
    if (before && *before > slot) {
        --*before;
    }
    setSelected(before);
}

bool ContactsView::callSelected()
{
    if (!selected_) {
        return false;
    }
    const Contact& contact = store_.book().at(*selected_);
    return requestCallFromView(dialer_, numberToCall(contact), contact.name,
                               [this](ViewNotice notice) { prompts_.notify(notice); });
}

void ContactsView::startImport(const QString& path)
{
    if (transferRunning()) {
        return;
    }
    transferRunning_ = true;
    importWatcher_.setFuture(QtConcurrent::run(readContactFile, path));
}

void ContactsView::startExport(const QString& path, ContactFileFormat format)
{
    if (transferRunning()) {
        return;
    }
    const std::vector<Contact> contacts = store_.book().contacts();
    exportedCount_ = static_cast<int>(contacts.size());
    transferRunning_ = true;
    exportWatcher_.setFuture(QtConcurrent::run(exportContacts, contacts, path, format));
}

}
