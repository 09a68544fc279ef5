#pragma once

#include "controls/SkinnedDialog.h"

#include <functional>

class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;

namespace orvanta {

// A window shown beside the main window (contacts, recent calls): a title,
// a close button and an options button above the content. Escape and Enter
// do nothing; closing hides it and says so.
class SidePanel : public SkinnedDialog {
    Q_OBJECT

public:
    static constexpr QSize kSize{247, 503};
    enum class Side { Left, Right };

    explicit SidePanel(const QString& title, QWidget* parent = nullptr);

    // At the main window's left or right edge, top aligned.
    void showBeside(const QWidget& mainWindow, Side side);

    QToolButton* closeButton() const { return close_; }
    QToolButton* optionsButton() const { return options_; }

signals:
    void closed();
    void optionsPressed();
    // A press on the panel itself, outside its controls.
    void backgroundPressed();

protected:
    // What a side window does with the input of its tree, beyond selecting
    // and double clicks.
    struct TreeInput {
        std::function<void()> deletePressed;
        std::function<void(const QPoint&)> mouseMoved;  // in the tree's viewport
        std::function<void()> mouseLeft;
        std::function<void(QTreeWidgetItem*)> rightPressed;
        std::function<void()> emptyPlaceClicked;  // a left click beside the items
    };
    void watchTree(QTreeWidget* tree, TreeInput input);

    QVBoxLayout* content() const { return content_; }
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override {}

private:
    QToolButton* close_ = nullptr;
    QToolButton* options_ = nullptr;
    QVBoxLayout* content_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    TreeInput treeInput_;
};

}
