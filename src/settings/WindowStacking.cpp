#include "settings/WindowStacking.h"

#include "settings/DialerSettings.h"

#include <QWidget>

namespace orvanta {

namespace {

void setOnTop(QWidget* window, bool on)
{
    if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on) {
        return;
    }
    // Changing a window flag hides the window and may move it: put it back.
    const bool visible = window->isVisible();
    const QRect geometry = window->geometry();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
    window->setGeometry(geometry);
    if (visible) {
        window->show();
    }
}

}

void followAlwaysOnTop(QWidget* window, const DialerSettings& settings)
{
    setOnTop(window, settings.alwaysOnTop());
    QObject::connect(&settings, &DialerSettings::alwaysOnTopChanged, window,
                     [window](bool on) { setOnTop(window, on); });
}

}
