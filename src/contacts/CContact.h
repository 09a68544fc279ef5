#pragma once

#include "contacts/ContactsView.h"
#include "controls/InfoTip.h"
#include "controls/SidePanel.h"

#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QMenu;
class QTreeWidget;
class QTreeWidgetItem;

namespace orvanta {

class CContactProperties;
class ContactStore;

// The contacts window beside the main window: the contacts as a tree of
// names, a search box, and the options menu.
class CContact : public SidePanel, private ContactsPrompts {
    Q_OBJECT

public:
    struct ExportChoice {
        QString path;
        ContactFileFormat format = ContactFileFormat::VCard;
    };
    // File dialogs, replaceable in tests.
    using ImportChooser = std::function<std::optional<QString>(QWidget*)>;
    using ExportChooser = std::function<std::optional<ExportChoice>(QWidget*)>;
    // Runs the editor modally; replaceable in tests.
    using EditorRunner = std::function<void(CContactProperties&)>;

    CContact(ContactStore& store, DialRequests& dialer, QWidget* parent = nullptr);

    ContactsView& model() { return model_; }
    QTreeWidget* tree() const { return tree_; }
    QLineEdit* searchBox() const { return search_; }
    QLabel* searchLabel() const { return searchLabel_; }
    InfoTip& tooltip() { return tooltip_; }
    // Built from the model's state each time the options button is pressed.
    QMenu* optionsMenu() const { return menu_; }

    void setImportChooser(ImportChooser chooser) { chooseImport_ = std::move(chooser); }
    void setExportChooser(ExportChooser chooser) { chooseExport_ = std::move(chooser); }
    void setEditorRunner(EditorRunner runner) { runEditor_ = std::move(runner); }

    void addContact();
    void editContact();
    void deleteContact();
    void callContact();
    void importContacts();
    void exportContacts();

private:
    // ContactsPrompts
    void notify(ViewNotice notice) override;
    bool confirmDelete(const QString& name) override;

    void fillTree();
    void showSelection();
    void updateMenu();
    void hoverAt(const QPoint& position);
    std::optional<int> slotOf(const QTreeWidgetItem* item) const;

    ContactStore& store_;
    ContactsView model_;
    QLineEdit* search_ = nullptr;
    QLabel* searchLabel_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    QMenu* menu_ = nullptr;
    InfoTip tooltip_;
    std::optional<int> hoveredSlot_;
    bool fillingTree_ = false;
    ImportChooser chooseImport_;
    ExportChooser chooseExport_;
    EditorRunner runEditor_;
};

}
