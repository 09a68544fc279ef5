#include "settings/CCodec.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvanta {

namespace {

QList<int> selectedRows(const QListWidget* list)
{
    QList<int> rows;
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->isSelected()) {
            rows.append(row);
        }
    }
    return rows;
}

void fill(QListWidget* list, const QStringList& engineNames)
{
    list->clear();
    for (const QString& name : engineNames) {
        list->addItem(codecDisplayName(name));
    }
}

QListWidget* makeCodecList(const QString& name, QWidget* parent)
{
    auto* list = new QListWidget(parent);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setAccessibleName(name);
    return list;
}

}

CCodec::CCodec(CodecPriorityEngine& engine, const CodecCatalog& catalog,
               const RegistrationStatus& registration, QWidget* parent)
        : OptionsPage(parent), model_(engine, catalog, registration)
{
    buildControls();
    model_.load();
    refresh();
}

void CCodec::buildControls()
{
    auto* layout = new QVBoxLayout(this);
    auto* lists = new QGridLayout();
    disabledList_ = makeCodecList(QStringLiteral("Disabled Codec"), this);
    enabledList_ = makeCodecList(QStringLiteral("Enable Codec"), this);
    lists->addWidget(new QLabel(QStringLiteral("Disabled Codec"), this), 0, 0);
    lists->addWidget(new QLabel(QStringLiteral("Enable Codec"), this), 0, 2);
    lists->addWidget(disabledList_, 1, 0);
    lists->addWidget(enabledList_, 1, 2);

    auto* moves = new QVBoxLayout();
    enable_ = makePlainButton(QStringLiteral(">"), this);
    disable_ = makePlainButton(QStringLiteral("<"), this);
    enableAll_ = makePlainButton(QStringLiteral(">>"), this);
    disableAll_ = makePlainButton(QStringLiteral("<<"), this);
    moves->addStretch();
    for (QPushButton* button : {enable_, disable_, enableAll_, disableAll_}) {
        moves->addWidget(button);
    }
    moves->addStretch();
    lists->addLayout(moves, 1, 1);

    auto* order = new QVBoxLayout();
    up_ = makePlainButton(QStringLiteral("^"), this);
    up_->setAccessibleName(QStringLiteral("Move up"));
    down_ = makePlainButton(QStringLiteral("\\/"), this);
    down_->setAccessibleName(QStringLiteral("Move down"));
    order->addStretch();
    order->addWidget(up_);
    order->addWidget(down_);
    order->addStretch();
    lists->addLayout(order, 1, 3);
    layout->addLayout(lists);

    unavailable_ = new QLabel(this);
    unavailable_->setWordWrap(true);
    layout->addWidget(unavailable_);
    layout->addWidget(buildPropertiesGroup());
    layout->addLayout(takeButtonRow());

    connect(enable_, &QPushButton::clicked, this, [this] {
        model_.moveToEnabled(selectedRows(disabledList_));
        refresh();
    });
    connect(disable_, &QPushButton::clicked, this, [this] {
        model_.moveToDisabled(selectedRows(enabledList_));
        refresh();
    });
    connect(enableAll_, &QPushButton::clicked, this, [this] {
        model_.moveAllToEnabled();
        refresh();
    });
    connect(disableAll_, &QPushButton::clicked, this, [this] {
        model_.moveAllToDisabled();
        refresh();
    });
    connect(up_, &QPushButton::clicked, this,
            [this] { reorder(model_.moveUp(selectedRows(enabledList_))); });
    connect(down_, &QPushButton::clicked, this,
            [this] { reorder(model_.moveDown(selectedRows(enabledList_))); });
    connect(applyButton(), &QPushButton::clicked, this, [this] {
        model_.SaveCodecLists();
        refresh();
    });
    connect(okButton(), &QPushButton::clicked, this, [this] {
        model_.ok();
        emit closeSheet(true);
    });
}

QWidget* CCodec::buildPropertiesGroup()
{
    // Shown as the page has always shown it; nothing fills these fields.
    auto* group = new QGroupBox(QStringLiteral("Codec Properties"), this);
    auto* grid = new QGridLayout(group);
    auto readOnlyField = [group] {
        auto* field = new QLineEdit(group);
        field->setReadOnly(true);
        return field;
    };
    grid->addWidget(new QLabel(QStringLiteral("Description:"), group), 0, 0);
    grid->addWidget(readOnlyField(), 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Bitrate Range(bps):"), group), 1, 0);
    grid->addWidget(readOnlyField(), 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("-"), group), 1, 2);
    grid->addWidget(readOnlyField(), 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Fidelity:"), group), 2, 0);
    grid->addWidget(readOnlyField(), 2, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Best Quality(PESQ):"), group), 3, 0);
    auto* quality = new QProgressBar(group);
    quality->setRange(0, 100);
    quality->setValue(0);
    quality->setTextVisible(false);
    auto* bar = new QHBoxLayout();
    bar->addWidget(new QLabel(QStringLiteral("0.0"), group));
    bar->addWidget(quality);
    bar->addWidget(new QLabel(QStringLiteral("4.5"), group));
    grid->addLayout(bar, 3, 1, 1, 3);
    return group;
}

void CCodec::refresh(std::optional<int> selectedEnabled)
{
    fill(disabledList_, model_.disabled());
    fill(enabledList_, model_.enabled());
    if (selectedEnabled) {
        enabledList_->setCurrentRow(*selectedEnabled, QItemSelectionModel::ClearAndSelect);
    }
    QStringList missing;
    for (const QString& name : model_.unavailableCodecs()) {
        missing.append(codecDisplayName(name));
    }
    unavailable_->setText(missing.isEmpty()
                              ? QString()
                              : QStringLiteral("This engine cannot offer %1; it is never used.")
                                    .arg(missing.join(QStringLiteral(", "))));
    unavailable_->setVisible(!missing.isEmpty());
    applyButton()->setEnabled(model_.applyEnabled());
}

void CCodec::reorder(std::optional<int> newIndex)
{
    if (newIndex) {
        refresh(newIndex);
    } else {
        applyButton()->setEnabled(model_.applyEnabled());
    }
}

void CCodec::onShownOrHidden()
{
    model_.onShownOrHidden();
    applyButton()->setEnabled(false);
}

}
