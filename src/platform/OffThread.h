#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QtConcurrent/QtConcurrentRun>

namespace orvanta::platform {

// Runs work on a pool thread and hands its result to done on receiver's
// thread, from that thread's event loop. Nothing is handed over once
// receiver is gone. work must not touch objects of the receiver's thread.
template <typename Work, typename Done>
void runOffThread(QObject* receiver, Work work, Done done)
{
    using Result = decltype(work());
    auto* watcher = new QFutureWatcher<Result>(receiver);
    QObject::connect(watcher, &QFutureWatcherBase::finished, receiver,
                     [watcher, done = std::move(done)]() mutable {
                         done(watcher->result());
                         watcher->deleteLater();
                     });
    watcher->setFuture(QtConcurrent::run(std::move(work)));
}

}
