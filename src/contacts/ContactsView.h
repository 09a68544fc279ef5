#pragma once

#include "contacts/ContactImport.h"
#include "contacts/DialRequests.h"

#include <QFutureWatcher>
#include <QObject>
#include <optional>
#include <vector>

namespace orvanta {

class ContactStore;

// What the contacts view asks the user; the widget shows the texts.
class ContactsPrompts {
public:
    virtual ~ContactsPrompts() = default;
    virtual void notify(ViewNotice notice) = 0;
    virtual bool confirmDelete(const QString& name) = 0;
};

// One contact shown in the tree. Each item stands for its own slot, so two
// contacts with the same name are told apart.
struct ContactItem {
    int slot = 0;
    QString name;
};

enum class TooltipNumber { Mobile, Phone, Pager };

struct ContactTooltip {
    QString title;  // the contact's name
    std::optional<TooltipNumber> kind;
    QString number;
};

// The contacts view without its widgets: the shown items (sorted by name,
// filtered by the search), the selection, and the commands of the options
// menu.
class ContactsView : public QObject {
    Q_OBJECT

public:
    static constexpr int kMaxSearchMatches = 10;

    ContactsView(ContactStore& store, DialRequests& dialer, ContactsPrompts& prompts,
                 QObject* parent = nullptr);

    const std::vector<ContactItem>& items() const { return items_; }
    // The search matched nothing ("No results found").
    bool noResults() const { return noResults_; }
    const QString& search() const { return search_; }
    // Names starting with text, ignoring case; at most ten, the first ones
    // in the book. Empty text shows every contact.
    void setSearch(const QString& text);

    std::optional<int> selectedSlot() const { return selected_; }
    void select(int slot);
    void clearSelection();
    // A click on the tree while nothing is selected.
    void selectFirstWhenNoneSelected();

    ContactTooltip tooltipFor(int slot) const;

    struct Menu {
        bool add = false;
        bool call = false;
        bool edit = false;
        bool remove = false;
        bool importContacts = false;
        bool exportContacts = false;
    };
    Menu menu() const;

    // Whether the editor may open for a new contact; says so when the book is
    // full.
    bool mayAdd();
    // The selected contact's slot for the editor; says so when none is.
    std::optional<int> slotToEdit();
    // Asks, removes the selected contact and selects the item shown before it.
    void deleteSelected();
    // Calls the selected contact (mobile, else phone, else pager); true when
    // the call was handed to the dialer, and the view then hides.
    bool callSelected();

    // An import or export runs; a second one waits for it to end.
    bool transferRunning() const { return transferRunning_; }
    void startImport(const QString& path);
    void startExport(const QString& path, ContactFileFormat format);

signals:
    void itemsChanged();
    void selectionChanged();
    void importFinished(const orvanta::ImportSummary& summary);
    void exportFinished(orvanta::ExportResult result, int contacts);

private:
    void rebuild();
    void setSelected(std::optional<int> slot);
    bool isShown(int slot) const;

    ContactStore& store_;
    DialRequests& dialer_;
    ContactsPrompts& prompts_;
    QString search_;
    std::vector<ContactItem> items_;
    bool noResults_ = false;
    std::optional<int> selected_;
    QFutureWatcher<ImportReading> importWatcher_;
    QFutureWatcher<ExportResult> exportWatcher_;
    int exportedCount_ = 0;
    bool transferRunning_ = false;
};

}
