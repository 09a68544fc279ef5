#pragma once

#include "platform/InputDropper.h"

#include <QEventLoop>
#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>
#include <chrono>

namespace orvanta::platform {

// Waits without freezing the window: the thread keeps processing paint,
// timer and queued events, and user input (clicks, keys) that arrives while
// waiting is dropped, not replayed afterwards. New code prefers the
// asynchronous clients of src/net and a model that ignores input while it
// waits.
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
        const InputDropper dropper;
        loop.exec();
    }
    return watcher.result();
}

}
