#pragma once

#include <QPoint>
#include <QSize>
#include <QString>
#include <functional>

class QWidget;

namespace orvanta {

// Every message box of the dialer goes through here, so tests can answer
// them instead of blocking on a modal box.
struct MessageBoxRequest {
    QWidget* parent = nullptr;
    QString text;
    QString title;
    bool askOkCancel = false;
};

// Shows an information box; returns true (OK) or, for OK/Cancel boxes,
// whether the user chose OK.
bool showMessageBox(const MessageBoxRequest& request);

inline void showMessage(QWidget* parent, const QString& text)
{
    showMessageBox({parent, text, QStringLiteral("Orvanta"), false});
}

inline bool confirm(QWidget* parent, const QString& text, const QString& title)
{
    return showMessageBox({parent, text, title, true});
}

// Where a box of this size opens: over the middle of its parent's window,
// or of the screen while that window is hidden.
QPoint messageBoxPosition(const QWidget* parent, const QSize& box);

// Replaces the boxes (tests); an empty handler restores the real ones.
void setMessageBoxHandler(std::function<bool(const MessageBoxRequest&)> handler);

}
