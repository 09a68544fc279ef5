// Runs the real dialer executable: one copy per user, data folder created,
// a logout or SIGTERM saves and ends it.
#include "records/RecordFile.h"
#include "records/SignInRecords.h"
#include "support/TestEnvironment.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

namespace {

class DialerProcessTest : public testing::Test {
protected:
    std::unique_ptr<QProcess> startDialer(const QStringList& arguments = {})
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("ORVANTA_DATA_DIR", QString::fromStdString((temp_ / "data").string()));
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(temp_.path().string()));
        env.insert("ORVANTA_DEPLOYMENT", QString::fromStdString(deploymentFile().string()));
        process->setProcessEnvironment(env);
        process->start(QString::fromStdString((orvanta::test::binDir() / "orvanta").string()),
                       arguments);
        EXPECT_TRUE(process->waitForStarted(5000));
        return process;
    }

    std::filesystem::path deploymentFile()
    {
        const auto path = temp_ / "deployment.ini";
        // Closed ports: nothing here is ever contacted by these tests.
        std::ofstream(path) << "[service]\nprovisioning_url=https://127.0.0.1:9/\n"
                               "portal_url=https://127.0.0.1:9\nwebapi_url=http://127.0.0.1:9\n";
        return path;
    }

    // A copy that holds the guard keeps running (it waits on a window).
    static bool keepsRunning(QProcess& process) { return !process.waitForFinished(1500); }

    orvanta::test::TempDir temp_;
};

TEST_F(DialerProcessTest, SecondCopyEndsSilentlyAndAThirdStartsAfterTheFirstIsKilled)
{
    auto first = startDialer();
    ASSERT_TRUE(keepsRunning(*first));
    EXPECT_TRUE(std::filesystem::is_directory(temp_ / "data"));

    auto second = startDialer();
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_TRUE(second->readAllStandardOutput().isEmpty());

    first->kill();
    first->waitForFinished(5000);
    auto third = startDialer();
    EXPECT_TRUE(keepsRunning(*third));
    third->kill();
    third->waitForFinished(5000);
}

TEST_F(DialerProcessTest, ASecondStartWithARequestIsAnsweredWhileTheFirstSignsIn)
{
    // No saved account: the first copy waits in its sign-in dialog.
    auto first = startDialer();
    ASSERT_TRUE(keepsRunning(*first));
    for (const QStringList& arguments :
         {QStringList{"tel:+1-555-1234"}, QStringList{"--show"}, QStringList{"sip:bob@x"}}) {
        auto second = startDialer(arguments);
        ASSERT_TRUE(second->waitForFinished(10000));
        EXPECT_EQ(second->exitCode(), 0) << second->readAllStandardError().toStdString();
    }
    first->kill();
    first->waitForFinished(5000);
}

TEST_F(DialerProcessTest, RequestsThatCannotBeCarriedOutAreRefusedOnStandardError)
{
    struct Case {
        QStringList arguments;
        int status;
        const char* said;
    };
    const Case cases[] = {
        {{"hello"}, 2, "cannot dial \"hello\""},
        {{"tel:12345678901234567890123456"}, 2, "25 characters"},
        {{"tel:1", "tel:2"}, 2, "one address"},
        {{"--hangup", "tel:1"}, 2, "one address"},
        {{"--answer"}, 1, "no running copy"},
        {{"--hangup"}, 1, "no running copy"},
    };
    for (const Case& c : cases) {
        auto dialer = startDialer(c.arguments);
        ASSERT_TRUE(dialer->waitForFinished(10000));
        EXPECT_EQ(dialer->exitCode(), c.status) << c.said;
        EXPECT_TRUE(dialer->readAllStandardError().contains(c.said)) << c.said;
    }
}

TEST_F(DialerProcessTest, HelpListsOptionsAndEnvironment)
{
    QProcess process;
    process.start(QString::fromStdString((orvanta::test::binDir() / "orvanta").string()),
                  {"--help"});
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitCode(), 0);
    const QByteArray help = process.readAllStandardOutput();
    EXPECT_TRUE(help.contains("--deployment")) << help.toStdString();
    EXPECT_TRUE(help.contains("ORVANTA_DATA_DIR"));
    EXPECT_TRUE(help.contains("--minimized"));
}

TEST_F(DialerProcessTest, MissingDeploymentSettingsAreNamed)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(env);
    process.start(QString::fromStdString((orvanta::test::binDir() / "orvanta").string()),
                  {"--deployment", "/nonexistent/deployment.ini"});
    // The dialer says so in a box and on standard error; the box waits.
    ASSERT_TRUE(process.waitForStarted(5000));
    process.waitForReadyRead(5000);
    EXPECT_TRUE(process.readAllStandardError().contains("/nonexistent/deployment.ini"));
    process.kill();
    process.waitForFinished(5000);
}

TEST_F(DialerProcessTest, UnusableDataFolderIsReportedAndTheDialerEnds)
{
    {
        std::ofstream(temp_ / "data") << "a file where the folder should be";
    }
    auto dialer = startDialer();
    ASSERT_TRUE(dialer->waitForFinished(10000));
    EXPECT_EQ(dialer->exitCode(), 1);
    EXPECT_EQ(dialer->readAllStandardOutput(), "CreateDirectory failed (20)\n");
}

TEST_F(DialerProcessTest, TerminationWhileAMessageBoxIsOpenSavesAndEnds)
{
    // A saved account on a deployment that cannot be reached: the main window
    // opens and says so in a message box, which waits for the user.
    setenv("ORVANTA_DATA_DIR", (temp_ / "data").c_str(), 1);
    std::filesystem::create_directories(temp_ / "data");
    ASSERT_TRUE(orvanta::saveRecordFile(
        orvanta::kSignInRecordKind,
        orvanta::SignInRecord{1, QString(), QStringLiteral("demo"), QStringLiteral("demo1234")}));
    auto dialer = startDialer();
    ASSERT_TRUE(keepsRunning(*dialer));
    ::kill(static_cast<pid_t>(dialer->processId()), SIGTERM);
    ASSERT_TRUE(dialer->waitForFinished(5000)) << "still running after SIGTERM";
    EXPECT_EQ(dialer->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(dialer->exitCode(), 0);
    orvanta::SignInRecord saved;
    EXPECT_TRUE(orvanta::loadRecordFile(orvanta::kSignInRecordKind, saved).complete);
    EXPECT_EQ(saved.userName, QStringLiteral("demo"));
    EXPECT_TRUE(std::filesystem::exists(temp_ / "data" / "IP_Orvanta.bin"));
}

}
