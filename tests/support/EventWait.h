#pragma once

#include <QCoreApplication>
#include <QThread>
#include <chrono>

namespace orvanta::test {

// Waits until done() holds, handling this thread's Qt events meanwhile (the
// queued signals of other threads among them); false after limit.
template <typename Done>
bool eventually(Done done, std::chrono::milliseconds limit = std::chrono::seconds(5))
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

}
