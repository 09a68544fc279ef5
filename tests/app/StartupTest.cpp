#include "support/DataFolderFixture.h"

#include "app/Startup.h"
#include "platform/SingleInstanceGuard.h"
#include "records/RecordArchive.h"
#include "records/RecordFile.h"
#include "support/RecordFixtures.h"

#include <fstream>
#include <optional>

namespace {

using namespace orvanta;

// Records what start-up asked of the windows.
struct Journal {
    int firstCopyHookRuns = 0;
    bool hookRanBeforeWindows = false;
    bool mainWindowCreated = false;
    bool engineLoaded = false;
    std::optional<SignInRecord> record;  // handed over before any dialog
    bool autoSignIn = false;
    bool mainWindowRan = false;
    bool dialogCreated = false;
    bool dialogRan = false;
    QString prefilledUser = QStringLiteral("<none>");
    std::int32_t prefilledSavePassword = -1;
};

struct Script {
    bool engineLoads = true;
    bool dialogAccepts = true;
};

class FakeMainWindow : public MainWindowPort {
public:
    FakeMainWindow(Journal& journal, const Script& script) : journal_(journal), script_(script) {}
    bool loadEngineLibrary() override { return journal_.engineLoaded = script_.engineLoads; }
    void takeSignInRecord(const SignInRecord& record, bool autoSignIn) override
    {
        journal_.record = record;
        journal_.autoSignIn = autoSignIn;
    }
    void runModal() override { journal_.mainWindowRan = true; }

private:
    Journal& journal_;
    const Script& script_;
};

class FakeSignIn : public SignInDialogPort {
public:
    FakeSignIn(Journal& journal, const Script& script) : journal_(journal), script_(script) {}
    void prefill(std::int32_t savePassword, const QString&, const QString& userName) override
    {
        journal_.prefilledSavePassword = savePassword;
        journal_.prefilledUser = userName;
    }
    bool runModal() override
    {
        journal_.dialogRan = true;
        return script_.dialogAccepts;
    }

private:
    Journal& journal_;
    const Script& script_;
};

class FakeWindows : public StartupWindows {
public:
    std::unique_ptr<MainWindowPort> createMainWindow() override
    {
        journal.mainWindowCreated = true;
        journal.hookRanBeforeWindows = journal.firstCopyHookRuns == 1;
        return std::make_unique<FakeMainWindow>(journal, script);
    }
    std::unique_ptr<SignInDialogPort> createSignInDialog(MainWindowPort&) override
    {
        journal.dialogCreated = true;
        return std::make_unique<FakeSignIn>(journal, script);
    }
    Journal journal;
    Script script;
};

class StartupTest : public DataFolderFixture {
protected:
    StartupResult start()
    {
        CZebSoftPhoneApp app(windows_);
        app.setFirstCopyHook([this] { ++journal_.firstCopyHookRuns; });
        return app.InitInstance();
    }

    void writeSignInRecord(std::int32_t savePassword, const QString& user, const QString& password)
    {
        writeRaw(kSignInRecordKind, signInBytes(savePassword, user, password));
    }

    FakeWindows windows_;
    Journal& journal_ = windows_.journal;
};

TEST_F(StartupTest, FirstStartCreatesTheDataFolderAndShowsAnEmptySignIn)
{
    EXPECT_EQ(start(), StartupResult::Finished);
    EXPECT_TRUE(std::filesystem::is_directory(temp_ / "Orvanta"));
    EXPECT_TRUE(journal_.dialogRan);
    // The channel for second starts is open before any window shows.
    EXPECT_TRUE(journal_.hookRanBeforeWindows);
    EXPECT_EQ(journal_.prefilledUser, QString());
    EXPECT_EQ(journal_.prefilledSavePassword, 0);
    ASSERT_TRUE(journal_.record);
    EXPECT_FALSE(journal_.autoSignIn);
    EXPECT_TRUE(journal_.mainWindowRan);
}

TEST_F(StartupTest, SavedUserWithoutAutomaticSignInPrefillsTheName)
{
    writeSignInRecord(0, QStringLiteral("alice"), QStringLiteral("old"));
    EXPECT_EQ(start(), StartupResult::Finished);
    EXPECT_TRUE(journal_.dialogRan);
    EXPECT_EQ(journal_.prefilledUser, QStringLiteral("alice"));
    EXPECT_TRUE(journal_.mainWindowRan);
}

TEST_F(StartupTest, SavedPasswordSignsInWithoutTheDialog)
{
    writeSignInRecord(1, QStringLiteral("bob"), QStringLiteral("pw"));
    EXPECT_EQ(start(), StartupResult::Finished);
    EXPECT_FALSE(journal_.dialogRan);
    ASSERT_TRUE(journal_.record);
    EXPECT_TRUE(journal_.autoSignIn);
    EXPECT_EQ(journal_.record->userName, QStringLiteral("bob"));
    EXPECT_EQ(journal_.record->password, QStringLiteral("pw"));
    EXPECT_TRUE(journal_.mainWindowRan);
}

struct SavedRecordCase {
    const char* name;
    QByteArray bytes;
    bool signsInAutomatically;
};

// Only a record naming an account the sign-in dialog could have saved signs
// in by itself; any other opens the dialog as if nothing had been saved.
TEST_F(StartupTest, RecordWithoutAUsableUserNameCountsAsNoSavedAccount)
{
    const QByteArray cutInTheUserName =
        QByteArray("\x01\x00\x00\x00\xff\xfe\xff\x00\xff\xfe\xff\x05\x61\x00", 14);
    QByteArray withoutPassword = signInBytes(1, QStringLiteral("bob"), QString());
    withoutPassword.chop(4);
    const SavedRecordCase cases[] = {
        {"only the integer", QByteArray("\x05\x00\x00\x00", 4), false},
        {"cut inside the user name", cutInTheUserName, false},
        {"empty user name", signInBytes(1, QString(), QStringLiteral("pw")), false},
        {"one character over the dialog's limit",
         signInBytes(1, QString(kMaxSavedUserNameLength + 1, QLatin1Char('u')), QStringLiteral("pw")),
         false},
        {"10 kB user name", signInBytes(1, QString(10000, QLatin1Char('u')), QStringLiteral("pw")),
         false},
        {"user name at the dialog's limit",
         signInBytes(1, QString(kMaxSavedUserNameLength, QLatin1Char('u')), QStringLiteral("pw")),
         true},
        {"cut after the user name", withoutPassword, true},
    };
    for (const SavedRecordCase& c : cases) {
        SCOPED_TRACE(c.name);
        journal_ = Journal{};
        writeRaw(kSignInRecordKind, c.bytes);
        EXPECT_EQ(start(), StartupResult::Finished);
        EXPECT_EQ(journal_.autoSignIn, c.signsInAutomatically);
        EXPECT_EQ(journal_.dialogRan, !c.signsInAutomatically);
        if (!c.signsInAutomatically) {
            EXPECT_EQ(journal_.prefilledUser, QString());
            EXPECT_EQ(journal_.prefilledSavePassword, 0);
        }
    }
}

TEST_F(StartupTest, StaleTemporaryFilesOfOurRecordsGoBeforeTheRecordIsRead)
{
    writeSignInRecord(1, QStringLiteral("bob"), QStringLiteral("pw"));
    const auto folder = temp_ / "Orvanta";
    const auto stale = {folder / "account_Orvanta.bin.Ab12Cd",
                        folder / "contact_Orvanta.bin.ZZZZZZ"};
    for (const auto& path : stale) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(signInBytes(1, QStringLiteral("mallory"), QStringLiteral("x")));
    }
    const auto foreign = folder / "holiday.txt.Ab12Cd";
    std::ofstream(foreign) << "the user's";

    EXPECT_EQ(start(), StartupResult::Finished);
    for (const auto& path : stale) {
        EXPECT_FALSE(std::filesystem::exists(path)) << path;
    }
    EXPECT_TRUE(std::filesystem::exists(foreign));
    EXPECT_TRUE(journal_.autoSignIn);
    ASSERT_TRUE(journal_.record);
    EXPECT_EQ(journal_.record->userName, QStringLiteral("bob"));
}

TEST_F(StartupTest, CancelledSignInNeverShowsTheMainWindow)
{
    windows_.script.dialogAccepts = false;
    EXPECT_EQ(start(), StartupResult::SignInCancelled);
    EXPECT_FALSE(journal_.mainWindowRan);
}

TEST_F(StartupTest, MissingEngineEndsBeforeAnyDialog)
{
    windows_.script.engineLoads = false;
    EXPECT_EQ(start(), StartupResult::EngineUnavailable);
    EXPECT_FALSE(journal_.dialogCreated);
    EXPECT_FALSE(journal_.mainWindowRan);
}

TEST_F(StartupTest, SecondCopyEndsSilentlyWithoutAnyWindow)
{
    platform::SingleInstanceGuard firstCopy(kSingleInstanceName);
    ASSERT_TRUE(firstCopy.acquired());
    testing::internal::CaptureStdout();
    EXPECT_EQ(start(), StartupResult::AlreadyRunning);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_FALSE(journal_.mainWindowCreated);
    EXPECT_EQ(journal_.firstCopyHookRuns, 0);
}

TEST_F(StartupTest, UnusableDataFolderStopsStartUp)
{
    std::ofstream(temp_ / "file") << "x";
    setenv("ORVANTA_DATA_DIR", (temp_ / "file" / "Orvanta").c_str(), 1);
    testing::internal::CaptureStdout();
    EXPECT_EQ(start(), StartupResult::DataFolderUnusable);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "CreateDirectory failed (20)\n");
    EXPECT_FALSE(journal_.engineLoaded);
    EXPECT_FALSE(journal_.mainWindowRan);
}

}
