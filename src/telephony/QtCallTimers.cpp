#include "telephony/QtCallTimers.h"

namespace orvanta {

QtCallTimers::QtCallTimers(QObject* parent) : QObject(parent)
{
    for (int i = 0; i < PhoneState::kCallLines; ++i) {
        QTimer& timer = lineTimers_[static_cast<std::size_t>(i)];
        timer.setInterval(kTickMs);
        connect(&timer, &QTimer::timeout, this, [this, i] {
            if (onTick_) {
                onTick_(i);
            }
        });
    }
}

void QtCallTimers::startLineTimer(int line)
{
    if (line >= 0 && line < PhoneState::kCallLines) {
        lineTimers_[static_cast<std::size_t>(line)].start();
    }
}

void QtCallTimers::stopLineTimer(int line)
{
    if (line >= 0 && line < PhoneState::kCallLines) {
        lineTimers_[static_cast<std::size_t>(line)].stop();
    }
}

void QtCallTimers::runLater(int milliseconds, std::function<void()> action)
{
    QTimer::singleShot(milliseconds, this, std::move(action));
}

}
