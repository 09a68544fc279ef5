#pragma once

#include <QEventLoop>
#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>
#include <chrono>

namespace orvanta::platform {

// Waits without freezing the window: the thread keeps processing paint,
// timer and queued events, but user input (clicks, keys) is dropped while
// waiting, as the dialer's blocking exchanges always did.
void pauseWithoutUserInput(std::chrono::milliseconds duration);

// Runs work on a pool thread and waits for its result the same way.
template <typename Work>
auto runWithoutUserInput(Work work) -> decltype(work())
{
    QFutureWatcher<decltype(work())> watcher;
    QEventLoop loop;
    QObject::connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
    watcher.setFuture(QtConcurrent::run(std::move(work)));
    if (!watcher.isFinished()) {
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return watcher.result();
}

}
