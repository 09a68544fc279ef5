#include "platform/EventLoopProbe.h"

#include <chrono>

namespace orvanta::platform {

namespace {

constexpr int kIntervalMs = 5;
constexpr double kReportedStallMs = 2.0;

}

EventLoopProbe::EventLoopProbe(QObject* parent) : QObject(parent)
{
    const QByteArray path = qgetenv("ORVANTA_EVENT_LOOP_PROBE");
    if (path.isEmpty())
        return;
    log_ = std::fopen(path.constData(), "ae");
    if (!log_)
        return;
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(kIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &EventLoopProbe::onTick);
    clock_.start();
    lastTickNs_ = clock_.nsecsElapsed();
    timer_.start();
}

EventLoopProbe::~EventLoopProbe()
{
    if (log_)
        std::fclose(log_);
}

void EventLoopProbe::onTick()
{
    const qint64 now = clock_.nsecsElapsed();
    const double lateMs = static_cast<double>(now - lastTickNs_) / 1e6 - kIntervalMs;
    lastTickNs_ = now;
    if (lateMs <= kReportedStallMs)
        return;
    const double wall =
        std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
    std::fprintf(log_, "stall %.6f %.3f\n", wall, lateMs);
    std::fflush(log_);
}

}
