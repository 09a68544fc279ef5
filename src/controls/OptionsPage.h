#pragma once

#include <QWidget>

class QHBoxLayout;
class QKeyEvent;
class QPushButton;

namespace orvanta {

// A page of a settings sheet with its own "Ok", "Apply" and "Cancel". The
// Enter key does nothing on it; showing or hiding it calls onShownOrHidden.
class OptionsPage : public QWidget {
    Q_OBJECT

public:
    explicit OptionsPage(QWidget* parent = nullptr);
    ~OptionsPage() override;

    QPushButton* okButton() const { return okButton_; }
    QPushButton* applyButton() const { return applyButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }

signals:
    // The sheet closes: confirmed ("Ok") or cancelled.
    void closeSheet(bool confirmed);

protected:
    // The row holding the three buttons, for the page's layout.
    QHBoxLayout* takeButtonRow();
    virtual void onShownOrHidden() = 0;

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPushButton* okButton_ = nullptr;
    QPushButton* applyButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QHBoxLayout* buttonRow_ = nullptr;
};

// Enter or Return: a sheet and its pages swallow them.
bool isEnterKey(const QKeyEvent* event);

// A push button that Enter never presses.
QPushButton* makePlainButton(const QString& text, QWidget* parent);

}
