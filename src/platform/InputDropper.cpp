#include "platform/InputDropper.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

namespace orvanta::platform {

InputDropper::InputDropper() : waitLevel_(QThread::currentThread()->loopLevel() + 1)
{
    if (QCoreApplication* application = QCoreApplication::instance()) {
        application->installEventFilter(this);
    }
}

InputDropper::~InputDropper()
{
    if (QCoreApplication* application = QCoreApplication::instance()) {
        application->removeEventFilter(this);
    }
}

bool InputDropper::isUserInput(const QEvent& event)
{
    switch (event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

bool InputDropper::eventFilter(QObject*, QEvent* event)
{
    return isUserInput(*event) && QThread::currentThread()->loopLevel() <= waitLevel_;
}

}
