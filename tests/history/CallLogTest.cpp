#include "history/CallLog.h"
#include "contacts/ContactBook.h"
#include "records/RecordArchive.h"
#include "support/DataFolderFixture.h"
#include "support/KilledChild.h"
#include "support/RecordBytes.h"
#include "support/SideViewFakes.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSignalSpy>

namespace {

using namespace orvanta;
using Lists = std::array<std::deque<CallLogEntry>, 3>;

CallLogEntry entry(const QString& number, const QString& duration = {}, const QString& name = {})
{
    return {name, number, QStringLiteral("09:05:03 Sun Dec-06-2026"), duration};
}

std::vector<QString> numbers(const CallLog::List& list)
{
    std::vector<QString> out;
    for (const CallLog::Record& record : list) {
        out.push_back(record.entry.number);
    }
    return out;
}

struct BytesCase {
    const char* name;
    Lists lists;
    QByteArray file;
};

TEST(CallLogFile, BytesBothWays)
{
    const BytesCase cases[] = {
        {"twelve zero bytes are three empty lists", {}, QByteArray(12, '\0')},
        {"a dialed call numbered abc with empty texts",
         {std::deque<CallLogEntry>{{{}, "abc", {}, {}}}, {}, {}},
         intsOf({1, 0, 0}) + kEmptyStringBytes + kAbcBytes + kEmptyStringBytes + kEmptyStringBytes},
        {"missed records carry no duration",
         {std::deque<CallLogEntry>{}, std::deque<CallLogEntry>{entry("1", "00:00:07", "Ann")},
          std::deque<CallLogEntry>{entry("abc"), entry("2")}},
         intsOf({0, 1, 2}) + stringsOf({"Ann", "1", entry("").time, "00:00:07"}) +
             kEmptyStringBytes + kAbcBytes + stringsOf({entry("").time}) +
             stringsOf({{}, "2", entry("").time})},
    };
    for (const BytesCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(encodeCallLogFile(c.lists), c.file);
        EXPECT_EQ(decodeCallLogFile(c.file), c.lists);
    }
}

struct ReadCase {
    const char* name;
    QByteArray file;
    std::array<std::size_t, 3> sizes;
};

TEST(CallLogFile, ReadingKeepsWhatIsCompleteWithinAHundredPerList)
{
    QByteArray dialed150;
    for (int i = 0; i < 150; ++i) {
        dialed150 += stringsOf({{}, QString::number(i), {}, {}});
    }
    const QByteArray one = stringsOf({{}, "1", {}, {}});
    const QByteArray missedOne = stringsOf({{}, "1", {}});
    const ReadCase cases[] = {
        {"150 dialed keep the newest 100", intsOf({150, 1, 0}) + dialed150 + one, {100, 1, 0}},
        {"counts larger than the file", intsOf({5000, 0, 0}) + one + one, {2, 0, 0}},
        {"cut inside a received record", intsOf({1, 2, 1}) + one + one + one.left(5), {1, 1, 0}},
        {"negative counts", intsOf({-1, -5, 1}) + missedOne, {0, 0, 1}},
        {"short counts", intsOf({1, 1}), {0, 0, 0}},
        {"a record without a number ends its list only",
         intsOf({2, 1, 0}) + stringsOf({{}, {}, {}, {}}) + one + one,
         {0, 1, 0}},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Lists lists = decodeCallLogFile(c.file);
        EXPECT_EQ(lists[0].size(), c.sizes[0]);
        EXPECT_EQ(lists[1].size(), c.sizes[1]);
        EXPECT_EQ(lists[2].size(), c.sizes[2]);
    }
    EXPECT_EQ(decodeCallLogFile(intsOf({150, 0, 0}) + dialed150)[0].back().number, "149");
    EXPECT_EQ(decodeCallLogFile(intsOf({150, 0, 0}) + dialed150)[0].front().number, "50");
}

struct LimitCase {
    QString setting;
    int limit;
};

TEST(CallLog, TheNumberOfCallsSettingGivesTheLimit)
{
    const LimitCase cases[] = {
        {"", 10},
        {"0", 10},
        {"abc", 10},
        {"-5", 10},
        {"5", 5},
        {"12a", 12},
        {" 7", 7},
        {"100", 100},
        {"101", 100},
        {"999", 100},
        {"99999999999", 100},
    };
    for (const LimitCase& c : cases) {
        SCOPED_TRACE(c.setting.toStdString());
        EXPECT_EQ(callListLimit(c.setting), c.limit);
    }
}

TEST(CallLog, TheTimeIsWrittenWithEnglishNamesWhateverTheLocale)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QDateTime when(QDate(2026, 12, 6), QTime(9, 5, 3));
    EXPECT_EQ(callLogTime(when), "09:05:03 Sun Dec-06-2026");
    EXPECT_EQ(callLogTime(QDateTime(QDate(2027, 5, 31), QTime(23, 59, 59))),
              "23:59:59 Mon May-31-2027");
    QLocale::setDefault(QLocale::c());
}

// A call log whose setting, clock and contacts the test controls.
class CallLogStore : public DataFolderFixture {
protected:
    CallLog::Sources sources()
    {
        CallLog::Sources s;
        s.nameOfNumber = [this](const QString& number) { return contacts.nameForNumber(number); };
        s.numberOfCalls = [this] { return numberOfCalls; };
        s.now = [] { return QDateTime(QDate(2026, 12, 6), QTime(9, 5, 3)); };
        return s;
    }

    void logDialed(int count, int from = 0)
    {
        for (int i = from; i < from + count; ++i) {
            log.AddCallLogEntry(QString::number(i), "00:00:01", 'D');
        }
    }

    Lists onDisk()
    {
        EXPECT_TRUE(log.waitUntilWritten());
        return decodeCallLogFile(readRaw(kCallLogRecordKind));
    }

    ContactBook contacts;
    QString numberOfCalls = "10";
    CallLog log{sources()};
};

TEST_F(CallLogStore, AnEleventhCallDropsTheOldestAndTheFileKeepsTheNewestLast)
{
    logDialed(10);
    log.AddCallLogEntry("10", {}, 'D');
    EXPECT_EQ(numbers(log.list(CallKind::Dialed)),
              (std::vector<QString>{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    const Lists file = onDisk();
    ASSERT_EQ(file[0].size(), 10u);
    EXPECT_EQ(file[0].back().number, "10");
    EXPECT_TRUE(file[0].back().duration.isEmpty());
    EXPECT_EQ(file[0].back().time, "09:05:03 Sun Dec-06-2026");
}

struct AdjustCase {
    const char* name;
    QString before;
    int logged;
    QString after;
    std::size_t kept;
    QString oldestKept;
};

TEST_F(CallLogStore, AdjustTrimsEachListToTheNewLimitAndAddsNothing)
{
    const AdjustCase cases[] = {
        {"lowered from 20 to 5", "20", 20, "5", 5, "15"},
        {"raised from 5 to 20 removes nothing", "5", 5, "20", 5, "0"},
        {"above a hundred counts as a hundred", "999", 120, "500", 100, "20"},
        {"empty setting counts as 10", "50", 30, "", 10, "20"},
    };
    for (const AdjustCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (CallKind kind : kCallKinds) {
            log.removeAll(kind, [](const CallLog::Record&) { return true; });
        }
        numberOfCalls = c.before;
        logDialed(c.logged);
        for (int i = 0; i < c.logged; ++i) {
            log.AddCallLogEntry(QString::number(i), {}, 'M');
        }
        numberOfCalls = c.after;
        for (char kind : {'D', 'R', 'M'}) {
            log.AddCallLogEntry("adjust", {}, kind);
        }
        EXPECT_EQ(log.list(CallKind::Dialed).size(), c.kept);
        EXPECT_EQ(log.list(CallKind::Missed).size(), c.kept);
        EXPECT_TRUE(log.list(CallKind::Received).empty()) << "adjust logs nothing";
        EXPECT_EQ(log.list(CallKind::Dialed).front().entry.number, c.oldestKept);
        const Lists file = onDisk();
        EXPECT_EQ(file[0].size(), c.kept);
        EXPECT_EQ(file[2].size(), c.kept);
    }
}

struct AddCase {
    const char* name;
    QString number;
    QString duration;
    char kind;
    std::optional<CallKind> list;
    CallLogEntry stored;
};

TEST_F(CallLogStore, EachCallIsLoggedWithTheNameOfItsContact)
{
    contacts.add(contactNamed("Ann", "111", "222"));
    contacts.add(contactNamed("Ben", "333", "111"));
    contacts.add(contactNamed("Cy", "", "444", "555"));
    const AddCase cases[] = {
        {"dialed mobile", "111", "00:01:00", 'D', CallKind::Dialed,
         entry("111", "00:01:00", "Ann")},
        {"received phone", "222", "00:00:05", 'R', CallKind::Received,
         entry("222", "00:00:05", "Ann")},
        {"missed calls keep no duration", "444", "00:00:09", 'M', CallKind::Missed,
         entry("444", {}, "Cy")},
        {"pager numbers give no name", "555", {}, 'M', CallKind::Missed, entry("555")},
        {"unknown number", "999", {}, 'D', CallKind::Dialed, entry("999")},
        {"empty number", "", {}, 'D', std::nullopt, {}},
        {"unknown kind", "111", {}, 'X', std::nullopt, {}},
    };
    for (const AddCase& c : cases) {
        SCOPED_TRACE(c.name);
        QSignalSpy added(&log, &CallLog::recordAdded);
        std::array<std::size_t, 3> before{};
        for (CallKind kind : kCallKinds) {
            before[std::size_t(kind)] = log.list(kind).size();
        }
        log.AddCallLogEntry(c.number, c.duration, c.kind);
        for (CallKind kind : kCallKinds) {
            EXPECT_EQ(log.list(kind).size(), before[std::size_t(kind)] + (c.list == kind ? 1 : 0));
        }
        EXPECT_EQ(added.size(), c.list ? 1 : 0);
        if (c.list) {
            const CallLog::Record& record = log.list(*c.list).back();
            EXPECT_EQ(record.entry, c.stored);
            EXPECT_TRUE(record.addedThisRun);
            EXPECT_EQ(onDisk()[std::size_t(*c.list)].back(), c.stored);
        }
    }
}

TEST_F(CallLogStore, RemovingTakesTheChosenRecordEvenWhenItsNumberRepeats)
{
    numberOfCalls = "20";
    log.AddCallLogEntry("5", "00:00:01", 'R');
    log.AddCallLogEntry("5", "00:00:02", 'R');
    log.AddCallLogEntry("6", "00:00:03", 'R');
    const std::uint64_t newer = log.list(CallKind::Received)[1].id;
    ASSERT_TRUE(log.remove(newer));
    ASSERT_EQ(log.list(CallKind::Received).size(), 2u);
    EXPECT_EQ(log.list(CallKind::Received)[0].entry.duration, "00:00:01");
    EXPECT_FALSE(log.remove(newer));

    log.AddCallLogEntry("7", {}, 'M');
    log.removeAll(CallKind::Received, [](const CallLog::Record&) { return true; });
    EXPECT_TRUE(log.list(CallKind::Received).empty());
    EXPECT_EQ(log.list(CallKind::Missed).size(), 1u) << "other lists stay";
    const Lists file = onDisk();
    EXPECT_TRUE(file[1].empty());
    EXPECT_EQ(file[2].size(), 1u);
}

TEST_F(CallLogStore, ARestartReadsTheFileAndARecordLoggedBeforeSigkillIsInIt)
{
    ASSERT_TRUE(test::runThenSigkill([this] {
        CallLog running{sources()};
        running.load();
        running.AddCallLogEntry("111", {}, 'M');
        // Waits for what the call handed over; a log that only wrote at quit
        // would have handed over nothing.
        running.waitUntilWritten();
    }));

    log.load();
    ASSERT_EQ(log.list(CallKind::Missed).size(), 1u);
    EXPECT_EQ(log.list(CallKind::Missed).front().entry.number, "111");
    EXPECT_FALSE(log.list(CallKind::Missed).front().addedThisRun);
}

TEST_F(CallLogStore, TheNameOnACallBackComesFromTheFirstRecordWithTheNumber)
{
    log.AddCallLogEntry("111", {}, 'M');
    contacts.add(contactNamed("Ann", "111"));
    log.AddCallLogEntry("111", {}, 'R');
    EXPECT_EQ(log.firstNameForNumber("111"), "Ann") << "received calls come before missed ones";
    contacts.remove(0);
    log.AddCallLogEntry("111", {}, 'D');
    EXPECT_EQ(log.firstNameForNumber("111"), QString()) << "the dialed record comes first";
}

TEST(CallLogDump, TheRecordsToolShowsBothNewKinds)
{
    test::TempDir dir;
    const struct {
        const char* file;
        QByteArray content;
        int fields;
    } cases[] = {
        {"contact_Orvanta.bin", encodeContactFile([] {
             ContactBook book;
             book.add(contactNamed("Ann", "111"));
             return book;
         }()),
         14},
        {"CallLog_Orvanta.bin",
         intsOf({1, 0, 1}) + stringsOf({"Ann", "111", "t", "d", "", "2", "t"}), 10},
    };
    const QString tool = QString::fromStdString((test::binDir() / "orvanta-records").string());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const QString path = QString::fromStdString((dir / c.file).string());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.content);
        file.close();
        QProcess process;
        process.start(tool, {"show", path});
        ASSERT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitCode(), 0);
        const QJsonObject json = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
        EXPECT_EQ(json.value("fields").toArray().size(), c.fields);
    }
}

}
