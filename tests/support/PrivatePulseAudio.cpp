#include "support/PrivatePulseAudio.h"

#include <QRegularExpression>
#include <QThread>
#include <chrono>

namespace orvanta::test {

namespace {

void stopProcess(QProcess& process)
{
    if (process.state() == QProcess::NotRunning) {
        return;
    }
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

}

PrivatePulseAudio::PrivatePulseAudio()
{
    std::filesystem::create_directories(dir_ / "home");
    std::filesystem::create_directories(dir_ / "run");
    socket_ = (dir_ / "run" / "pulse.sock").string();
    start();
}

void PrivatePulseAudio::stop()
{
    stopProcess(server_);
    running_ = false;
}

bool PrivatePulseAudio::start()
{
    server_.setProcessEnvironment(environment());
    server_.setProcessChannelMode(QProcess::MergedChannels);
    server_.start(
        QStringLiteral("pulseaudio"),
        {"--daemonize=no", "--exit-idle-time=-1", "-n", "--use-pid-file=no", "--system=no", "-L",
         QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") +
             QString::fromStdString(socket_),
         "-L", "module-null-sink sink_name=spk", "-L", "module-null-sink sink_name=micfeed", "-L",
         "module-remap-source master=micfeed.monitor source_name=mic"});
    if (!server_.waitForStarted(3000)) {
        return false;
    }
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < end && server_.state() == QProcess::Running) {
        if (std::filesystem::exists(socket_) && pactl({"info"}).contains("Default Source: mic")) {
            running_ = true;
            return true;
        }
        QThread::msleep(20);
    }
    return false;
}

PrivatePulseAudio::~PrivatePulseAudio()
{
    stopProcess(server_);
}

QProcessEnvironment PrivatePulseAudio::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), QString::fromStdString((dir_ / "home").string()));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString((dir_ / "run").string()));
    env.insert(QStringLiteral("PULSE_SERVER"), QString::fromStdString(address()));
    return env;
}

QString PrivatePulseAudio::pactl(const QStringList& arguments)
{
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(QStringLiteral("pactl"), arguments);
    process.waitForFinished(5000);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

int PrivatePulseAudio::loadModule(const QString& name, const QString& arguments)
{
    bool ok = false;
    const int index = pactl({"load-module", name, arguments}).trimmed().toInt(&ok);
    return ok ? index : -1;
}

PrivatePulseAudio::Tool::Tool(const QProcessEnvironment& environment, const QString& program,
                              const QStringList& arguments)
{
    process_.setProcessEnvironment(environment);
    process_.start(program, arguments);
    process_.waitForStarted(3000);
}

PrivatePulseAudio::Tool::~Tool()
{
    stopProcess(process_);
}

QByteArray PrivatePulseAudio::Tool::stop()
{
    stopProcess(process_);
    return process_.readAllStandardOutput();
}

std::unique_ptr<PrivatePulseAudio::Tool>
PrivatePulseAudio::feedMicrophone(const std::filesystem::path& wav)
{
    auto feed = std::make_unique<Tool>(
        environment(), QStringLiteral("paplay"),
        QStringList{"--device=micfeed", "--latency-msec=20", QString::fromStdString(wav.string())});
    // A fresh stream into a null sink takes about a second to reach the
    // remapped monitor.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < end &&
           !pactl({"list", "short", "sinks"}).contains(QRegularExpression("micfeed\\t.*RUNNING"))) {
        QThread::msleep(20);
    }
    QThread::msleep(1200);
    return feed;
}

std::unique_ptr<PrivatePulseAudio::Tool> PrivatePulseAudio::listen(const QString& source)
{
    return std::make_unique<Tool>(environment(), QStringLiteral("parec"),
                                  QStringList{"--device=" + source, "--rate=8000", "--channels=1",
                                              "--format=s16le", "--latency-msec=20"});
}

std::vector<std::int16_t> PrivatePulseAudio::samplesOf(const QByteArray& bytes)
{
    std::vector<std::int16_t> samples(static_cast<std::size_t>(bytes.size()) / 2);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<std::int16_t>(
            static_cast<unsigned char>(bytes[static_cast<qsizetype>(2 * i)]) |
            (static_cast<unsigned char>(bytes[static_cast<qsizetype>(2 * i + 1)]) << 8));
    }
    return samples;
}

}
