#include "controls/SkinnedDialog.h"

#include <QBitmap>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace orvanta {

SkinnedDialog::SkinnedDialog(QImage background, QWidget* parent)
        : QDialog(parent), background_(std::move(background))
{
    setWindowFlag(Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(background_.size());
    // Transparent pixels are cut away (honoured by window systems that
    // support shaped windows; elsewhere the translucent corners remain).
    setMask(QBitmap::fromImage(background_.createAlphaMask()));
}

void SkinnedDialog::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, background_);
}

void SkinnedDialog::mousePressEvent(QMouseEvent* event)
{
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void SkinnedDialog::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton) {
        move(event->globalPosition().toPoint() - dragOffset_);
    }
}

QImage phoneBodyImage(const QSize& size, const QColor& body, const QColor& screen)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF outline = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(2, 2, -2, -2);
    QLinearGradient shade(outline.topLeft(), outline.bottomRight());
    shade.setColorAt(0, body.lighter(125));
    shade.setColorAt(1, body.darker(130));
    painter.setPen(QPen(body.darker(180), 2));
    painter.setBrush(shade);
    painter.drawRoundedRect(outline, 28, 28);
    const QRectF display = QRectF(outline.left() + 16, outline.top() + 36, outline.width() - 32,
                                  outline.height() * 0.28);
    painter.setPen(QPen(screen.darker(160), 1.5));
    painter.setBrush(screen);
    painter.drawRoundedRect(display, 10, 10);
    // Earpiece slot.
    painter.setBrush(body.darker(200));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(size.width() / 2.0 - 30, outline.top() + 14, 60, 8), 4, 4);
    return image;
}

}
