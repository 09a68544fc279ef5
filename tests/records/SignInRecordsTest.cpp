#include "support/DataFolderFixture.h"

#include "records/RecordArchive.h"
#include "records/RecordFile.h"
#include "records/SignInRecords.h"
#include "support/RecordFixtures.h"

#include <sys/stat.h>

namespace {

using namespace orvanta;

using SignInRecordFile = DataFolderFixture;

TEST_F(SignInRecordFile, ReadsTheFourFieldsInOrder)
{
    writeRaw(kSignInRecordKind, signInBytes(1, QStringLiteral("alice"), QStringLiteral("s3cret")));
    SignInRecord record;
    const LoadOutcome outcome = loadRecordFile(kSignInRecordKind, record);
    EXPECT_TRUE(outcome.complete);
    EXPECT_EQ(record.savePassword, 1);
    EXPECT_EQ(record.userName, QStringLiteral("alice"));
    EXPECT_EQ(record.password, QStringLiteral("s3cret"));
}

struct ShortRecordCase {
    const char* name;
    qsizetype keepBytes;
    int fieldsRead;
    std::int32_t savePassword;
    QString userName;
};

TEST_F(SignInRecordFile, ShortRecordKeepsWhatWasRead)
{
    const QByteArray full = signInBytes(3, QStringLiteral("bob"), QStringLiteral("pw"));
    const qsizetype afterUser = full.size() - 8;  // the password string is 4 + 2*2 bytes
    const ShortRecordCase cases[] = {
        {"integer only", 4, 1, 3, QString()},
        {"cut after the user name", afterUser, 3, 3, QStringLiteral("bob")},
        {"cut inside the password", full.size() - 1, 3, 3, QStringLiteral("bob")},
        {"empty file", 0, 0, 0, QString()},
    };
    for (const ShortRecordCase& c : cases) {
        SCOPED_TRACE(c.name);
        writeRaw(kSignInRecordKind, full.left(c.keepBytes));
        SignInRecord record;
        const LoadOutcome outcome = loadRecordFile(kSignInRecordKind, record);
        EXPECT_TRUE(outcome.fileFound);
        EXPECT_FALSE(outcome.complete);
        EXPECT_EQ(outcome.fieldsRead, c.fieldsRead);
        EXPECT_EQ(record.savePassword, c.savePassword);
        EXPECT_EQ(record.userName, c.userName);
        EXPECT_TRUE(record.password.isEmpty());
    }
}

TEST_F(SignInRecordFile, MissingFailoverFileGivesEmptyFields)
{
    FailoverRecord record;
    const LoadOutcome outcome = loadRecordFile(kFailoverRecordKind, record);
    EXPECT_FALSE(outcome.fileFound);
    EXPECT_TRUE(record.altServerA.isEmpty());
    EXPECT_TRUE(record.spareText3.isEmpty());
    EXPECT_FALSE(record.spareFlag);
}

TEST_F(SignInRecordFile, FailoverRecordRoundTripsItsTenFields)
{
    FailoverRecord saved;
    saved.altServerA = QStringLiteral("10.0.0.1");
    saved.altPortA1 = QStringLiteral("5060");
    saved.altPortB2 = QStringLiteral("5080");
    saved.spareText3 = QStringLiteral("z");
    saved.spareFlag = true;
    ASSERT_TRUE(saveRecordFile(kFailoverRecordKind, saved));
    EXPECT_EQ(readRaw(kFailoverRecordKind).size(), 9 * 4 + 2 * (8 + 4 + 4 + 1) + 1);

    FailoverRecord loaded;
    EXPECT_TRUE(loadRecordFile(kFailoverRecordKind, loaded).complete);
    EXPECT_EQ(loaded.altServerA, saved.altServerA);
    EXPECT_EQ(loaded.altPortA1, saved.altPortA1);
    EXPECT_EQ(loaded.altPortB2, saved.altPortB2);
    EXPECT_EQ(loaded.spareText3, saved.spareText3);
    EXPECT_TRUE(loaded.spareFlag);
}

TEST_F(SignInRecordFile, SavingCreatesAMissingFileReadableByOwnerOnly)
{
    SignInRecord record;
    record.savePassword = 1;
    record.userName = QStringLiteral("carol");
    record.password = QStringLiteral("pw");
    ASSERT_TRUE(saveRecordFile(kSignInRecordKind, record.forSaving()));
    EXPECT_EQ(readRaw(kSignInRecordKind),
              signInBytes(1, QStringLiteral("carol"), QStringLiteral("pw")));
    struct stat info {};
    ASSERT_EQ(stat(recordPath(kSignInRecordKind).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(SignInRecordFile, ShorterRewriteLeavesNoOldAccountBlockBehind)
{
    SignInRecordWithAccount full;
    full.header = {1, QString(), QStringLiteral("dave"), QStringLiteral("pw")};
    full.account = makeAccountBlock(full.header, defaultAccount(QStringLiteral("dave")));
    ASSERT_TRUE(saveRecordFile(kSignInRecordKind, full));
    ASSERT_TRUE(readRaw(kSignInRecordKind).contains(QByteArray("p\0w\0", 4)));

    SignInRecord fallback = full.header;
    fallback.savePassword = 0;
    ASSERT_TRUE(saveRecordFile(kSignInRecordKind, fallback.forSaving()));
    EXPECT_EQ(readRaw(kSignInRecordKind), signInBytes(0, QStringLiteral("dave"), QString()));
}

struct PasswordCase {
    std::int32_t savePassword;
    bool headerKeepsPassword;
    bool blockKeepsPassword;
};

TEST(SignInRecordPasswords, PasswordIsStoredOnlyWhenTheUserAskedToKeepIt)
{
    const PasswordCase cases[] = {
        {0, false, false},
        {1, true, true},
        {2, true, false},  // the block keeps it only for exactly 1
        {-1, true, false},
    };
    FirstAccount account = defaultAccount(QStringLiteral("sipuser"));
    account.password = QStringLiteral("sippw");
    for (const PasswordCase& c : cases) {
        SCOPED_TRACE(c.savePassword);
        const SignInRecord current{c.savePassword, QString(), QStringLiteral("erin"),
                                   QStringLiteral("secret")};
        EXPECT_EQ(current.forSaving().password.isEmpty(), !c.headerKeepsPassword);
        const AccountBlock block = makeAccountBlock(current, account);
        // The block holds the account's own password, never the sign-in's.
        EXPECT_EQ(block.accountPassword,
                  c.blockKeepsPassword ? QStringLiteral("sippw") : QString());
        EXPECT_EQ(block.userName, QStringLiteral("erin"));
    }
}

TEST(SignInRecordLayout, FullRecordHasThirteenFieldsInOrder)
{
    SignInRecordWithAccount record;
    record.header = {1, QString(), QStringLiteral("u"), QStringLiteral("p")};
    record.account = makeAccountBlock(record.header,
                                      FirstAccount{1, QStringLiteral("acc"), QStringLiteral("reg"),
                                                   QStringLiteral("con"), QStringLiteral("pro"), 42,
                                                   QStringLiteral("accpw")});

    RecordWriter expected;
    expected.writeInt(1);
    for (const char* text : {"", "u", "p"}) {
        expected.writeString(QString::fromLatin1(text));
    }
    expected.writeInt(1);
    for (const char* text : {"acc", "u", "accpw", "reg", "con", "pro", ""}) {
        expected.writeString(QString::fromLatin1(text));
    }
    expected.writeInt(42);
    EXPECT_EQ(encodeRecord(record), expected.bytes());
}

}
