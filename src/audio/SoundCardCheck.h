#pragma once

#include "platform/SoundServer.h"

#include <QObject>
#include <QTimer>
#include <chrono>

namespace orvanta {

// A sound card is there when the server answered and lists a device.
bool soundCardDetected(const platform::SoundServerView& view);

// The check for a sound card when the main window opens. It is judged on
// the server's first answer, or on what is known once the bound passes (a
// server that does not answer counts as none), and never blocks.
class SoundCardCheck : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kBound{3000};

    explicit SoundCardCheck(platform::SoundServer& server, QObject* parent = nullptr);

    // Starts a check; its answer comes later as checked(), never inside
    // this call.
    void start();

signals:
    void checked(bool detected);

private:
    void serverChanged();
    void judge();

    platform::SoundServer& server_;
    QTimer bound_;
    bool running_ = false;
};

}
