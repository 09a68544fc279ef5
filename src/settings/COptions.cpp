#include "settings/COptions.h"

#include "controls/OptionsPage.h"
#include "settings/CApplication.h"
#include "settings/CCodec.h"
#include "settings/CNetwork.h"
#include "signin/CAccountConfig.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace orvanta {

namespace {

constexpr int kItemIndexRole = Qt::UserRole;

QString labelOf(const SheetItem& item)
{
    switch (item.page) {
    case SheetPage::General:
        return QStringLiteral("General");
    case SheetPage::Codec:
        return QStringLiteral("Codec");
    case SheetPage::Network:
        return QStringLiteral("Network");
    case SheetPage::Account:
        return QStringLiteral("Account %1").arg(item.account);
    }
    return {};
}

}

COptions::COptions(const OptionsSheetServices& services, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Settings"));
    auto* layout = new QHBoxLayout(this);
    tree_ = new QTreeWidget(this);
    tree_->setHeaderHidden(true);
    tree_->setAccessibleName(QStringLiteral("Settings pages"));
    tree_->setMaximumWidth(160);
    layout->addWidget(tree_);

    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::StyledPanel);
    auto* pages = new QVBoxLayout(frame);
    accounts_ = new CAccountConfig(
        services.accounts, services.session,
        [this] { return orvanta::selectedAccount(selectedItem()); }, frame);
    codec_ = new CCodec(services.codecEngine, services.codecCatalog, services.registration, frame);
    network_ = new CNetwork(frame);
    general_ = new CApplication(services.settings, services.autostart, services.callLog, frame);
    for (OptionsPage* page :
         std::initializer_list<OptionsPage*>{accounts_, codec_, network_, general_}) {
        page->hide();
        pages->addWidget(page);
        connect(page, &OptionsPage::closeSheet, this,
                [this](bool confirmed) { confirmed ? accept() : reject(); });
    }
    layout->addWidget(frame, 1);

    buildTree();
    connect(tree_, &QTreeWidget::currentItemChanged, this, &COptions::showSelectedPage);
    select(SheetItem{SheetPage::General});
}

void COptions::buildTree()
{
    const std::vector<SheetItem> items = sheetItems();
    for (size_t i = 0; i < items.size(); ++i) {
        auto* entry = new QTreeWidgetItem(tree_, QStringList{labelOf(items[i])});
        entry->setData(0, kItemIndexRole, static_cast<int>(i));
    }
}

void COptions::select(const SheetItem& wanted)
{
    const std::vector<SheetItem> items = sheetItems();
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].page == wanted.page && items[i].account == wanted.account) {
            tree_->setCurrentItem(tree_->topLevelItem(static_cast<int>(i)));
            return;
        }
    }
}

std::optional<SheetItem> COptions::selectedItem() const
{
    const QTreeWidgetItem* current = tree_->currentItem();
    if (!current) {
        return std::nullopt;
    }
    const std::vector<SheetItem> items = sheetItems();
    const int index = current->data(0, kItemIndexRole).toInt();
    if (index < 0 || static_cast<size_t>(index) >= items.size()) {
        return std::nullopt;
    }
    return items[static_cast<size_t>(index)];
}

void COptions::showSelectedPage()
{
    const std::optional<SheetItem> item = selectedItem();
    auto isShown = [&item](SheetPage kind) { return item && item->page == kind; };
    const std::pair<SheetPage, OptionsPage*> pages[] = {{SheetPage::General, general_},
                                                        {SheetPage::Codec, codec_},
                                                        {SheetPage::Network, network_},
                                                        {SheetPage::Account, accounts_}};
    // Hide first, so that only one page is ever shown.
    for (const auto& [kind, widget] : pages) {
        if (!isShown(kind)) {
            widget->hide();
        }
    }
    for (const auto& [kind, widget] : pages) {
        if (isShown(kind)) {
            widget->show();
        }
    }
    if (const std::optional<int> account = orvanta::selectedAccount(item)) {
        accounts_->showAccount(*account);
    }
}

void COptions::keyPressEvent(QKeyEvent* event)
{
    if (isEnterKey(event)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}
