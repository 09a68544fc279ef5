// A second start of the real dialer hands its request to the running copy,
// which is signed in with the real engine through the service stand-in and
// Kamailio; a baresip phone registered at Kamailio is the other side.
#include "orvanta/Version.h"
#include "peers/SipPeers.h"
#include "support/PrivatePulseAudio.h"
#include "support/RecordFixtures.h"
#include "support/ServiceProcess.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace orvanta::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kPhone = "5551234";

class HandOverCall : public testing::Test {
public:
    static void SetUpTestSuite()
    {
        try {
            registrar = new Kamailio({{"demo", "demosip5521"}, {kPhone, "phonepw5551234"}});
            Baresip::Options options;
            options.user = kPhone;
            options.password = "phonepw5551234";
            options.registrar = registrar->hostPort();
            options.codec = Baresip::Options::Codec::Opus;
            phone = new Baresip(options);
            service = new ServiceProcess();
            folder = new TempDir();
            if (!service->start(sourceDir() / "tools/service/demo-scenario.json",
                                {"--registrar", registrar->hostPort(), "--write-deployment",
                                 (*folder / "deployment.ini").string()})) {
                throw std::runtime_error(service->error());
            }
        } catch (const std::exception& error) {
            TearDownTestSuite();
            FAIL() << error.what();
        }
    }
    static void TearDownTestSuite()
    {
        delete service;
        delete phone;
        delete registrar;
        delete folder;
        service = nullptr;
        phone = nullptr;
        registrar = nullptr;
        folder = nullptr;
    }

protected:
    void SetUp() override
    {
        if (!service) {
            GTEST_FAIL() << "peers did not start";
        }
        phone->clearEvents();
        // The saved demo account signs in without the dialog.
        std::filesystem::create_directories(temp_ / "data");
        QFile record(QString::fromStdString((temp_ / "data" / "account_Orvanta.bin").string()));
        ASSERT_TRUE(record.open(QIODevice::WriteOnly));
        record.write(signInBytes(1, QStringLiteral("demo"), QStringLiteral("demo1234")));
    }
    void TearDown() override
    {
        if (dialer_.state() != QProcess::NotRunning) {
            dialer_.terminate();
            if (!dialer_.waitForFinished(5000)) {
                dialer_.kill();
                dialer_.waitForFinished(5000);
            }
        }
    }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("ORVANTA_DATA_DIR", QString::fromStdString((temp_ / "data").string()));
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(temp_.path().string()));
        env.insert("ORVANTA_DEPLOYMENT",
                   QString::fromStdString((*folder / "deployment.ini").string()));
        env.insert("ORVANTA_ENGINE_NULL_AUDIO", "1");
        // A sound card and a microphone, so no notice waits for a click.
        env.insert("PULSE_SERVER", QString::fromStdString(pulse_.address()));
        env.insert("ORVANTA_ENGINE_BIND_ADDRESS", "127.0.0.1");
        return env;
    }
    QString program() const { return QString::fromStdString((binDir() / "orvanta").string()); }

    void startDialer()
    {
        dialer_.setProcessEnvironment(environment());
        dialer_.setProcessChannelMode(QProcess::MergedChannels);
        dialer_.start(program(), {});
        ASSERT_TRUE(dialer_.waitForStarted(5000));
        // It holds the guard once its channel is open; from then on a start
        // is a second start. Registration comes later.
        const auto socket = temp_ / "orvanta" / (std::string(ORVANTA_PRODUCT_VERSION) + ".socket");
        for (int i = 0; i < 100 && !std::filesystem::exists(socket); ++i) {
            std::this_thread::sleep_for(50ms);
        }
        ASSERT_TRUE(std::filesystem::exists(socket)) << describe();
    }

    // A second start with these arguments; its exit status and what it said.
    std::pair<int, QByteArray> secondStart(const QStringList& arguments)
    {
        QProcess second;
        second.setProcessEnvironment(environment());
        second.setProcessChannelMode(QProcess::MergedChannels);
        second.start(program(), arguments);
        if (!second.waitForFinished(15000)) {
            second.kill();
            second.waitForFinished(5000);
            return {-1, "did not end"};
        }
        return {second.exitCode(), second.readAll()};
    }

    std::string describe()
    {
        return "\ndialer:\n" + dialer_.readAll().toStdString() + "\nregistrar:\n" +
               registrar->output() + "\nphone:\n" + phone->output();
    }

    inline static Kamailio* registrar = nullptr;
    inline static Baresip* phone = nullptr;
    inline static ServiceProcess* service = nullptr;
    inline static TempDir* folder = nullptr;

    TempDir temp_;
    PrivatePulseAudio pulse_;
    QProcess dialer_;
};

TEST_F(HandOverCall, ATelLinkGivenToASecondStartIsDialledByTheRunningCopy)
{
    startDialer();
    // Handed over while the running copy is still signing in: it dials
    // once it is registered.
    const auto [status, said] = secondStart({"tel:555-1234"});
    ASSERT_EQ(status, 0) << said.toStdString() << describe();
    const auto incoming = phone->waitForEvent("CALL_INCOMING", 15s);
    ASSERT_TRUE(incoming) << describe();
    EXPECT_NE(incoming->peerUri.find("demo@"), std::string::npos) << incoming->peerUri;

    EXPECT_EQ(secondStart({"--hangup"}).first, 0);
    EXPECT_TRUE(phone->waitForEvent("CALL_CLOSED", 10s)) << describe();
}

TEST_F(HandOverCall, ASecondStartAnswersTheOfferedCall)
{
    // Registered when Kamailio notes one more registration of demo.
    const auto registrations = [] {
        const std::string log = registrar->output();
        std::size_t count = 0;
        for (auto at = log.find("registered demo"); at != std::string::npos;
             at = log.find("registered demo", at + 1)) {
            ++count;
        }
        return count;
    };
    const std::size_t before = registrations();
    startDialer();
    for (int i = 0; i < 100 && registrations() == before; ++i) {
        std::this_thread::sleep_for(100ms);
    }
    ASSERT_GT(registrations(), before) << describe();
    ASSERT_TRUE(phone->command("dial", registrar->uri("demo")).ok) << describe();
    ASSERT_TRUE(phone->waitForEvent("CALL_RINGING", 10s)) << describe();

    EXPECT_EQ(secondStart({"--answer"}).first, 0);
    EXPECT_TRUE(phone->waitForEvent("CALL_ESTABLISHED", 10s)) << describe();
    EXPECT_EQ(secondStart({"--hangup"}).first, 0);
    EXPECT_TRUE(phone->waitForEvent("CALL_CLOSED", 10s)) << describe();
}

}
}
