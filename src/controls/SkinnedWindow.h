#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

namespace orvanta {

// A borderless window drawn from its background image and shaped by it:
// the image's transparent pixels are outside the window. A press anywhere
// on its body drags it.
class SkinnedWindow {
public:
    SkinnedWindow(QWidget& window, QImage background);

    const QImage& background() const { return background_; }
    // Call from the window's paint, mouse press and mouse move handlers.
    void paint();
    void mousePressed(const QPoint& globalPosition);
    void mouseMoved(const QPoint& globalPosition, Qt::MouseButtons buttons);

private:
    QWidget& window_;
    QImage background_;
    QPoint dragOffset_;
};

// Our own artwork: a phone-like body with a rounded outline and a screen
// area, drawn rather than shipped.
QImage phoneBodyImage(const QSize& size, const QColor& body, const QColor& screen);

}
