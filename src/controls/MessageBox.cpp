#include "controls/MessageBox.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>

namespace orvanta {

namespace {

std::function<bool(const MessageBoxRequest&)>& handler()
{
    static std::function<bool(const MessageBoxRequest&)> current;
    return current;
}

}

QPoint messageBoxPosition(const QWidget* parent, const QSize& box)
{
    const QWidget* anchor = parent ? parent->window() : nullptr;
    QRect area;
    if (anchor && anchor->isVisible()) {
        area = anchor->frameGeometry();
    } else if (const QScreen* screen =
                   anchor ? anchor->screen() : QGuiApplication::primaryScreen()) {
        // A hidden window has no place yet: the box goes to the screen's middle.
        area = screen->availableGeometry();
    }
    return area.center() - QPoint(box.width() / 2, box.height() / 2);
}

bool showMessageBox(const MessageBoxRequest& request)
{
    if (handler()) {
        return handler()(request);
    }
    const auto buttons =
        request.askOkCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok;
    QMessageBox box(request.askOkCancel ? QMessageBox::Question : QMessageBox::Information,
                    request.title, request.text, buttons, request.parent);
    box.setDefaultButton(request.askOkCancel ? QMessageBox::Cancel : QMessageBox::Ok);
    box.adjustSize();
    box.move(messageBoxPosition(request.parent, box.sizeHint()));
    return box.exec() == QMessageBox::Ok;
}

void setMessageBoxHandler(std::function<bool(const MessageBoxRequest&)> newHandler)
{
    handler() = std::move(newHandler);
}

}
