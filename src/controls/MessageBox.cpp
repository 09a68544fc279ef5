#include "controls/MessageBox.h"

#include <QMessageBox>

namespace orvanta {

namespace {

std::function<bool(const MessageBoxRequest&)>& handler()
{
    static std::function<bool(const MessageBoxRequest&)> current;
    return current;
}

}

bool showMessageBox(const MessageBoxRequest& request)
{
    if (handler()) {
        return handler()(request);
    }
    if (request.askOkCancel) {
        return QMessageBox::question(request.parent, request.title, request.text,
                                     QMessageBox::Ok | QMessageBox::Cancel,
                                     QMessageBox::Cancel) == QMessageBox::Ok;
    }
    QMessageBox::information(request.parent, request.title, request.text);
    return true;
}

void setMessageBoxHandler(std::function<bool(const MessageBoxRequest&)> newHandler)
{
    handler() = std::move(newHandler);
}

}
