#include "contacts/ContactStore.h"
#include "contacts/ContactBook.h"
#include "records/RecordArchive.h"
#include "support/DataFolderFixture.h"
#include "support/KilledChild.h"
#include "support/RecordBytes.h"
#include "support/SideViewFakes.h"

#include <QJsonArray>

namespace {

using namespace orvanta;

QByteArray count(std::int32_t n)
{
    return intsOf({n});
}

QByteArray contactBytes(const Contact& contact)
{
    RecordWriter writer;
    SaveArchive archive(writer);
    Contact copy = contact;
    copy.visit(archive);
    return writer.bytes();
}

ContactBook bookOf(std::initializer_list<Contact> contacts)
{
    ContactBook book;
    for (const Contact& contact : contacts) {
        book.add(contact);
    }
    return book;
}

Contact onlyName(const QString& name)
{
    Contact contact;
    contact.name = name;
    return contact;
}

struct BytesCase {
    const char* name;
    ContactBook book;
    QByteArray file;
};

TEST(ContactFile, BytesBothWays)
{
    Contact full = contactNamed(QStringLiteral("Zoë"), QStringLiteral("123"));
    full.addressType = kOfficeAddress;
    full.email = QStringLiteral("z@example.org");
    QByteArray abcThenEmpty = count(1) + kAbcBytes;
    for (int i = 0; i < 12; ++i) {
        abcThenEmpty += kEmptyStringBytes;
    }
    const BytesCase cases[] = {
        {"empty book is just the count", ContactBook(), bytesOf({0, 0, 0, 0})},
        {"abc and twelve empty strings", bookOf({onlyName(QStringLiteral("abc"))}), abcThenEmpty},
        {"slot order", bookOf({onlyName(QStringLiteral("abc")), full}),
         count(2) + contactBytes(onlyName(QStringLiteral("abc"))) + contactBytes(full)},
    };
    for (const BytesCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(encodeContactFile(c.book), c.file);
        EXPECT_EQ(decodeContactFile(c.file).contacts(), c.book.contacts());
    }
}

struct ReadCase {
    const char* name;
    QByteArray file;
    int contacts;
};

TEST(ContactFile, ReadingKeepsWhatIsCompleteAndNeverPassesTheLastSlot)
{
    QByteArray many;
    for (int i = 0; i < 1001; ++i) {
        many += contactBytes(onlyName(QStringLiteral("c%1").arg(i)));
    }
    const QByteArray three = contactBytes(onlyName(QStringLiteral("a"))) +
                             contactBytes(onlyName(QStringLiteral("b"))) +
                             contactBytes(onlyName(QStringLiteral("c")));
    const ReadCase cases[] = {
        {"declares 5000, holds 1001", count(5000) + many, ContactBook::kCapacity},
        {"declares 5000, holds 3", count(5000) + three, 3},
        {"cut inside the third", count(3) + three.left(three.size() - 1), 2},
        {"count alone", count(0), 0},
        {"negative count", count(-7) + three, 0},
        {"short count", bytesOf({3, 0}), 0},
        {"a nameless slot ends the list",
         count(3) + contactBytes(onlyName(QStringLiteral("a"))) + contactBytes(Contact()) +
             contactBytes(onlyName(QStringLiteral("c"))),
         1},
        {"8-bit strings", count(1) + bytesOf({2, 'J', 'o'}) + QByteArray(12, '\0'), 1},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(decodeContactFile(c.file).size(), c.contacts);
    }
    EXPECT_EQ(
        decodeContactFile(count(1) + bytesOf({2, 'J', 'o'}) + QByteArray(12, '\0')).at(0).name,
        QStringLiteral("Jo"));
}

TEST(ContactBook, AFullBookRefusesTheNextContact)
{
    ContactBook book;
    for (int i = 0; i < ContactBook::kCapacity; ++i) {
        ASSERT_TRUE(book.add(onlyName(QStringLiteral("c%1").arg(i))));
    }
    EXPECT_TRUE(book.isFull());
    EXPECT_FALSE(book.add(onlyName(QStringLiteral("one too many"))));
    EXPECT_EQ(book.size(), ContactBook::kCapacity);
    EXPECT_EQ(decodeContactFile(encodeContactFile(book)).contacts(), book.contacts());
}

TEST(ContactBook, RemovingMovesTheLaterSlotsDown)
{
    ContactBook book = bookOf({onlyName(QStringLiteral("a")), onlyName(QStringLiteral("b")),
                               onlyName(QStringLiteral("c"))});
    ASSERT_TRUE(book.remove(1));
    EXPECT_EQ(book.contacts(),
              bookOf({onlyName(QStringLiteral("a")), onlyName(QStringLiteral("c"))}).contacts());
    EXPECT_FALSE(book.remove(2));
    EXPECT_FALSE(book.replace(-1, onlyName(QStringLiteral("x"))));
    ASSERT_TRUE(book.remove(0));
    ASSERT_TRUE(book.remove(0));
    EXPECT_EQ(encodeContactFile(book), count(0));
}

struct LookupCase {
    const char* name;
    QString number;
    QString expected;
};

TEST(ContactBook, NameOfANumberComesFromTheMobileOrPhoneOfTheFirstMatch)
{
    const ContactBook book = bookOf({
        contactNamed(QStringLiteral("Ann"), QStringLiteral("111"), QStringLiteral("222")),
        contactNamed(QStringLiteral("Ben"), QStringLiteral("222"), QString(),
                     QStringLiteral("333")),
        contactNamed(QStringLiteral("Cy"), QStringLiteral("444"), QStringLiteral("111")),
    });
    const LookupCase cases[] = {
        {"mobile", QStringLiteral("111"), QStringLiteral("Ann")},
        {"phone of an earlier contact before a later mobile", QStringLiteral("222"),
         QStringLiteral("Ann")},
        {"pager does not count", QStringLiteral("333"), QString()},
        {"exact only", QStringLiteral("44"), QString()},
        {"no such number", QStringLiteral("999"), QString()},
    };
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(book.nameForNumber(c.number), c.expected);
    }
}

TEST(ContactBook, ACallGoesToMobileThenPhoneThenPager)
{
    EXPECT_EQ(numberToCall(contactNamed("a", "1", "2", "3")), "1");
    EXPECT_EQ(numberToCall(contactNamed("a", "", "2", "3")), "2");
    EXPECT_EQ(numberToCall(contactNamed("a", "", "", "3")), "3");
}

TEST(ContactFile, DumpListsWhatTheDialerReads)
{
    const QByteArray file = count(5000) + contactBytes(onlyName(QStringLiteral("abc")));
    const auto dump = dumpRecordFile(contactRecordKinds(), "contact_Orvanta.bin", file);
    ASSERT_TRUE(dump);
    EXPECT_FALSE(dump->complete);
    const QJsonArray fields = dump->json.value("fields").toArray();
    ASSERT_EQ(fields.size(), 14);
    EXPECT_EQ(fields[1].toObject().value("value").toString(), "abc");

    const auto exact = dumpRecordFile(contactRecordKinds(), "contact_Orvanta.bin",
                                      count(1) + contactBytes(onlyName(QStringLiteral("abc"))));
    ASSERT_TRUE(exact);
    EXPECT_TRUE(exact->complete);
}

using ContactStoreFile = DataFolderFixture;

TEST_F(ContactStoreFile, EveryChangeReachesTheFileAtOnce)
{
    ContactStore store;
    store.load();
    EXPECT_TRUE(store.book().isEmpty());
    Contact ann = contactNamed(QStringLiteral("Ann"), QStringLiteral("111"));
    ann.nickname = QStringLiteral("Annie");
    ann.address = QStringLiteral("1 Main St");
    ann.addressType = kOfficeAddress;
    ann.city = QStringLiteral("Springfield");
    ann.state = QStringLiteral("IL");
    ann.country = QStringLiteral("USA");
    ann.pincode = QStringLiteral("62701");
    ann.phone = QStringLiteral("+1555");
    ann.pager = QStringLiteral("9");
    ann.fax = QStringLiteral("8");
    ann.email = QStringLiteral("ann@example.org");
    const Contact ben = contactNamed(QStringLiteral("Ben"), QStringLiteral("222"));

    const auto onDisk = [&] {
        EXPECT_TRUE(store.waitUntilWritten());
        return decodeContactFile(readRaw(kContactRecordKind)).contacts();
    };
    ASSERT_TRUE(store.add(ann));
    EXPECT_EQ(onDisk(), store.book().contacts()) << "a missing file is created";
    ASSERT_TRUE(store.add(ben));
    EXPECT_EQ(onDisk(), store.book().contacts());
    Contact renamed = ben;
    renamed.name = QStringLiteral("Benjamin");
    ASSERT_TRUE(store.replace(1, renamed));
    EXPECT_EQ(onDisk(), store.book().contacts());
    ASSERT_TRUE(store.remove(0));
    EXPECT_EQ(onDisk(), store.book().contacts());

    ContactStore restarted;
    restarted.load();
    EXPECT_EQ(restarted.book().contacts(), std::vector<Contact>{renamed});
}

TEST_F(ContactStoreFile, AContactAddedBeforeSigkillIsInTheFile)
{
    ASSERT_TRUE(test::runThenSigkill([] {
        ContactStore store;
        store.load();
        store.add(contactNamed(QStringLiteral("Ann"), QStringLiteral("111")));
        // Waits for what the add handed over; a store that only wrote at
        // quit would have handed over nothing.
        store.waitUntilWritten();
    }));

    ContactStore store;
    store.load();
    ASSERT_EQ(store.book().size(), 1);
    EXPECT_EQ(store.book().at(0).name, QStringLiteral("Ann"));
}

}
