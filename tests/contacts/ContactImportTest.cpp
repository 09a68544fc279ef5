#include "contacts/ContactImport.h"
#include "contacts/ContactStore.h"
#include "contacts/ContactTexts.h"
#include "contacts/ContactsView.h"
#include "support/DataFolderFixture.h"
#include "support/SideViewFakes.h"

#include <QSignalSpy>
#include <fstream>

namespace {

using namespace orvanta;

class ContactImportTest : public DataFolderFixture {
protected:
    QString write(const char* name, const QByteArray& content)
    {
        const std::filesystem::path path = temp_ / name;
        std::ofstream(path, std::ios::binary).write(content.constData(), content.size());
        return QString::fromStdString(path.string());
    }

    ImportSummary import(const char* name, const QByteArray& content)
    {
        return importInto(store, readContactFile(write(name, content)));
    }

    ContactStore store;
};

struct NumberCase {
    const char* name;
    Contact read;
    Contact stored;
};

TEST(ContactImportNumbers, NumbersAreWrittenAsTheDialPadKnowsThem)
{
    Contact multiline = contactNamed("Ann", "1");
    multiline.address = "1 Main St\r\nApt 2";
    Contact oneLine = multiline;
    oneLine.address = "1 Main St Apt 2";
    const NumberCase cases[] = {
        {"formatted mobile", contactNamed("Ann", "+1 (555) 123-4567"),
         contactNamed("Ann", "15551234567")},
        {"phone keeps its plus and dashes", contactNamed("Ann", "", "+44 20-7946"),
         contactNamed("Ann", "", "+4420-7946")},
        {"pager with dots and slashes", contactNamed("Ann", "", "", "555.12/34"),
         contactNamed("Ann", "", "", "5551234")},
        {"letters stay for the checks", contactNamed("Ann", "1-800-FLOWERS"),
         contactNamed("Ann", "1800FLOWERS")},
        {"line breaks", multiline, oneLine},
    };
    for (const NumberCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(normaliseImportedContact(c.read), c.stored);
    }
}

TEST_F(ContactImportTest, ASummarySaysWhatWasImportedAndWhyTheRestWasNot)
{
    ASSERT_TRUE(store.add(contactNamed("Known", "999")));
    const QByteArray csv = "Name,Mobile,Phone,City\r\n"
                           "\"Smith, John\",555 1234,,\"Springfield, IL\"\r\n"
                           "Bad,12ab,,\r\n"
                           "Known,999,,\r\n"
                           ",,,\r\n"
                           "Long,1,," +
                           QByteArray(300, 'x') +
                           "\r\n"
                           "   ,7,,\r\n"
                           "Twice,8,,\r\n"
                           "Twice,8,,\r\n"
                           "Broken,\"1,,\r\n";
    const ImportSummary summary = import("contacts.csv", csv);
    EXPECT_EQ(summary.failure, ImportFailure::None);
    EXPECT_EQ(summary.imported, 3);
    EXPECT_EQ(contact_texts::importSummary(summary),
              "3 contacts imported, 5 skipped\n"
              "Row 3: Mobile number should be numeric\n"
              "Row 4: already in the contact list\n"
              "Row 6: a field is longer than 255 characters\n"
              "Row 9: already in the contact list\n"
              "Row 10: cannot be read");
    ASSERT_EQ(store.book().size(), 4);
    EXPECT_EQ(store.book().at(1).name, "Smith, John");
    EXPECT_EQ(store.book().at(1).mobile, "5551234");
    EXPECT_EQ(store.book().at(1).city, "Springfield, IL");
    EXPECT_EQ(store.book().at(2).name, "<No Name>");
    EXPECT_TRUE(store.waitUntilWritten());
    EXPECT_EQ(decodeContactFile(readRaw(kContactRecordKind)).contacts(), store.book().contacts());
}

TEST_F(ContactImportTest, ABookThatFillsUpSkipsTheRest)
{
    std::vector<Contact> many;
    for (int i = 0; i < ContactBook::kCapacity - 2; ++i) {
        many.push_back(contactNamed(QStringLiteral("c%1").arg(i), "1"));
    }
    ASSERT_EQ(store.addAll(many), ContactBook::kCapacity - 2);
    QByteArray vcards;
    for (int i = 0; i < 5; ++i) {
        vcards += QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:New %1\r\nTEL;TYPE=CELL:%1\r\n"
                                 "END:VCARD\r\n")
                      .arg(i)
                      .toUtf8();
    }
    const ImportSummary summary = import("full.vcf", vcards);
    EXPECT_EQ(summary.imported, 2);
    EXPECT_EQ(store.book().size(), ContactBook::kCapacity);
    EXPECT_EQ(contact_texts::importSummary(summary),
              "2 contacts imported, 3 skipped\n3 contacts: Contact list is full");
}

TEST_F(ContactImportTest, AHugeValueIsCutAndRefusedAsTooLong)
{
    const QByteArray vcard = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" + QByteArray(1 << 20, 'n') +
                             "\r\nTEL:1\r\nEND:VCARD\r\n";
    const ImportSummary summary = import("huge.vcf", vcard);
    EXPECT_EQ(contact_texts::importSummary(summary),
              "0 contacts imported, 1 skipped\nCard 1: a field is longer than 255 characters");
}

struct FailureCase {
    const char* name;
    const char* file;
    QByteArray content;
    ImportFailure failure;
    QString text;
};

TEST_F(ContactImportTest, FilesThatHoldNoContactsAreToldApart)
{
    const FailureCase cases[] = {
        {"unknown columns", "other.csv", "Company,Title\r\nAcme,Boss\r\n",
         ImportFailure::NoContacts, "No contacts found in the file"},
        {"no cards", "empty.vcf", "hello\r\n", ImportFailure::NoContacts,
         "No contacts found in the file"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ImportSummary summary = import(c.file, c.content);
        EXPECT_EQ(summary.failure, c.failure);
        EXPECT_EQ(contact_texts::importSummary(summary), c.text);
    }
    EXPECT_EQ(readContactFile(QString::fromStdString((temp_ / "missing.vcf").string())).failure,
              ImportFailure::CannotOpen);
    const std::filesystem::path huge = temp_ / "huge.csv";
    std::ofstream(huge).close();
    std::filesystem::resize_file(huge, kMaxImportFileBytes + 1);
    EXPECT_EQ(readContactFile(QString::fromStdString(huge.string())).failure,
              ImportFailure::TooLarge);
    EXPECT_TRUE(store.book().isEmpty());
}

TEST_F(ContactImportTest, ExportedFilesImportIntoAnEmptyBookAsTheyWere)
{
    Contact full = contactNamed("Lee, Ann", "5551234", "+44-20", "77");
    full.nickname = "Annie";
    full.address = "10 High St; rear";
    full.addressType = kOfficeAddress;
    full.city = "London";
    full.state = "Greater London";
    full.country = "UK";
    full.pincode = "12345";
    full.fax = "88";
    full.email = "ann@example.org";
    const std::vector<Contact> contacts = {full, contactNamed("Bob", "1")};
    for (const auto& [file, format] : {std::pair{"out.vcf", ContactFileFormat::VCard},
                                       std::pair{"out.csv", ContactFileFormat::Csv}}) {
        SCOPED_TRACE(file);
        const QString path = QString::fromStdString((temp_ / file).string());
        ASSERT_EQ(exportContacts(contacts, path, format), ExportResult::Written);
        ContactStore fresh;
        const ImportSummary summary = importInto(fresh, readContactFile(path));
        EXPECT_EQ(summary.format, format);
        EXPECT_EQ(summary.imported, 2);
        EXPECT_EQ(fresh.book().contacts(), contacts);
    }
    EXPECT_EQ(exportContacts(contacts, "/nonexistent/folder/out.vcf", ContactFileFormat::VCard),
              ExportResult::CannotWrite);
}

TEST_F(ContactImportTest, TheViewImportsOffTheGuiThreadAndSaysWhenDone)
{
    FakeDialer dialer;
    struct : ContactsPrompts {
        void notify(ViewNotice) override {}
        bool confirmDelete(const QString&) override { return true; }
    } prompts;
    ContactsView view(store, dialer, prompts);
    QSignalSpy finished(&view, &ContactsView::importFinished);
    view.startImport(write("in.csv", "Name,Mobile\r\nAnn,1\r\n"));
    EXPECT_TRUE(view.transferRunning());
    EXPECT_FALSE(view.menu().importContacts);
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_FALSE(view.transferRunning());
    EXPECT_EQ(finished.front().front().value<ImportSummary>().imported, 1);
    ASSERT_EQ(view.items().size(), 1u);
    EXPECT_EQ(view.items().front().name, "Ann");
}

}
