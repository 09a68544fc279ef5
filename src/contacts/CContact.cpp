#include "contacts/CContact.h"

#include "contacts/CContactProperties.h"
#include "contacts/ContactStore.h"
#include "contacts/ContactTexts.h"
#include "controls/MessageBox.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace orvanta {

namespace {

constexpr int kSlotRole = Qt::UserRole;
const InfoTip::Style kTooltipStyle{QColor(220, 220, 220), 200, std::chrono::milliseconds(3000),
                                   false};

// Our own artwork: a head and shoulders, 16 x 14.
QIcon contactIcon()
{
    QPixmap pixmap(16, 14);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 110, 180));
    painter.drawEllipse(QRectF(5, 1, 6, 6));
    painter.drawRoundedRect(QRectF(2, 8, 12, 6), 3, 3);
    return QIcon(pixmap);
}

std::optional<QString> chooseImportFile(QWidget* parent)
{
    const QString path = QFileDialog::getOpenFileName(
        parent, QStringLiteral("Import Contacts"), QString(),
        QStringLiteral("Contacts (*.vcf *.vcard *.csv);;vCard (*.vcf *.vcard);;CSV (*.csv)"));
    return path.isEmpty() ? std::nullopt : std::optional<QString>(path);
}

std::optional<CContact::ExportChoice> chooseExportFile(QWidget* parent)
{
    const QString vcard = QStringLiteral("vCard (*.vcf)");
    const QString csv = QStringLiteral("CSV (*.csv)");
    QString filter = vcard;
    QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("Export Contacts"),
                                                QStringLiteral("contacts.vcf"),
                                                vcard + QStringLiteral(";;") + csv, &filter);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    const bool asCsv =
        path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) ||
        (filter == csv && !path.endsWith(QLatin1String(".vcf"), Qt::CaseInsensitive));
    return CContact::ExportChoice{path, asCsv ? ContactFileFormat::Csv : ContactFileFormat::VCard};
}

}

CContact::CContact(ContactStore& store, DialRequests& dialer, QWidget* parent)
        : SidePanel(QStringLiteral("Contacts"), parent), store_(store),
          model_(store, dialer, *this), tooltip_(kTooltipStyle), chooseImport_(chooseImportFile),
          chooseExport_(chooseExportFile),
          runEditor_([](CContactProperties& editor) { editor.exec(); })
{
    search_ = new QLineEdit(this);
    search_->setPlaceholderText(QStringLiteral("Search"));
    search_->setAccessibleName(QStringLiteral("Search"));
    searchLabel_ = new QLabel(this);
    searchLabel_->setStyleSheet(QStringLiteral("color: white;"));
    searchLabel_->setAccessibleDescription(QStringLiteral("Search result"));
    tree_ = new QTreeWidget(this);
    tree_->setHeaderHidden(true);
    tree_->setRootIsDecorated(false);
    tree_->setIconSize(QSize(16, 14));
    tree_->setAccessibleName(QStringLiteral("Contacts"));
    watchTree(tree_, {[this] { deleteContact(); }, [this](const QPoint& at) { hoverAt(at); },
                      [this] {
                          hoveredSlot_.reset();
                          tooltip_.hideTip();
                      },
                      [this](QTreeWidgetItem* item) {
                          if (const std::optional<int> slot = slotOf(item)) {
                              model_.select(*slot);
                          }
                      },
                      [this] { model_.selectFirstWhenNoneSelected(); }});
    content()->addWidget(search_);
    content()->addWidget(searchLabel_);
    content()->addWidget(tree_, 1);

    menu_ = new QMenu(this);
    menu_->addAction(QStringLiteral("Add New Contact..."), this, &CContact::addContact);
    menu_->addAction(QStringLiteral("Call"), this, &CContact::callContact);
    menu_->addSeparator();
    menu_->addAction(QStringLiteral("Edit..."), this, &CContact::editContact);
    menu_->addAction(QStringLiteral("Delete"), this, &CContact::deleteContact);
    menu_->addSeparator();
    menu_->addAction(QStringLiteral("Import Contacts..."), this, &CContact::importContacts);
    menu_->addAction(QStringLiteral("Export Contacts..."), this, &CContact::exportContacts);

    connect(search_, &QLineEdit::textChanged, &model_, &ContactsView::setSearch);
    connect(&model_, &ContactsView::itemsChanged, this, &CContact::fillTree);
    connect(&model_, &ContactsView::selectionChanged, this, &CContact::showSelection);
    connect(tree_, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (fillingTree_) {
            return;
        }
        const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
        const std::optional<int> slot =
            selected.isEmpty() ? std::nullopt : slotOf(selected.front());
        slot ? model_.select(*slot) : model_.clearSelection();
    });
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (const std::optional<int> slot = slotOf(item)) {
            model_.select(*slot);
            callContact();
        }
    });
    connect(this, &SidePanel::optionsPressed, this, [this] {
        updateMenu();
        menu_->popup(optionsButton()->mapToGlobal(QPoint(0, optionsButton()->height())));
    });
    connect(this, &SidePanel::backgroundPressed, &model_, &ContactsView::clearSelection);
    connect(&model_, &ContactsView::importFinished, this, [this](const ImportSummary& summary) {
        showMessage(this, contact_texts::importSummary(summary));
    });
    connect(&model_, &ContactsView::exportFinished, this, [this](ExportResult result, int count) {
        showMessage(this, contact_texts::exportSummary(result, count));
    });
    fillTree();
}

std::optional<int> CContact::slotOf(const QTreeWidgetItem* item) const
{
    if (!item) {
        return std::nullopt;
    }
    return item->data(0, kSlotRole).toInt();
}

void CContact::fillTree()
{
    fillingTree_ = true;
    tree_->clear();
    static const QIcon icon = contactIcon();
    for (const ContactItem& item : model_.items()) {
        auto* row = new QTreeWidgetItem(tree_, QStringList(item.name));
        row->setIcon(0, icon);
        row->setData(0, kSlotRole, item.slot);
    }
    searchLabel_->setText(model_.noResults() ? contact_texts::noResults : QString());
    hoveredSlot_.reset();
    fillingTree_ = false;
    showSelection();
}

void CContact::showSelection()
{
    const std::optional<int> selected = model_.selectedSlot();
    const QList<QTreeWidgetItem*> shown = tree_->selectedItems();
    if (shown.size() == (selected ? 1 : 0) && (!selected || slotOf(shown.front()) == selected)) {
        return;  // the tree shows it already (the user's own click)
    }
    fillingTree_ = true;
    tree_->clearSelection();
    for (int i = 0; selected && i < tree_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = tree_->topLevelItem(i);
        if (slotOf(item) == selected) {
            item->setSelected(true);
            tree_->setCurrentItem(item);
        }
    }
    fillingTree_ = false;
}

void CContact::updateMenu()
{
    const ContactsView::Menu state = model_.menu();
    const QList<QAction*> actions = menu_->actions();
    // In the order they were added; separators at 2 and 5.
    const bool enabled[] = {
        state.add,           state.call, true, state.edit, state.remove, true, state.importContacts,
        state.exportContacts};
    for (int i = 0; i < actions.size() && i < int(std::size(enabled)); ++i) {
        actions[i]->setEnabled(enabled[i]);
    }
}

void CContact::addContact()
{
    if (!model_.mayAdd()) {
        return;
    }
    ContactEditor editor(store_);
    CContactProperties dialog(editor, this);
    runEditor_(dialog);
}

void CContact::editContact()
{
    const std::optional<int> slot = model_.slotToEdit();
    if (!slot) {
        return;
    }
    ContactEditor editor(store_, *slot);
    CContactProperties dialog(editor, this);
    runEditor_(dialog);
}

void CContact::deleteContact()
{
    model_.deleteSelected();
    tree_->setFocus();
}

void CContact::callContact()
{
    if (model_.callSelected()) {
        hide();
    }
}

void CContact::importContacts()
{
    if (const std::optional<QString> path = chooseImport_(this)) {
        model_.startImport(*path);
    }
}

void CContact::exportContacts()
{
    if (const std::optional<ExportChoice> choice = chooseExport_(this)) {
        model_.startExport(choice->path, choice->format);
    }
}

void CContact::notify(ViewNotice notice)
{
    showMessage(this, contact_texts::notice(notice));
}

bool CContact::confirmDelete(const QString& name)
{
    return confirm(this, contact_texts::deleteQuestion(name), QStringLiteral("Orvanta"));
}

void CContact::hoverAt(const QPoint& position)
{
    const std::optional<int> slot = slotOf(tree_->itemAt(position));
    if (!slot) {
        hoveredSlot_.reset();
        tooltip_.hideTip();
        return;
    }
    if (slot == hoveredSlot_) {
        return;
    }
    hoveredSlot_ = slot;
    const ContactTooltip tip = model_.tooltipFor(*slot);
    tooltip_.showAt(tree_->viewport()->mapToGlobal(position) + QPoint(12, 16), tip.title,
                    contact_texts::tooltipBody(tip));
}

}
