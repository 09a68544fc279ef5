#include "contacts/ContactCsv.h"
#include "support/SideViewFakes.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace {

using namespace orvanta;

struct RowCase {
    const char* name;
    QString text;
    std::vector<QStringList> records;
    bool lastUnterminated;
};

TEST(ContactCsv, TrickyRowsAreSplitAsRfc4180Says)
{
    const RowCase cases[] = {
        {"plain", "a,b\r\nc,d\r\n", {{"a", "b"}, {"c", "d"}}, false},
        {"quoted comma", "\"Smith, John\",1\r\n", {{"Smith, John", "1"}}, false},
        {"doubled quotes", "\"say \"\"hi\"\"\",x\r\n", {{"say \"hi\"", "x"}}, false},
        {"line break inside quotes",
         "\"1 Main St\r\nApt 2\",x\r\ny\r\n",
         {{"1 Main St\r\nApt 2", "x"}, {"y"}},
         false},
        {"LF only and no last line break", "a,b\nc", {{"a", "b"}, {"c"}}, false},
        {"empty fields kept", ",,x,\r\n", {{"", "", "x", ""}}, false},
        {"blank line", "a\r\n\r\nb\r\n", {{"a"}, {""}, {"b"}}, false},
        {"quote inside an unquoted field is text", "5\" disk,x\r\n", {{"5\" disk", "x"}}, false},
        {"text after a closing quote is kept", "\"ab\"c,d\r\n", {{"abc", "d"}}, false},
        {"unterminated quote", "a,\"never ends\r\nb,c", {{"a", "never ends\r\nb,c"}}, true},
    };
    for (const RowCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<CsvRecord> records = parseCsv(c.text);
        ASSERT_EQ(records.size(), c.records.size());
        for (std::size_t i = 0; i < records.size(); ++i) {
            EXPECT_EQ(records[i].fields, c.records[i]) << i;
        }
        EXPECT_EQ(records.back().unterminated, c.lastUnterminated);
    }
}

TEST(ContactCsv, FieldsAreQuotedOnlyWhenTheyMustBe)
{
    EXPECT_EQ(csvRecordText({"plain", "a,b", "say \"hi\"", "two\nlines", ""}),
              "plain,\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\",\r\n");
    for (const QStringList& fields :
         {QStringList{"a,b", "\"", "\r\n", " x "}, QStringList{"", ""}, QStringList{"Zoë"}}) {
        const std::vector<CsvRecord> back = parseCsv(csvRecordText(fields));
        ASSERT_EQ(back.size(), 1u);
        EXPECT_EQ(back[0].fields, fields);
    }
}

TEST(ContactCsv, ASpreadsheetExportIsReadByItsHeader)
{
    const QByteArray file = "\xEF\xBB\xBF"
                            "Company,E-mail,Mobile,Name,Phone\r\n"
                            "Acme,ann@acme.example,07700 900123,\"Lee, Ann\",020 7946\r\n"
                            ",,,,\r\n"
                            "Other,,5551234,Bob\r\n";
    const ContactFileContent content = readContactCsv(file);
    ASSERT_TRUE(content.recognised);
    ASSERT_EQ(content.contacts.size(), 2u);
    const Contact& ann = content.contacts[0].contact;
    EXPECT_EQ(content.contacts[0].position, 2);
    EXPECT_EQ(ann.name, "Lee, Ann");
    EXPECT_EQ(ann.email, "ann@acme.example");
    EXPECT_EQ(ann.mobile, "07700 900123");
    EXPECT_EQ(ann.phone, "020 7946");
    EXPECT_EQ(ann.addressType, kHomeAddress);
    EXPECT_EQ(content.contacts[1].position, 4) << "the blank row still counts";
    EXPECT_EQ(content.contacts[1].contact.name, "Bob");
    EXPECT_TRUE(content.contacts[1].contact.phone.isEmpty()) << "a short row";

    EXPECT_FALSE(readContactCsv("Company,Title\r\nAcme,Boss\r\n").recognised);
    EXPECT_FALSE(readContactCsv("").recognised);
}

TEST(ContactCsv, OurFileIsReadBackFieldForField)
{
    Contact office = contactNamed("Doe, \"JJ\"", "5551234", "+1-555", "77");
    office.nickname = "Jo\r\nJo";
    office.address = "1 Main St, Apt 2";
    office.addressType = kOfficeAddress;
    office.city = "Zürich";
    office.email = "jj@example.org";
    const std::vector<Contact> written = {office, contactNamed("Bob", "1")};
    const QByteArray file = writeContactCsv(written);
    EXPECT_TRUE(file.startsWith("\xEF\xBB\xBFName,Nick Name,Address,Address Type,City,State,"
                                "Country,Pin Code,Phone,Pager,Mobile,Fax,Email\r\n"));
    const ContactFileContent content = readContactCsv(file);
    ASSERT_EQ(content.contacts.size(), written.size());
    for (std::size_t i = 0; i < written.size(); ++i) {
        EXPECT_EQ(content.contacts[i].contact, written[i]) << i;
    }
}

}
