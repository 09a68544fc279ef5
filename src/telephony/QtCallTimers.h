#pragma once

#include "telephony/CallPorts.h"
#include "telephony/PhoneState.h"

#include <QObject>
#include <QTimer>

#include <array>
#include <functional>

namespace orvanta {

// CallTimers on Qt timers of the thread that owns this object.
class QtCallTimers : public QObject, public CallTimers {
public:
    static constexpr int kTickMs = 1000;

    explicit QtCallTimers(QObject* parent = nullptr);

    // Receives each tick with the line's index.
    void setTickHandler(std::function<void(int)> handler) { onTick_ = std::move(handler); }

    void startLineTimer(int line) override;
    void stopLineTimer(int line) override;
    void runLater(int milliseconds, std::function<void()> action) override;

private:
    std::array<QTimer, PhoneState::kCallLines> lineTimers_;
    std::function<void(int)> onTick_;
};

}
