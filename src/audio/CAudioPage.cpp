#include "audio/CAudioPage.h"

#include "audio/AudioTexts.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvanta {

namespace {

QString labelOf(AudioRole role)
{
    switch (role) {
    case AudioRole::Input:
        return QStringLiteral("Microphone:");
    case AudioRole::Output:
        return QStringLiteral("Speaker:");
    case AudioRole::Ringer:
        return QStringLiteral("Ringer:");
    }
    return {};
}

QPushButton* makeButton(const QString& text)
{
    auto* button = new QPushButton(text);
    button->setAutoDefault(false);  // Enter never presses a button here
    return button;
}

}

CAudioPage::CAudioPage(AudioPageModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    auto* form = new QFormLayout;
    for (AudioRole role : kAudioRoles) {
        auto* list = new QComboBox;
        list->setAccessibleName(labelOf(role).chopped(1));
        lists_[static_cast<std::size_t>(role)] = list;
        form->addRow(labelOf(role), list);
        // activated: the user's picks only, not the lists being refilled.
        connect(list, &QComboBox::activated, this,
                [this, role](int index) { model_.select(role, index); });
    }
    ok_ = makeButton(QStringLiteral("Ok"));
    apply_ = makeButton(QStringLiteral("Apply"));
    cancel_ = makeButton(QStringLiteral("Cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(apply_);
    buttons->addWidget(cancel_);
    auto* page = new QVBoxLayout(this);
    page->addLayout(form);
    page->addStretch();
    page->addLayout(buttons);

    connect(ok_, &QPushButton::clicked, &model_, &AudioPageModel::ok);
    connect(apply_, &QPushButton::clicked, &model_, &AudioPageModel::apply);
    connect(cancel_, &QPushButton::clicked, &model_, &AudioPageModel::cancel);
    connect(&model_, &AudioPageModel::changed, this, &CAudioPage::refresh);
    connect(&model_, &AudioPageModel::finished, this, &CAudioPage::finished);
    refresh();
}

void CAudioPage::refresh()
{
    for (AudioRole role : kAudioRoles) {
        QComboBox* list = deviceList(role);
        const QSignalBlocker quiet(list);
        list->clear();
        for (const DeviceEntry& entry : model_.entries(role)) {
            list->addItem(deviceEntryText(entry));
        }
        list->setCurrentIndex(model_.selectedIndex(role));
    }
    apply_->setEnabled(model_.applyEnabled());
}

void CAudioPage::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CAudioPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    model_.shown();
}

void CAudioPage::hideEvent(QHideEvent* event)
{
    model_.hidden();
    QWidget::hideEvent(event);
}

}
