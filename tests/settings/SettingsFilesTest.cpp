#include "settings/SettingsFixture.h"

#include "records/RecordFile.h"
#include "settings/CodecFile.h"
#include "settings/SettingsRecords.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <unistd.h>

namespace orvanta::test {
namespace {

using SettingsFiles = SettingsFixture;

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

TEST_F(SettingsFiles, EachFileHasItsExactLayout)
{
    ASSERT_TRUE(
        saveRecordFile(kApplicationRecordKind,
                       ApplicationRecord{1, 0, 1, QStringLiteral("12"), QStringLiteral("/r")}));
    EXPECT_EQ(readRaw(kApplicationRecordKind), hex("01000000 00000000 01000000"
                                                   "fffeff02 31003200"
                                                   "fffeff02 2f007200"));

    // Enabled G729 and G711 uLaw, disabled G723 and G711 aLaw.
    ASSERT_TRUE(saveCodecFile({{QStringLiteral("G729/8000/1"), QStringLiteral("PCMU/8000/1")},
                               {QStringLiteral("G723/8000/1"), QStringLiteral("PCMA/8000/1")}}));
    const QByteArray codec = readRaw(kCodecRecordKind);
    EXPECT_EQ(codec.left(8), hex("02000000 fffeff0b"));
    EXPECT_EQ(codec, int32le(2) + wide("G729/8000/1") + wide("PCMU/8000/1") + int32le(2) +
                         wide("G723/8000/1") + wide("PCMA/8000/1"));

    ASSERT_TRUE(saveDataFile(QLatin1String(kNetworkFileName),
                             NetworkRecord{5070, 3478, 10000, QStringLiteral("st")}));
    QFile network(temp_ / "Orvanta" / "Network.bin");
    ASSERT_TRUE(network.open(QIODevice::ReadOnly)) << "Network.bin belongs in the data folder";
    EXPECT_EQ(network.readAll(), hex("ce130000 960d0000 10270000 fffeff02 73007400"));
    EXPECT_FALSE(QFile::exists(QStringLiteral("Network.bin"))) << "nothing in the current folder";
}

struct CodecReadCase {
    const char* name;
    QByteArray bytes;
    int enabledCount;
    QStringList disabled;
    bool complete;
};

TEST(CodecFileReader, KeepsThirtyNamesPerListAndWhatCameBeforeAFailure)
{
    std::vector<const char*> many;
    std::vector<std::string> storage;
    for (int i = 0; i < 40; ++i) {
        storage.push_back("C" + std::to_string(i) + "/8000/1");
    }
    for (const std::string& name : storage) {
        many.push_back(name.c_str());
    }
    const QByteArray twoLists = codecFileBytes({"PCMA/8000/1"}, {"GSM/8000/1", "G722/8000/1"});
    const CodecReadCase cases[] = {
        {"forty enabled: thirty kept, the disabled list still read",
         codecFileBytes(many, {"GSM/8000/1"}),
         30,
         {QStringLiteral("GSM/8000/1")},
         true},
        {"cut inside the disabled list",
         twoLists.left(twoLists.size() - 3),
         1,
         {QStringLiteral("GSM/8000/1")},
         false},
        {"a count with nothing behind it", int32le(0x7fffffff), 0, {}, false},
        {"negative counts read as none", int32le(-5) + int32le(-1), 0, {}, true},
        {"no disabled count", codecFileBytes({"PCMA/8000/1"}, {}).left(4 + 26), 1, {}, false},
    };
    for (const CodecReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CodecFileRead read = decodeCodecFile(c.bytes);
        EXPECT_EQ(read.lists.enabled.size(), c.enabledCount);
        EXPECT_EQ(read.lists.disabled, c.disabled);
        EXPECT_EQ(read.complete, c.complete);
    }
    EXPECT_EQ(decodeCodecFile(codecFileBytes(many, {})).lists.enabled.back(),
              QStringLiteral("C29/8000/1"));
    EXPECT_FALSE(decodeCodecFile(std::nullopt).complete) << "no file";
}

TEST(CodecNames, OnlyTheTwoG711CodecsAreShownByAnotherName)
{
    const std::pair<const char*, const char*> names[] = {{"PCMU/8000/1", "G711 uLaw"},
                                                         {"PCMA/8000/1", "G711 aLaw"},
                                                         {"G729/8000/1", "G729/8000/1"},
                                                         {"pcmu/8000/1", "pcmu/8000/1"},
                                                         {"opus/48000/2", "opus/48000/2"}};
    for (const auto& [engine, shown] : names) {
        EXPECT_EQ(codecDisplayName(QLatin1String(engine)), QLatin1String(shown));
        EXPECT_EQ(codecEngineName(QLatin1String(shown)), QLatin1String(engine));
    }
}

// orvanta-records learns the three files; it decodes them by file name.
TEST_F(SettingsFiles, RecordsToolShowsTheSettingsFiles)
{
    const struct {
        const char* fileName;
        QByteArray bytes;
        QStringList fields;
        int exitCode;
    } cases[] = {
        {"application_Orvanta.bin",
         encodeRecord(ApplicationRecord{1, 1, 0, QStringLiteral("5"), QStringLiteral("/x")}),
         {"alwaysOnTop", "confirmOnClose", "launchAtStart", "numberOfCalls", "recordingFolder"},
         0},
        {"codec_Orvanta.bin",
         codecFileBytes({"PCMA/8000/1"}, {"G729/8000/1"}),
         {"enabledCount", "enabled", "disabledCount", "disabled"},
         0},
        {"Network.bin",
         encodeRecord(NetworkRecord{1, 2, 3, QStringLiteral("s")}).left(10),
         {"localSipPort", "stunPort"},
         1},
    };
    const QString tool = QString::fromStdString((binDir() / "orvanta-records").string());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fileName);
        const std::filesystem::path path = temp_ / "dump" / c.fileName;
        writeFile(path, c.bytes);
        QProcess process;
        process.start(tool, {QStringLiteral("show"), QString::fromStdString(path.string())});
        ASSERT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitCode(), c.exitCode) << process.readAllStandardError().toStdString();
        const QJsonArray fields =
            QJsonDocument::fromJson(process.readAllStandardOutput()).object()["fields"].toArray();
        QStringList names;
        for (const auto& field : fields) {
            names.append(field.toObject()["field"].toString());
        }
        EXPECT_EQ(names, c.fields);
    }
}

}
}
