#include "controls/OptionsPage.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>

namespace orvanta {

bool isEnterKey(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

QPushButton* makePlainButton(const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setAccessibleName(text);
    return button;
}

OptionsPage::OptionsPage(QWidget* parent) : QWidget(parent)
{
    okButton_ = makePlainButton(QStringLiteral("Ok"), this);
    applyButton_ = makePlainButton(QStringLiteral("Apply"), this);
    cancelButton_ = makePlainButton(QStringLiteral("Cancel"), this);
    buttonRow_ = new QHBoxLayout();
    buttonRow_->addStretch();
    buttonRow_->addWidget(okButton_);
    buttonRow_->addWidget(applyButton_);
    buttonRow_->addWidget(cancelButton_);
    connect(cancelButton_, &QPushButton::clicked, this, [this] { emit closeSheet(false); });
}

OptionsPage::~OptionsPage()
{
    delete buttonRow_;  // only when the page never placed it
}

QHBoxLayout* OptionsPage::takeButtonRow()
{
    QHBoxLayout* row = buttonRow_;
    buttonRow_ = nullptr;
    return row;
}

void OptionsPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    onShownOrHidden();
}

void OptionsPage::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    onShownOrHidden();
}

void OptionsPage::keyPressEvent(QKeyEvent* event)
{
    if (isEnterKey(event)) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

}
