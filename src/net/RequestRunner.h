#pragma once

#include <QCoreApplication>
#include <QFutureWatcher>
#include <QObject>
#include <QPointer>
#include <QThreadPool>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace orvanta {

// Threads for the service clients' blocking requests. They mostly wait on
// sockets, so there are more of them than cores; a request that outlives its
// time limit keeps its thread until its own socket limits end it.
inline QThreadPool* serviceRequestPool()
{
    static QPointer<QThreadPool> pool;
    if (!pool) {
        QObject* owner = QCoreApplication::instance();
        if (!owner) {
            return QThreadPool::globalInstance();
        }
        pool = new QThreadPool(owner);
        pool->setMaxThreadCount(8);
    }
    return pool;
}

// Runs one blocking request off the GUI thread and reports its result on the
// receiver's thread, through the watcher's finished signal. When the time
// limit passes first, done gets nothing and the late result is dropped; when
// the receiver is destroyed first, done is never called. A zero limit waits
// as long as the work takes. Every service client starts its requests here,
// so the service layer's HTTP wrapper can take them over in this one place.
template <typename Result>
void runRequest(QObject* receiver, std::chrono::milliseconds timeLimit,
                std::function<Result()> work, std::function<void(std::optional<Result>)> done)
{
    auto* watcher = new QFutureWatcher<Result>(receiver);
    auto finished = std::make_shared<bool>(false);
    auto finish = [watcher, finished, done = std::move(done)](std::optional<Result> result) {
        if (*finished) {
            return;
        }
        *finished = true;
        watcher->deleteLater();
        done(std::move(result));
    };
    QObject::connect(watcher, &QFutureWatcherBase::finished, watcher,
                     [watcher, finish] { finish(watcher->result()); });
    if (timeLimit.count() > 0) {
        auto* timer = new QTimer(watcher);
        timer->setSingleShot(true);
        QObject::connect(timer, &QTimer::timeout, watcher, [finish] { finish(std::nullopt); });
        timer->start(timeLimit);
    }
    watcher->setFuture(QtConcurrent::run(serviceRequestPool(), std::move(work)));
}

}
