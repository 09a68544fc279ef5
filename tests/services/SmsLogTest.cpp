#include "services/SmsLog.h"
#include "records/RecordArchive.h"
#include "support/DataFolderFixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

using namespace orvanta;

QByteArray smsLogBytes(std::int32_t count, int entries, int cutLastAfterFields = 3)
{
    RecordWriter writer;
    writer.writeInt(count);
    for (int i = 0; i < entries; ++i) {
        const int fields = i == entries - 1 ? cutLastAfterFields : 3;
        for (int field = 0; field < fields; ++field) {
            writer.writeString(QStringLiteral("e%1.%2").arg(i).arg(field));
        }
    }
    return writer.bytes();
}

TEST(SmsLogFile, IsReadUpToTheCountTheFileOrOneHundredEntries)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        std::size_t entries;
    };
    const Case cases[] = {
        {"count 2", smsLogBytes(2, 2), 2},
        {"a count past the file", smsLogBytes(5, 2), 2},
        {"a count short of the file", smsLogBytes(1, 3), 1},
        {"more than a hundred", smsLogBytes(150, 150), 100},
        {"a huge count", smsLogBytes(0x7fffffff, 3), 3},
        {"a negative count", smsLogBytes(-1, 2), 0},
        {"an entry cut short is dropped", smsLogBytes(3, 3, 2), 2},
        {"no file content", QByteArray(), 0},
        {"a broken count", QByteArray("\x01\x00", 2), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<SmsLogEntry> log = readSmsLog(c.bytes);
        ASSERT_EQ(log.size(), c.entries);
        if (!log.empty()) {
            EXPECT_EQ(log.front(), (SmsLogEntry{"e0.0", "e0.1", "e0.2"}));
        }
    }
}

class SmsLogFolder : public DataFolderFixture {};

TEST_F(SmsLogFolder, AMissingLogIsCreatedEmptyAndAnExistingOneRead)
{
    EXPECT_TRUE(loadSmsLog().empty());
    EXPECT_EQ(readRaw(kSmsLogRecordKind), QByteArray(4, '\0'));

    writeRaw(kSmsLogRecordKind, smsLogBytes(2, 2));
    const std::vector<SmsLogEntry> log = loadSmsLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1], (SmsLogEntry{"e1.0", "e1.1", "e1.2"}));
}

TEST_F(SmsLogFolder, TheRecordsToolShowsTheEntriesItWouldRead)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        int exitCode;
        int fields;
    };
    const Case cases[] = {
        {"complete", smsLogBytes(2, 2), 0, 7},
        {"entries past the hundredth are left", smsLogBytes(101, 101), 1, 301},
        {"cut short", smsLogBytes(2, 2, 1), 1, 5},
    };
    const QString tool = QString::fromStdString((test::binDir() / "orvanta-records").string());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeRaw(kSmsLogRecordKind, c.bytes);
        QProcess process;
        process.start(tool, {"show", QString::fromStdString(recordPath(kSmsLogRecordKind))});
        ASSERT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitCode(), c.exitCode);
        const QJsonObject dump = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
        EXPECT_EQ(dump.value("kind").toString(), "SMSLog");
        EXPECT_EQ(dump.value("fields").toArray().size(), c.fields);
    }
}

}
