#include "controls/InfoTip.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

namespace orvanta {

InfoTip::InfoTip(const Style& style, QWidget* parent)
        : QFrame(parent, Qt::ToolTip | Qt::FramelessWindowHint), style_(style)
{
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, style_.background);
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);
    setMaximumWidth(style_.maxWidth);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 4, 6, 4);
    column->setSpacing(0);
    auto* titleRow = new QHBoxLayout();
    icon_ = new QLabel(this);
    icon_->setPixmap(
        QApplication::style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(16, 16));
    icon_->setVisible(style_.informationIcon);
    title_ = new QLabel(this);
    title_->setTextFormat(Qt::PlainText);
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    titleRow->addWidget(icon_);
    titleRow->addWidget(title_, 1);
    column->addLayout(titleRow);
    body_ = new QLabel(this);
    body_->setTextFormat(Qt::PlainText);
    body_->setWordWrap(true);
    column->addWidget(body_);

    hideTimer_.setSingleShot(true);
    connect(&hideTimer_, &QTimer::timeout, this, &InfoTip::hideTip);
}

void InfoTip::showAt(const QPoint& globalPosition, const QString& title, const QString& body)
{
    title_->setText(title);
    title_->setVisible(!title.isEmpty());
    body_->setText(body);
    adjustSize();
    move(globalPosition);
    show();
    hideTimer_.start(style_.duration);
}

void InfoTip::hideTip()
{
    hideTimer_.stop();
    hide();
}

QString InfoTip::title() const
{
    return title_->text();
}

QString InfoTip::body() const
{
    return body_->text();
}

}
