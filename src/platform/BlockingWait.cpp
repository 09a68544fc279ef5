#include "platform/BlockingWait.h"

#include <QTimer>

namespace orvanta::platform {

void pauseWithoutUserInput(std::chrono::milliseconds duration)
{
    QEventLoop loop;
    QTimer::singleShot(duration, &loop, &QEventLoop::quit);
    const InputDropper dropper;
    loop.exec();
}

}
