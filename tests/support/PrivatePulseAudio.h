#pragma once

#include "support/TestEnvironment.h"

#include <QProcess>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orvanta::test {

// A PulseAudio server of the test's own, on a socket in a private folder
// (its own HOME and XDG_RUNTIME_DIR): a null sink "spk" as the speaker, a
// null sink "micfeed" whose monitor, remapped as "mic", is the microphone.
// Both are the defaults. Stopped with the object.
class PrivatePulseAudio {
public:
    PrivatePulseAudio();
    ~PrivatePulseAudio();
    PrivatePulseAudio(const PrivatePulseAudio&) = delete;
    PrivatePulseAudio& operator=(const PrivatePulseAudio&) = delete;

    // False (with the server's output in log()) when it did not come up.
    bool running() const { return running_; }
    // The server goes away, and comes back on the same socket with fresh
    // devices.
    void stop();
    bool start();
    QString log() { return QString::fromLocal8Bit(server_.readAll()); }
    // "unix:<socket>", for libpulse and the pa tools.
    std::string address() const { return "unix:" + socket_; }

    // Runs pactl against this server; its standard output.
    QString pactl(const QStringList& arguments);
    // pactl load-module; the module's index, or -1.
    int loadModule(const QString& name, const QString& arguments);

    // A tool of pulseaudio-utils (paplay, parec) run against this server,
    // stopped with the object.
    class Tool {
    public:
        Tool(const QProcessEnvironment& environment, const QString& program,
             const QStringList& arguments);
        ~Tool();
        Tool(const Tool&) = delete;
        Tool& operator=(const Tool&) = delete;
        // Stops it; what it wrote meanwhile.
        QByteArray stop();

    private:
        QProcess process_;
    };

    // Plays a WAV file into the microphone; returns once it is heard there.
    std::unique_ptr<Tool> feedMicrophone(const std::filesystem::path& wav);

    // 8 kHz mono 16-bit from a source (a sink's monitor: "spk.monitor").
    std::unique_ptr<Tool> listen(const QString& source);
    static std::vector<std::int16_t> samplesOf(const QByteArray& bytes);

private:
    QProcessEnvironment environment() const;

    TempDir dir_;
    std::string socket_;
    QProcess server_;
    bool running_ = false;
};

}
