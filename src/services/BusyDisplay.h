#pragma once

#include <QWidget>
#include <initializer_list>

namespace orvanta {

// A window waiting for its request: a wait cursor over it and its action
// controls disabled, so clicks made meanwhile are dropped, not replayed.
inline void showBusy(QWidget* window, bool busy, std::initializer_list<QWidget*> controls)
{
    if (busy) {
        window->setCursor(Qt::WaitCursor);
    } else {
        window->unsetCursor();
    }
    for (QWidget* control : controls) {
        control->setEnabled(!busy);
    }
}

}
