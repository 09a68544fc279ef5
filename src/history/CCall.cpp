#include "history/CCall.h"

#include "contacts/ContactTexts.h"
#include "controls/MessageBox.h"
#include "history/CallTexts.h"

#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace orvanta {

namespace {

constexpr int kRecordRole = Qt::UserRole;
constexpr int kGroupRole = Qt::UserRole + 1;
const InfoTip::Style kTooltipStyle{QColor(220, 220, 220), 2000, std::chrono::milliseconds(9000),
                                   true};

// The group items carry the icons of their kind.
CallIcon groupIcon(CallKind kind)
{
    switch (kind) {
    case CallKind::Dialed:
        return CallIcon::Answered;
    case CallKind::Received:
        return CallIcon::Received;
    case CallKind::Missed:
        return CallIcon::Missed;
    }
    return CallIcon::Answered;
}

}

CCall::CCall(CallLog& log, DialRequests& dialer, QWidget* parent)
        : SidePanel(QStringLiteral("Recent Calls"), parent),
          model_(log, dialer,
                 [this](ViewNotice notice) { showMessage(this, contact_texts::notice(notice)); }),
          tooltip_(kTooltipStyle)
{
    search_ = new QLineEdit(this);
    search_->setPlaceholderText(QStringLiteral("Search"));
    search_->setAccessibleName(QStringLiteral("Search"));
    tree_ = new QTreeWidget(this);
    tree_->setHeaderHidden(true);
    tree_->setIconSize(QSize(16, 16));
    tree_->setExpandsOnDoubleClick(false);
    tree_->setAccessibleName(QStringLiteral("Recent Calls"));
    watchTree(tree_, {[this] { deleteRecord(); }, [this](const QPoint& at) { hoverAt(at); },
                      [this] {
                          hovered_ = nullptr;
                          tooltip_.hideTip();
                      },
                      [this](QTreeWidgetItem* item) { selectItem(item); },
                      [this] { model_.selectFirstWhenNoneSelected(); }});
    content()->addWidget(search_);
    content()->addWidget(tree_, 1);

    groupMenu_ = new QMenu(this);
    groupMenu_->addAction(QStringLiteral("Delete All Calls"), this, &CCall::deleteAllCalls);
    recordMenu_ = new QMenu(this);
    recordMenu_->addAction(QStringLiteral("Delete"), this, &CCall::deleteRecord);
    recordMenu_->addAction(QStringLiteral("Call"), this, &CCall::callBack);

    connect(search_, &QLineEdit::textChanged, &model_, &RecentCallsView::setSearch);
    connect(&model_, &RecentCallsView::groupsChanged, this, &CCall::fillTree);
    connect(&model_, &RecentCallsView::selectionChanged, this, &CCall::showSelection);
    connect(tree_, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (fillingTree_) {
            return;
        }
        const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
        if (selected.isEmpty()) {
            model_.clearSelection();
        } else {
            selectItem(selected.front());
        }
    });
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (recordOf(item)) {
            selectItem(item);
            callBack();
        }
    });
    connect(this, &SidePanel::optionsPressed, this, [this] {
        currentMenu()->popup(optionsButton()->mapToGlobal(QPoint(0, optionsButton()->height())));
    });
    connect(this, &SidePanel::backgroundPressed, &model_, &RecentCallsView::clearSelection);
    fillTree();
}

std::optional<std::uint64_t> CCall::recordOf(const QTreeWidgetItem* item) const
{
    if (!item || item->data(0, kGroupRole).isValid()) {
        return std::nullopt;
    }
    return item->data(0, kRecordRole).toULongLong();
}

void CCall::selectItem(const QTreeWidgetItem* item)
{
    if (const std::optional<std::uint64_t> record = recordOf(item)) {
        model_.selectRecord(*record);
    } else if (item) {
        model_.selectGroup(static_cast<CallKind>(item->data(0, kGroupRole).toInt()));
    }
}

void CCall::fillTree()
{
    fillingTree_ = true;
    tree_->clear();
    for (const RecentCallsView::Group& group : model_.groups()) {
        auto* groupItem =
            new QTreeWidgetItem(tree_, QStringList(call_texts::groupName(group.kind)));
        groupItem->setIcon(0, call_texts::icon(groupIcon(group.kind)));
        groupItem->setData(0, kGroupRole, static_cast<int>(group.kind));
        for (const RecentCallsView::Item& item : group.items) {
            auto* row = new QTreeWidgetItem(groupItem, QStringList(item.number));
            row->setIcon(0, call_texts::icon(item.icon));
            row->setData(0, kRecordRole, QVariant::fromValue<qulonglong>(item.id));
        }
        groupItem->setExpanded(true);
    }
    hovered_ = nullptr;
    fillingTree_ = false;
    showSelection();
}

void CCall::showSelection()
{
    fillingTree_ = true;
    tree_->clearSelection();
    const std::optional<RecentCallsView::Selection>& selection = model_.selection();
    if (selection) {
        QTreeWidgetItem* group = tree_->topLevelItem(static_cast<int>(selection->group));
        QTreeWidgetItem* chosen = group;
        for (int i = 0; group && selection->record && i < group->childCount(); ++i) {
            if (recordOf(group->child(i)) == selection->record) {
                chosen = group->child(i);
            }
        }
        if (chosen) {
            chosen->setSelected(true);
            tree_->setCurrentItem(chosen);
        }
    }
    fillingTree_ = false;
}

QMenu* CCall::currentMenu()
{
    const RecentCallsView::Menu state = model_.menu();
    groupMenu_->actions().at(0)->setEnabled(state.deleteAll);
    recordMenu_->actions().at(0)->setEnabled(state.deleteRecord);
    recordMenu_->actions().at(1)->setEnabled(state.call);
    return state.forGroup ? groupMenu_ : recordMenu_;
}

void CCall::deleteRecord()
{
    model_.deleteSelected();
}

void CCall::deleteAllCalls()
{
    model_.deleteAllCalls();
}

void CCall::callBack()
{
    if (model_.callSelected()) {
        hide();
    }
}

void CCall::showEvent(QShowEvent* event)
{
    SidePanel::showEvent(event);
    model_.clearSelection();
    optionsButton()->setFocus();
}

void CCall::hoverAt(const QPoint& position)
{
    const QTreeWidgetItem* item = tree_->itemAt(position);
    if (item == hovered_) {
        return;
    }
    hovered_ = item;
    const std::optional<std::uint64_t> id = recordOf(item);
    const CallLog::Record* record = id ? model_.record(*id) : nullptr;
    const std::optional<CallKind> kind = id ? model_.kindOf(*id) : std::nullopt;
    if (!record || !kind) {
        tooltip_.hideTip();
        return;
    }
    tooltip_.showAt(tree_->viewport()->mapToGlobal(position) + QPoint(12, 16),
                    call_texts::tooltipTitle(model_.tooltipTitle()),
                    call_texts::details(callDetailsOf(*kind, *record), record->entry));
}

}
