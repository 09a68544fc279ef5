#include "services/CFriendList.h"

#include "controls/MessageBox.h"
#include "services/AddFriendForm.h"
#include "services/BusyDisplay.h"
#include "services/CAddToFriend.h"
#include "services/ServiceTexts.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QShowEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace orvanta {

namespace {

constexpr int kColumns = 5;

}

CFriendList::CFriendList(FriendList& list, QWidget* parent) : QDialog(parent), model_(list)
{
    setWindowTitle(QStringLiteral("Friend List"));
    view_ = new QTreeWidget(this);
    view_->setRootIsDecorated(false);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("NickName"),
                            QStringLiteral("Phone"), QStringLiteral("Fax"),
                            QStringLiteral("SpeedDial")});
    view_->header()->setDefaultAlignment(Qt::AlignCenter);
    view_->header()->setStretchLastSection(false);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(14);
    view_->setFont(font);

    add_ = new QPushButton(QStringLiteral("ADD"), this);
    edit_ = new QPushButton(QStringLiteral("EDIT"), this);
    delete_ = new QPushButton(QStringLiteral("DELETE"), this);
    close_ = new QPushButton(QStringLiteral("CLOSE"), this);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {add_, edit_, delete_, close_}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_);
    layout->addLayout(buttons);
    resize(560, 360);

    connect(add_, &QPushButton::clicked, this, [this] { openForm(FriendFormMode::Add, 0); });
    connect(edit_, &QPushButton::clicked, this, [this] {
        const auto row = selectedRow();
        if (model_.checkSelection(row)) {
            openForm(FriendFormMode::Edit, *row);
        }
    });
    connect(delete_, &QPushButton::clicked, this, &CFriendList::removeSelected);
    connect(close_, &QPushButton::clicked, this, &QDialog::close);
    connect(&model_, &FriendList::rowsChanged, this, &CFriendList::fill);
    connect(&model_, &FriendList::notice, this,
            [this](FriendNotice notice) { showMessage(this, friendNoticeText(notice)); });
    connect(&model_, &FriendList::busyChanged, this, [this](bool busy) {
        showBusy(this, busy, {add_, edit_, delete_});
    });
    showBusy(this, model_.busy(), {add_, edit_, delete_});
    fill();
}

void CFriendList::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    setColumnWidths();
    // Opening fetches the list; a window restored from the task bar does not.
    if (!event->spontaneous()) {
        model_.fetch();
    }
}

void CFriendList::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    setColumnWidths();
}

void CFriendList::setColumnWidths()
{
    const int width = view_->viewport()->width() / kColumns;
    for (int column = 0; column < kColumns; ++column) {
        view_->setColumnWidth(column, width);
    }
}

void CFriendList::fill()
{
    view_->clear();
    for (const FriendEntry& row : model_.rows()) {
        auto* item = new QTreeWidgetItem(
            view_, {row.name, row.nickname, row.pcphone, row.fax, row.speeddial});
        for (int column = 0; column < kColumns; ++column) {
            item->setTextAlignment(column, Qt::AlignCenter);
        }
    }
}

std::optional<std::size_t> CFriendList::selectedRow() const
{
    const QList<QTreeWidgetItem*> selected = view_->selectedItems();
    if (selected.isEmpty()) {
        return std::nullopt;
    }
    const int index = view_->indexOfTopLevelItem(selected.first());
    return index < 0 ? std::nullopt : std::optional<std::size_t>(static_cast<std::size_t>(index));
}

void CFriendList::openForm(FriendFormMode mode, std::size_t row)
{
    auto* form = new CAddToFriend(model_, mode, row, this);
    form->setAttribute(Qt::WA_DeleteOnClose);
    connect(form, &QDialog::accepted, &model_, &FriendList::fetch);
    form->open();
}

void CFriendList::removeSelected()
{
    const auto row = selectedRow();
    if (!model_.checkSelection(row)) {
        return;
    }
    if (!confirm(this, deleteFriendQuestion(model_.rows()[*row].name),
                 QStringLiteral("Friend List"))) {
        return;
    }
    model_.remove(*row);
}

}
