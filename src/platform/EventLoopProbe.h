#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <cstdio>

namespace orvanta::platform {

// Measures how late the thread's event loop runs a 5 ms timer, to find the
// stalls a user would feel. Off unless ORVANTA_EVENT_LOOP_PROBE names a
// file; then every lateness over 2 ms is appended to it as
// "stall <wall-clock seconds> <milliseconds>". Create it on the GUI thread
// as early as possible: the time before the loop first runs counts too.
class EventLoopProbe : public QObject {
    Q_OBJECT

public:
    explicit EventLoopProbe(QObject* parent = nullptr);
    ~EventLoopProbe() override;
    EventLoopProbe(const EventLoopProbe&) = delete;
    EventLoopProbe& operator=(const EventLoopProbe&) = delete;

    bool isActive() const { return log_ != nullptr; }

private:
    void onTick();

    QTimer timer_;
    QElapsedTimer clock_;
    qint64 lastTickNs_ = 0;
    std::FILE* log_ = nullptr;
};

}
