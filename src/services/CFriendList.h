#pragma once

#include "services/AddFriendForm.h"

#include <QDialog>
#include <optional>

class QPushButton;
class QTreeWidget;

namespace orvanta {

// "Friend List": the server's friends in five columns, with ADD, EDIT,
// DELETE and CLOSE. Each opening fetches the list.
class CFriendList : public QDialog {
    Q_OBJECT

public:
    explicit CFriendList(FriendList& list, QWidget* parent = nullptr);

    QTreeWidget* list() const { return view_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* editButton() const { return edit_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* closeButton() const { return close_; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void fill();
    void setColumnWidths();
    std::optional<std::size_t> selectedRow() const;
    void openForm(FriendFormMode mode, std::size_t row);
    void removeSelected();

    FriendList& model_;
    QTreeWidget* view_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* edit_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* close_ = nullptr;
};

}
