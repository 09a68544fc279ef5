#include "records/RecordDump.h"
#include "support/RecordFixtures.h"
#include "records/RecordArchive.h"
#include "records/SignInRecords.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

using namespace orvanta;

QByteArray fullSignInRecord()
{
    SignInRecordWithAccount record;
    record.header = {1, QString(), QStringLiteral("user1"), QStringLiteral("pw")};
    record.account = makeAccountBlock(record.header, defaultAccount(QStringLiteral("user1")));
    return encodeRecord(record);
}

TEST(RecordDump, ListsEveryFieldOfACompleteRecord)
{
    const auto dump = dumpRecordFile(signInRecordKinds(), QStringLiteral("account_Orvanta.bin"), fullSignInRecord());
    ASSERT_TRUE(dump);
    EXPECT_TRUE(dump->complete);
    const QJsonArray fields = dump->json.value(QStringLiteral("fields")).toArray();
    ASSERT_EQ(fields.size(), 13);
    EXPECT_EQ(fields[2].toObject().value(QStringLiteral("field")).toString(), "userName");
    EXPECT_EQ(fields[2].toObject().value(QStringLiteral("value")).toString(), "user1");
    EXPECT_EQ(fields[12].toObject().value(QStringLiteral("field")).toString(), "accountNumber");
    EXPECT_FALSE(dump->json.contains(QStringLiteral("stopped")));
}

TEST(RecordDump, FourFieldRecordIsComplete)
{
    const QByteArray bytes = encodeRecord(SignInRecord{0, QString(), QStringLiteral("u"), {}});
    const auto dump = dumpRecordFile(signInRecordKinds(), QStringLiteral("account_Orvanta.bin"), bytes);
    ASSERT_TRUE(dump);
    EXPECT_TRUE(dump->complete);
    EXPECT_EQ(dump->json.value(QStringLiteral("fields")).toArray().size(), 4);
}

TEST(RecordDump, SaysWhereAShortRecordStopped)
{
    const QByteArray bytes = fullSignInRecord().left(9);
    const auto dump = dumpRecordFile(signInRecordKinds(), QStringLiteral("account_Orvanta.bin"), bytes);
    ASSERT_TRUE(dump);
    EXPECT_FALSE(dump->complete);
    EXPECT_EQ(dump->json.value(QStringLiteral("fields")).toArray().size(), 2);
    const QJsonObject stopped = dump->json.value(QStringLiteral("stopped")).toObject();
    EXPECT_EQ(stopped.value(QStringLiteral("field")).toString(), "userName");
    EXPECT_EQ(stopped.value(QStringLiteral("offset")).toInt(), 8);
    EXPECT_FALSE(stopped.value(QStringLiteral("reason")).toString().isEmpty());
}

TEST(RecordDump, TrailingBytesAreNotComplete)
{
    QByteArray bytes = encodeRecord(FailoverRecord{});
    bytes.append('x');
    const auto dump = dumpRecordFile(signInRecordKinds(), QStringLiteral("IP_Orvanta.bin"), bytes);
    ASSERT_TRUE(dump);
    EXPECT_FALSE(dump->complete);
    EXPECT_EQ(dump->json.value(QStringLiteral("fields")).toArray().size(), 10);
}

TEST(RecordDump, UnknownFileNameIsRefused)
{
    EXPECT_FALSE(dumpRecordFile(signInRecordKinds(), QStringLiteral("mystery.bin"), QByteArray()));
}

struct ToolCase {
    const char* name;
    QStringList arguments;
    int exitCode;
};

TEST(RecordsTool, ExitStatusTellsCompleteShortAndUsage)
{
    test::TempDir dir;
    const QString complete = QString::fromStdString((dir / "account_Orvanta.bin").string());
    const QString shortFile = QString::fromStdString((dir / "IP_Orvanta.bin").string());
    {
        QFile file(complete);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(fullSignInRecord());
    }
    {
        QFile file(shortFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("\xFF\xFE\xFF\x05", 4));
    }
    const ToolCase cases[] = {
        {"complete", {"show", complete}, 0},
        {"short", {"show", shortFile}, 1},
        {"no arguments", {}, 2},
        {"unknown verb", {"list", complete}, 2},
        {"missing file", {"show", "/nonexistent/account_Orvanta.bin"}, 2},
    };
    const QString tool = QString::fromStdString((test::binDir() / "orvanta-records").string());
    for (const ToolCase& c : cases) {
        SCOPED_TRACE(c.name);
        QProcess process;
        process.start(tool, c.arguments);
        ASSERT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitCode(), c.exitCode);
        if (c.exitCode != 2) {
            const QJsonDocument json = QJsonDocument::fromJson(process.readAllStandardOutput());
            EXPECT_TRUE(json.isObject());
        }
    }
}

}
