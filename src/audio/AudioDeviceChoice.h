#pragma once

#include "audio/AudioDeviceRecord.h"
#include "audio/AudioRouting.h"
#include "platform/SoundServer.h"

#include <QObject>
#include <QThreadPool>

namespace orvanta {

// The user's choice of microphone, speaker and ringer devices, kept in its
// record file, and where each role's audio goes now: a chosen device that
// is missing gives way to the system default, with a notice, and is used
// again, with a notice, once it is back.
class AudioDeviceChoice : public QObject {
    Q_OBJECT

public:
    // Routes every role to the system default until load().
    explicit AudioDeviceChoice(platform::SoundServer& server, QObject* parent = nullptr);
    // Waits for a save still running.
    ~AudioDeviceChoice() override;

    // Reads the record file (small and bounded) and routes by it. Not done
    // on construction: the dialer's core exists before start-up has found
    // the data folder usable.
    void load();

    const AudioChoices& choices() const { return choices_; }
    // Keeps the new choice (the file is written off this thread) and routes
    // by it.
    void setChoices(const AudioChoices& choices);

    const AudioRoutes& routes() const { return routes_; }
    const AudioRoute& route(AudioRole role) const { return routeOf(routes_, role); }

    platform::SoundServerView serverView() const { return server_.view(); }

    // Names and descriptions longer than this in the file are not used.
    static constexpr qsizetype kMaxNameLength = 512;

signals:
    void routesChanged();
    void notice(const orvanta::AudioDeviceNotice& notice);
    // The server's device list (or its state) changed.
    void devicesChanged();

private:
    void reroute(const AudioRoutes& previous);
    void serverChanged();

    platform::SoundServer& server_;
    // The device lists as last told: volume changes alone are no news.
    std::vector<std::string> listed_;
    AudioChoices choices_;
    AudioRoutes routes_;
    QThreadPool saver_;  // one thread: saves land in order
};

// The record's fields as choices and back; names out of bounds are dropped.
AudioChoices choicesFromRecord(const AudioDeviceRecord& record);
AudioDeviceRecord recordFromChoices(const AudioChoices& choices);

}
