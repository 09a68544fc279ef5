#pragma once

#include <QDialog>
#include <QImage>
#include <QPoint>

namespace orvanta {

// A borderless dialog drawn from its background image and shaped by it:
// the image's transparent pixels are outside the window. A press anywhere
// on its body drags it.
class SkinnedDialog : public QDialog {
    Q_OBJECT

public:
    explicit SkinnedDialog(QImage background, QWidget* parent = nullptr);

    const QImage& background() const { return background_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QImage background_;
    QPoint dragOffset_;
};

// Our own artwork: a phone-like body with a rounded outline and a screen
// area, drawn rather than shipped.
QImage phoneBodyImage(const QSize& size, const QColor& body, const QColor& screen);

}
