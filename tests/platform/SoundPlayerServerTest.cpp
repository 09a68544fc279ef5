#include "platform/SoundPlayer.h"
#include "support/TestEnvironment.h"

#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>

namespace orvanta::test {
namespace {

using Clock = std::chrono::steady_clock;

bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    const auto end = Clock::now() + limit;
    while (!done()) {
        if (Clock::now() > end) {
            return false;
        }
        QThread::msleep(10);
    }
    return true;
}

// A private PulseAudio with a null sink on a socket of its own.
class SoundPlayerWithServer : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(dir / "home");
        std::filesystem::create_directories(dir / "run");
        socket_ = (dir / "run" / "pulse.sock").string();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), QString::fromStdString((dir / "home").string()));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                   QString::fromStdString((dir / "run").string()));
        server_.setProcessEnvironment(env);
        server_.setProcessChannelMode(QProcess::MergedChannels);
        server_.start(QStringLiteral("pulseaudio"),
                      {"--daemonize=no", "--exit-idle-time=-1", "-n", "--use-pid-file=no",
                       "--system=no", "-L",
                       QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") +
                           QString::fromStdString(socket_),
                       "-L", "module-null-sink sink_name=spk"});
        ASSERT_TRUE(server_.waitForStarted(3000));
        ASSERT_TRUE(
            waitFor([this] { return std::filesystem::exists(socket_); }, std::chrono::seconds(5)))
            << server_.readAll().toStdString();
        ::setenv("PULSE_SERVER", ("unix:" + socket_).c_str(), 1);
    }

    void TearDown() override
    {
        ::unsetenv("PULSE_SERVER");
        server_.kill();
        server_.waitForFinished(3000);
    }

    int sinkInputs()
    {
        QProcess pactl;
        pactl.start(QStringLiteral("pactl"), {"list", "short", "sink-inputs"});
        pactl.waitForFinished(3000);
        return static_cast<int>(pactl.readAllStandardOutput().count('\n'));
    }

    TempDir dir;
    std::string socket_;
    QProcess server_;
};

TEST_F(SoundPlayerWithServer, RingLoopsUntilStoppedAndToneReplacesIt)
{
    platform::SoundPlayer player;
    player.play(binDir() / "ring.wav", true);
    ASSERT_TRUE(waitFor([&] { return player.isPlaying(); }, std::chrono::seconds(3)));
    EXPECT_EQ(sinkInputs(), 1);
    // Longer than one ring cycle: the loop goes on.
    QThread::msleep(3500);
    EXPECT_TRUE(player.isPlaying());

    player.play(binDir() / "Dtmf-5.wav");
    EXPECT_TRUE(waitFor([&] { return !player.isPlaying(); }, std::chrono::seconds(3)));

    player.play(binDir() / "ring.wav", true);
    ASSERT_TRUE(waitFor([&] { return player.isPlaying(); }, std::chrono::seconds(3)));
    const auto stopAt = Clock::now();
    player.stop();
    EXPECT_TRUE(waitFor([&] { return !player.isPlaying(); }, std::chrono::seconds(1)));
    EXPECT_LT(Clock::now() - stopAt, std::chrono::milliseconds(500));
    EXPECT_TRUE(waitFor([&] { return sinkInputs() == 0; }, std::chrono::seconds(2)));
}

}
}
