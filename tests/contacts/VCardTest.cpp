#include "contacts/VCard.h"
#include "support/SideViewFakes.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace {

using namespace orvanta;

// Line ends as address books write them.
QByteArray crlf(const char* text)
{
    return QByteArray(text).replace("\n", "\r\n");
}

Contact contact(std::initializer_list<std::pair<QString Contact::*, QString>> fields)
{
    Contact c;
    c.addressType = kHomeAddress;
    for (const auto& [field, value] : fields) {
        c.*field = value;
    }
    return c;
}

struct ExportCase {
    const char* name;
    QByteArray file;
    Contact expected;
};

TEST(VCard, ReadsTheCardsOfCommonAddressBookExports)
{
    const ExportCase cases[] = {
        {"3.0 with a birthday the library refuses and a folded note", crlf(R"(BEGIN:VCARD
VERSION:3.0
FN:John Smith
N:Smith;John;;;
NICKNAME:Johnny
EMAIL;TYPE=INTERNET;TYPE=HOME:john@example.com
TEL;TYPE=CELL:+1 555-123-4567
TEL;TYPE=HOME:555 1234
ADR;TYPE=HOME:;;1 Main St\, Apt 2;Springfield;IL;62701;USA
BDAY:1980-01-01
NOTE:first line\nsecond line that goes on and on and on and on and on and on
  and on
CATEGORIES:myContacts
END:VCARD
)"),
         contact({{&Contact::name, "John Smith"},
                  {&Contact::nickname, "Johnny"},
                  {&Contact::address, "1 Main St, Apt 2"},
                  {&Contact::city, "Springfield"},
                  {&Contact::state, "IL"},
                  {&Contact::pincode, "62701"},
                  {&Contact::country, "USA"},
                  {&Contact::phone, "555 1234"},
                  {&Contact::mobile, "+1 555-123-4567"},
                  {&Contact::email, "john@example.com"}})},
        {"3.0 with grouped lines, repeated type parameters and a photo", crlf(R"(BEGIN:VCARD
VERSION:3.0
PRODID:-//Example Corp.//Contacts 13.0//EN
N:Lee;Ann;;;
FN:Ann Lee
ORG:Acme;
EMAIL;type=INTERNET;type=WORK;type=pref:ann@acme.example
TEL;type=WORK;type=VOICE;type=pref:020 7946 0000
TEL;type=CELL;type=VOICE:07700 900123
TEL;type=WORK;type=FAX:020 7946 0001
item1.ADR;type=WORK;type=pref:;;10 High St;London;;SW1A 1AA;UK
item1.X-ABADR:gb
PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQAAAQABAAD/2wBDAAgGBgcGBQgHBwcJCQgKDBQNDAsLDBkSEw8U
 HRofHh0aHBwgJC4nICIsIxwcKDcpLDAxNDQ0Hyc5PTgyPC4zNDL/2wBDAQkJCQwLDBgNDRgyIRwh
END:VCARD
)"),
         contact({{&Contact::name, "Ann Lee"},
                  {&Contact::address, "10 High St"},
                  {&Contact::addressType, kOfficeAddress},
                  {&Contact::city, "London"},
                  {&Contact::pincode, "SW1A 1AA"},
                  {&Contact::country, "UK"},
                  {&Contact::phone, "020 7946 0000"},
                  {&Contact::mobile, "07700 900123"},
                  {&Contact::fax, "020 7946 0001"},
                  {&Contact::email, "ann@acme.example"}})},
        {"4.0 with tel URIs and quoted type lists", crlf(R"(BEGIN:VCARD
VERSION:4.0
FN:Zoë Müller
N:Müller;Zoë;;;
TEL;VALUE=uri;TYPE="voice,cell";PREF=1:tel:+49-170-1234567
TEL;VALUE=uri;TYPE=pager:tel:+49-89-555
ADR;TYPE=home;LABEL="Hauptstr. 5\n80331 München":;;Hauptstr. 5;München;;80331;Germany
EMAIL:zoe@example.de
UID:urn:uuid:4fbe8971-0bc3-424c-9c26-36c3e1eff6b1
END:VCARD
)"),
         contact({{&Contact::name, "Zoë Müller"},
                  {&Contact::address, "Hauptstr. 5"},
                  {&Contact::city, "München"},
                  {&Contact::pincode, "80331"},
                  {&Contact::country, "Germany"},
                  {&Contact::mobile, "+49-170-1234567"},
                  {&Contact::pager, "+49-89-555"},
                  {&Contact::email, "zoe@example.de"}})},
        {"2.1 types without TYPE=, name from N", crlf(R"(BEGIN:VCARD
VERSION:2.1
N:Okafor;Chidi
TEL;CELL;PREF:08031234567
TEL;HOME:014567890
END:VCARD
)"),
         contact({{&Contact::name, "Chidi Okafor"},
                  {&Contact::phone, "014567890"},
                  {&Contact::mobile, "08031234567"}})},
        {"escapes and a plain LF file", QByteArray(R"(begin:vcard
version:3.0
fn:Doe\, Jane\; Esq.
nickname:JJ\\x
tel:12
end:vcard
)"),
         contact({{&Contact::name, "Doe, Jane; Esq."},
                  {&Contact::nickname, "JJ\\x"},
                  {&Contact::phone, "12"}})},
    };
    for (const ExportCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ContactFileContent content = readVCards(c.file);
        EXPECT_TRUE(content.recognised);
        EXPECT_TRUE(content.unread.empty());
        ASSERT_EQ(content.contacts.size(), 1u);
        EXPECT_EQ(content.contacts[0].position, 1);
        const Contact& read = content.contacts[0].contact;
        for (auto field :
             {&Contact::name, &Contact::nickname, &Contact::address, &Contact::addressType,
              &Contact::city, &Contact::state, &Contact::country, &Contact::pincode,
              &Contact::phone, &Contact::pager, &Contact::mobile, &Contact::fax, &Contact::email}) {
            EXPECT_EQ(read.*field, c.expected.*field);
        }
    }
}

TEST(VCard, FoldedLinesAreJoinedEvenInsideACharacter)
{
    // "Zoë" folded between the two bytes of "ë", with CRLF + space and LF + tab.
    QByteArray file = crlf("BEGIN:VCARD\nVERSION:3.0\nFN:Zo\xC3");
    file += "\r\n \xABPerson\r\nTEL;TY\n\tPE=CELL:55\r\n 5\r\nEND:VCARD\r\n";
    const ContactFileContent content = readVCards(file);
    ASSERT_EQ(content.contacts.size(), 1u);
    EXPECT_EQ(content.contacts[0].contact.name, QStringLiteral("ZoëPerson"));
    EXPECT_EQ(content.contacts[0].contact.mobile, QStringLiteral("555"));
}

TEST(VCard, SeveralCardsAreReadEachOnItsOwn)
{
    const QByteArray file = crlf(R"(BEGIN:VCARD
VERSION:3.0
FN:First
TEL:1
END:VCARD
BEGIN:VCARD
VERSION:3.0
FN:Second
TEL:2
EMAIL:broken@
 example.org
END:VCARD
something between cards
BEGIN:VCARD
VERSION:4.0
FN:Third
TEL;TYPE=fax:3
)");
    const ContactFileContent content = readVCards(file);
    ASSERT_EQ(content.contacts.size(), 3u);
    EXPECT_EQ(content.contacts[1].contact.name, "Second");
    EXPECT_EQ(content.contacts[1].contact.email, "broken@example.org");
    EXPECT_EQ(content.contacts[2].position, 3);
    EXPECT_EQ(content.contacts[2].contact.fax, "3") << "a last card without END";
    EXPECT_FALSE(readVCards("Name,Phone\r\nAnn,1\r\n").recognised);
}

TEST(VCard, ALineTheLibraryRefusesCostsOnlyThatLine)
{
    const QByteArray file = crlf("BEGIN:VCARD\nVERSION:3.0\nFN:Kept\nTEL:1\n"
                                 "EMAIL:\x01\x02\nEND:VCARD\n");
    const ContactFileContent content = readVCards(file);
    ASSERT_EQ(content.contacts.size(), 1u);
    EXPECT_EQ(content.contacts[0].contact.name, "Kept");
    EXPECT_EQ(content.contacts[0].contact.phone, "1");
    EXPECT_TRUE(content.contacts[0].contact.email.isEmpty());
}

TEST(VCard, WrittenCardsAreReadBackFieldForField)
{
    Contact office = contact({{&Contact::name, "Doe, Jane; \"JJ\" \\ 北京"},
                              {&Contact::nickname, "Jo, Jo; x"},
                              {&Contact::address, QString(40, QChar(0xE9)) + ", Apt 2; rear"},
                              {&Contact::addressType, kOfficeAddress},
                              {&Contact::city, "Spring;field"},
                              {&Contact::state, "IL"},
                              {&Contact::country, "USA"},
                              {&Contact::pincode, "62701"},
                              {&Contact::phone, "+1(555)12"},
                              {&Contact::pager, "77"},
                              {&Contact::mobile, "5551234"},
                              {&Contact::fax, "88"},
                              {&Contact::email, "jane@example.org"}});
    Contact officeWithoutAddress = contact({{&Contact::name, "Desk"},
                                            {&Contact::addressType, kOfficeAddress},
                                            {&Contact::phone, "1"}});
    const std::vector<Contact> written = {office, officeWithoutAddress,
                                          contactNamed("<No Name>", "9")};
    const QByteArray file = writeVCards(written);
    EXPECT_TRUE(file.startsWith("BEGIN:VCARD\r\nVERSION:4.0\r\n"));
    EXPECT_TRUE(file.contains("TEL;TYPE=cell:5551234\r\n"));
    const ContactFileContent content = readVCards(file);
    EXPECT_TRUE(content.unread.empty());
    ASSERT_EQ(content.contacts.size(), written.size());
    for (std::size_t i = 0; i < written.size(); ++i) {
        EXPECT_EQ(content.contacts[i].contact, written[i]) << i;
    }
}

}
