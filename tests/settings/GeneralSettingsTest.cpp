#include "settings/SettingsFixture.h"

#include "records/RecordFile.h"
#include "settings/GeneralSettings.h"
#include "settings/SettingsRecords.h"

#include <QSignalSpy>

namespace orvanta::test {
namespace {

using Message = NumberOfCallsMessage;

struct NumberCase {
    const char* text;
    std::vector<Message> messages;
};

TEST(NumberOfCalls, EachTextGetsItsMessagesInOrder)
{
    const NumberCase cases[] = {
        {"0", {Message::NotAboveZero}},
        {"999", {}},
        {"1", {}},
        {"1000", {Message::NotBelowThousand}},
        {"12a", {Message::NotNumeric}},  // converts to 12: nothing more
        {"", {Message::Blank}},
        {"abc", {Message::NotNumeric, Message::NotAboveZero}},
        {"99999999999", {Message::NotBelowThousand}},
        {"-5", {Message::NotNumeric, Message::NotAboveZero}},
        {" 7", {Message::NotNumeric, Message::NotAboveZero}},
    };
    for (const NumberCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(checkNumberOfCalls(QString::fromLatin1(c.text)), c.messages);
    }
}

class GeneralPage : public SettingsFixture {
protected:
    void SetUp() override
    {
        SettingsFixture::SetUp();
        live.setNumberOfCalls(QStringLiteral("10"));
        live.setRecordingFolder(QStringLiteral("/old/folder"));
    }

    GeneralPageModel& openPage()
    {
        page = std::make_unique<GeneralPageModel>(live, autostart, callLog);
        page->load();
        return *page;
    }

    DialerSettings live;
    platform::AutostartEntry autostart{QStringLiteral("/opt/orvanta/bin/orvanta")};
    FakeCallLog callLog;
    std::unique_ptr<GeneralPageModel> page;
};

TEST_F(GeneralPage, ValidApplySavesTakesEffectAndTrimsTheThreeLists)
{
    GeneralPageModel& model = openPage();
    QSignalSpy topmost(&live, &DialerSettings::alwaysOnTopChanged);
    model.members().alwaysOnTop = true;
    model.members().launchAtStart = true;
    model.members().numberOfCalls = QStringLiteral("25");
    model.members().recordingFolder = QStringLiteral("/new/folder");
    model.markChanged();

    const GeneralPageModel::ApplyOutcome outcome = model.ApplyGeneralSettings();
    EXPECT_TRUE(outcome.saved);
    EXPECT_TRUE(outcome.messages.empty());
    EXPECT_FALSE(model.applyEnabled());
    EXPECT_EQ(topmost.count(), 1);
    EXPECT_TRUE(live.alwaysOnTop());
    EXPECT_EQ(live.numberOfCalls(), QStringLiteral("25"));
    EXPECT_EQ(live.recordingFolder(), QStringLiteral("/new/folder"));
    EXPECT_EQ(callLog.kinds, "DRM");
    EXPECT_TRUE(std::filesystem::exists(autostartFile()));
    ApplicationRecord stored;
    ASSERT_TRUE(loadRecordFile(kApplicationRecordKind, stored).complete);
    EXPECT_EQ(stored.alwaysOnTop, 1);
    EXPECT_EQ(stored.confirmOnClose, 0);
    EXPECT_EQ(stored.launchAtStart, 1);
    EXPECT_EQ(stored.numberOfCalls, QStringLiteral("25"));
    EXPECT_EQ(stored.recordingFolder, QStringLiteral("/new/folder"));
}

TEST_F(GeneralPage, RefusedNumberStillAppliesTheOptionsButSavesNothing)
{
    platform::AutostartEntry(QStringLiteral("/opt/orvanta/bin/orvanta")).enable();
    ASSERT_TRUE(std::filesystem::exists(autostartFile()));
    GeneralPageModel& model = openPage();
    model.members().alwaysOnTop = true;
    model.members().launchAtStart = false;
    model.members().numberOfCalls = QStringLiteral("abc");
    model.markChanged();

    const GeneralPageModel::ApplyOutcome outcome = model.ApplyGeneralSettings();
    EXPECT_FALSE(outcome.saved);
    EXPECT_EQ(outcome.messages.size(), 2u);
    EXPECT_TRUE(live.alwaysOnTop());
    EXPECT_FALSE(std::filesystem::exists(autostartFile())) << "removed before the check";
    EXPECT_EQ(live.numberOfCalls(), QStringLiteral("10"));
    EXPECT_TRUE(callLog.kinds.empty());
    EXPECT_FALSE(std::filesystem::exists(recordPath(kApplicationRecordKind)));
    EXPECT_TRUE(model.applyEnabled());
}

TEST_F(GeneralPage, NoDataFolderMeansNothingSavedAndNoTrim)
{
    GeneralPageModel& model = openPage();
    breakDataFolder();
    model.members().numberOfCalls = QStringLiteral("5");
    EXPECT_FALSE(model.ApplyGeneralSettings().saved);
    EXPECT_EQ(live.numberOfCalls(), QStringLiteral("10"));
    EXPECT_TRUE(callLog.kinds.empty());
}

TEST_F(GeneralPage, OpensWithTheFilesOptionsAndTheLiveTexts)
{
    ASSERT_TRUE(
        saveRecordFile(kApplicationRecordKind, ApplicationRecord{2, 1, 1, QStringLiteral("77"),
                                                                 QStringLiteral("/file/folder")}));
    const GeneralPageMembers& members = openPage().members();
    EXPECT_FALSE(members.alwaysOnTop) << "only 1 counts as on";
    EXPECT_TRUE(members.confirmOnClose);
    EXPECT_TRUE(members.launchAtStart);
    EXPECT_EQ(members.numberOfCalls, QStringLiteral("10"));
    EXPECT_EQ(members.recordingFolder, QStringLiteral("/old/folder"));
}

struct StartupCase {
    const char* name;
    std::optional<QByteArray> file;
    bool topmost;
    bool confirmOnClose;
    bool autostart;
    QString numberOfCalls;
    QString folder;  // empty: the default folder
};

TEST_F(GeneralPage, StartupAppliesTheFileAndFillsEmptyTexts)
{
    const QByteArray full =
        encodeRecord(ApplicationRecord{1, 1, 1, QStringLiteral("25"), QStringLiteral("/rec")});
    const StartupCase cases[] = {
        {"no file", std::nullopt, false, false, false, QStringLiteral("10"), {}},
        {"every field", full, true, true, true, QStringLiteral("25"), QStringLiteral("/rec")},
        {"cut after the flags", full.left(12), true, true, true, QStringLiteral("10"), {}},
        {"flags other than 1 are off",
         encodeRecord(ApplicationRecord{2, -1, 0, QString(), QString()}),
         false,
         false,
         false,
         QStringLiteral("10"),
         {}},
    };
    const QString defaultFolder = QString::fromStdString(
        (temp_ / "Orvanta" / "recordings").string());  // this home has no music folder
    for (const StartupCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(recordPath(kApplicationRecordKind));
        std::filesystem::remove(autostartFile());
        if (c.file) {
            writeRaw(kApplicationRecordKind, *c.file);
        }
        DialerSettings settings;
        applyApplicationFileAtStartup(settings, autostart);
        EXPECT_EQ(settings.alwaysOnTop(), c.topmost);
        EXPECT_EQ(settings.confirmOnClose(), c.confirmOnClose);
        EXPECT_EQ(std::filesystem::exists(autostartFile()), c.autostart);
        EXPECT_EQ(settings.numberOfCalls(), c.numberOfCalls);
        EXPECT_EQ(settings.recordingFolder(), c.folder.isEmpty() ? defaultFolder : c.folder);
    }
    EXPECT_TRUE(std::filesystem::is_directory(defaultFolder.toStdString()));
}

}
}
