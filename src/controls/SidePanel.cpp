#include "controls/SidePanel.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace orvanta {

namespace {

const QString kButtonStyle = QStringLiteral(
    "QToolButton { color: white; background: rgba(255,255,255,40); border: 1px solid "
    "rgba(255,255,255,90); border-radius: 6px; padding: 3px 8px; }"
    "QToolButton:disabled { color: rgba(255,255,255,90); }");

// Our own artwork: a rounded panel in the main window's colours.
QImage panelImage(const QSize& size)
{
    const QColor body(30, 60, 100);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF outline = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(1, 1, -1, -1);
    QLinearGradient shade(outline.topLeft(), outline.bottomRight());
    shade.setColorAt(0, body.lighter(125));
    shade.setColorAt(1, body.darker(130));
    painter.setPen(QPen(body.darker(180), 2));
    painter.setBrush(shade);
    painter.drawRoundedRect(outline, 14, 14);
    return image;
}

QToolButton* panelButton(QWidget* parent, const QString& caption, const QString& tip)
{
    auto* button = new QToolButton(parent);
    button->setText(caption);
    button->setToolTip(tip);
    button->setAccessibleName(tip);
    button->setStyleSheet(kButtonStyle);
    return button;
}

}

SidePanel::SidePanel(const QString& title, QWidget* parent)
        : SkinnedDialog(panelImage(kSize), parent)
{
    setWindowTitle(title);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(10, 8, 10, 12);
    column->setSpacing(6);
    auto* titleRow = new QHBoxLayout();
    options_ = panelButton(this, QStringLiteral("Options"), QStringLiteral("Options"));
    auto* caption = new QLabel(title, this);
    caption->setStyleSheet(QStringLiteral("color: white; font-weight: bold;"));
    close_ = panelButton(this, QStringLiteral("X"), QStringLiteral("Close"));
    titleRow->addWidget(options_);
    titleRow->addStretch();
    titleRow->addWidget(caption);
    titleRow->addStretch();
    titleRow->addWidget(close_);
    column->addLayout(titleRow);
    content_ = new QVBoxLayout();
    column->addLayout(content_, 1);

    connect(close_, &QToolButton::clicked, this, &SidePanel::close);
    connect(options_, &QToolButton::clicked, this, &SidePanel::optionsPressed);
}

void SidePanel::showBeside(const QWidget& mainWindow, Side side)
{
    const QRect main = mainWindow.frameGeometry();
    const int x = side == Side::Right ? main.right() + 1 : main.left() - kSize.width();
    move(x, main.top());
    show();
    raise();
}

void SidePanel::watchTree(QTreeWidget* tree, TreeInput input)
{
    tree_ = tree;
    treeInput_ = std::move(input);
    tree_->setMouseTracking(true);
    tree_->installEventFilter(this);
    tree_->viewport()->installEventFilter(this);
}

bool SidePanel::eventFilter(QObject* watched, QEvent* event)
{
    if (!tree_) {
        return SkinnedDialog::eventFilter(watched, event);
    }
    if (watched == tree_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        treeInput_.deletePressed();
        return true;
    }
    if (watched != tree_->viewport()) {
        return SkinnedDialog::eventFilter(watched, event);
    }
    if (event->type() == QEvent::MouseMove) {
        treeInput_.mouseMoved(static_cast<QMouseEvent*>(event)->position().toPoint());
    } else if (event->type() == QEvent::Leave) {
        treeInput_.mouseLeft();
    } else if (event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        QTreeWidgetItem* item = tree_->itemAt(press->position().toPoint());
        if (press->button() == Qt::RightButton && item) {
            treeInput_.rightPressed(item);
            return true;
        }
        if (press->button() == Qt::LeftButton && !item) {
            treeInput_.emptyPlaceClicked();
            return true;
        }
    }
    return SkinnedDialog::eventFilter(watched, event);
}

void SidePanel::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        SkinnedDialog::keyPressEvent(event);
    }
}

void SidePanel::mousePressEvent(QMouseEvent* event)
{
    SkinnedDialog::mousePressEvent(event);
    emit backgroundPressed();
}

void SidePanel::closeEvent(QCloseEvent* event)
{
    event->ignore();
    hide();
    emit closed();
}

}
