#pragma once

#include "controls/InfoTip.h"
#include "controls/SidePanel.h"
#include "history/RecentCallsView.h"

class QLineEdit;
class QMenu;
class QTreeWidget;
class QTreeWidgetItem;

namespace orvanta {

// The recent-calls window beside the main window: dialed, received and
// missed calls as a tree, newest first, with a search box and the options
// menu.
class CCall : public SidePanel {
    Q_OBJECT

public:
    CCall(CallLog& log, DialRequests& dialer, QWidget* parent = nullptr);

    RecentCallsView& model() { return model_; }
    QTreeWidget* tree() const { return tree_; }
    QLineEdit* searchBox() const { return search_; }
    InfoTip& tooltip() { return tooltip_; }
    QMenu* groupMenu() const { return groupMenu_; }
    QMenu* recordMenu() const { return recordMenu_; }
    // The menu the options button opens now, its entries enabled as they
    // should be.
    QMenu* currentMenu();

    void deleteRecord();
    void deleteAllCalls();
    void callBack();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fillTree();
    void showSelection();
    void hoverAt(const QPoint& position);
    std::optional<std::uint64_t> recordOf(const QTreeWidgetItem* item) const;
    void selectItem(const QTreeWidgetItem* item);

    RecentCallsView model_;
    QLineEdit* search_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    QMenu* groupMenu_ = nullptr;
    QMenu* recordMenu_ = nullptr;
    InfoTip tooltip_;
    const QTreeWidgetItem* hovered_ = nullptr;
    bool fillingTree_ = false;
};

}
