#include "contacts/ContactChecks.h"
#include "contacts/ContactEditor.h"
#include "contacts/ContactStore.h"
#include "contacts/ContactTexts.h"
#include "support/DataFolderFixture.h"
#include "support/SideViewFakes.h"

namespace {

using namespace orvanta;

// A contact that passes every check; each case changes one thing or two.
Contact valid()
{
    Contact contact = contactNamed(QStringLiteral("John"), QStringLiteral("5551234"));
    contact.email = QStringLiteral("john@example.org");
    return contact;
}

template <typename Change>
Contact with(Change change)
{
    Contact contact = valid();
    change(contact);
    return contact;
}

struct CheckCase {
    const char* name;
    Contact contact;
    QString message;  // empty: accepted
    bool focusesName;
};

TEST(ContactChecks, EachCheckInItsOrderWithItsMessage)
{
    const QString blank = QStringLiteral("Username and Contact number can not be left blank");
    const QString email50 = QString(38, QChar('e')) + QStringLiteral("@example.org");
    ASSERT_EQ(email50.size(), 50);
    const CheckCase cases[] = {
        {"valid", valid(), {}, false},
        {"name empty", with([](Contact& c) { c.name.clear(); }), blank, true},
        {"no number at all", with([](Contact& c) { c.mobile.clear(); }), blank, true},
        {"name and numbers empty, name first", with([](Contact& c) {
             c.name.clear();
             c.mobile.clear();
         }),
         blank, true},
        {"pager alone is a number",
         with([](Contact& c) {
             c.mobile.clear();
             c.pager = QStringLiteral("77");
         }),
         {},
         false},
        {"mobile with a letter", with([](Contact& c) { c.mobile = QStringLiteral("555a"); }),
         QStringLiteral("Mobile number should be numeric"), true},
        {"mobile with a plus", with([](Contact& c) { c.mobile = QStringLiteral("+555"); }),
         QStringLiteral("Mobile number should be numeric"), true},
        {"phone with a space", with([](Contact& c) { c.phone = QStringLiteral("555 12"); }),
         QStringLiteral("Phone number should not contain special characters"), true},
        {"phone with a leading plus",
         with([](Contact& c) { c.phone = QStringLiteral("+4412"); }),
         {},
         false},
        {"pager with a dash", with([](Contact& c) { c.pager = QStringLiteral("1-2"); }),
         QStringLiteral("Pager number should be numeric"), true},
        {"fax with a letter", with([](Contact& c) { c.fax = QStringLiteral("x1"); }),
         QStringLiteral("Fax should be numeric"), true},
        {"pin code with letters", with([](Contact& c) { c.pincode = QStringLiteral("AB1"); }),
         QStringLiteral("Pincode should be numeric"), true},
        {"email of 50", with([&](Contact& c) { c.email = email50; }), {}, false},
        {"email of 51", with([&](Contact& c) { c.email = QLatin1Char('e') + email50; }),
         QStringLiteral("Email address should be less than 50 characters"), true},
        {"city of 51", with([](Contact& c) { c.city = QString(51, QChar('c')); }),
         QStringLiteral("City should be less than 50 characters"), true},
        {"country of 51", with([](Contact& c) { c.country = QString(51, QChar('c')); }),
         QStringLiteral("Country should be less than 50 characters"), true},
        {"email without a dot after the @",
         with([](Contact& c) { c.email = QStringLiteral("john.doe@example"); }),
         QStringLiteral("Email address not valid"), true},
        {"email without an @", with([](Contact& c) { c.email = QStringLiteral("john.example"); }),
         QStringLiteral("Email address not valid"), true},
        {"no email is fine", with([](Contact& c) { c.email.clear(); }), {}, false},
        {"name of 25", with([](Contact& c) { c.name = QString(25, QChar('n')); }), {}, false},
        {"name of 26", with([](Contact& c) { c.name = QString(26, QChar('n')); }),
         QStringLiteral("Contact name can take only 25 characters "), false},
        {"phone of 26", with([](Contact& c) { c.phone = QString(26, QChar('1')); }),
         QStringLiteral("Contact number can take only 25 digits"), false},
        {"mobile of 26", with([](Contact& c) { c.mobile = QString(26, QChar('1')); }),
         QStringLiteral("Contact number can take only 25 digits"), false},
        {"a bad mobile is told before a long name", with([](Contact& c) {
             c.name = QString(30, QChar('n'));
             c.mobile = QStringLiteral("x");
         }),
         QStringLiteral("Mobile number should be numeric"), true},
        {"a long email is told before a bad one",
         with([](Contact& c) { c.email = QString(60, QChar('e')); }),
         QStringLiteral("Email address should be less than 50 characters"), true},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ContactCheck check = checkContact(c.contact);
        EXPECT_EQ(contact_texts::checkMessage(check), c.message);
        EXPECT_EQ(checkFocusesName(check), c.focusesName);
    }
}

TEST(ContactChecks, EverySpecialCharacterIsRefusedInAPhoneNumber)
{
    for (QChar special : QStringLiteral("\\><\":][}|{` @^%$&")) {
        SCOPED_TRACE(QString(special).toStdString());
        EXPECT_EQ(checkContact(with([&](Contact& c) { c.phone = QStringLiteral("12") + special; })),
                  ContactCheck::PhoneHasSpecialCharacters);
    }
    EXPECT_EQ(checkContact(with([](Contact& c) { c.phone = QStringLiteral("+1-(555).12#*"); })),
              ContactCheck::Passed);
}

TEST(ContactChecks, ANewContactsNameIsTrimmed)
{
    EXPECT_EQ(nameForNewContact(QStringLiteral("  Ann Lee  ")), QStringLiteral("Ann Lee"));
    EXPECT_EQ(nameForNewContact(QStringLiteral("    ")), QStringLiteral("<No Name>"));
}

using ContactEditorTest = DataFolderFixture;

TEST_F(ContactEditorTest, NewAndEditedContactsAreStoredAsTheEditorSays)
{
    ContactStore store;
    ContactEditor adding(store);
    EXPECT_EQ(adding.mode(), ContactEditor::Mode::New);
    EXPECT_EQ(adding.initial().addressType, kHomeAddress);
    Contact typed = contactNamed(QStringLiteral("   "), QStringLiteral("123"));
    typed.addressType = kOfficeAddress;
    ASSERT_EQ(adding.accept(typed).outcome, ContactEditor::Outcome::Saved);
    EXPECT_EQ(store.book().at(0).name, QStringLiteral("<No Name>"));
    EXPECT_EQ(store.book().at(0).addressType, kOfficeAddress);

    ContactEditor editing(store, 0);
    EXPECT_EQ(editing.mode(), ContactEditor::Mode::Edit);
    EXPECT_EQ(editing.initial(), store.book().at(0));
    Contact changed = editing.initial();
    changed.name = QStringLiteral(" Bea ");
    changed.addressType = kHomeAddress;
    ASSERT_EQ(editing.accept(changed).outcome, ContactEditor::Outcome::Saved);
    EXPECT_EQ(store.book().at(0).name, QStringLiteral(" Bea "))
        << "an edit keeps the name as typed";
    EXPECT_EQ(store.book().at(0).addressType, kHomeAddress);

    Contact refused = changed;
    refused.mobile = QStringLiteral("12x");
    const ContactEditor::Result result = editing.accept(refused);
    EXPECT_EQ(result.outcome, ContactEditor::Outcome::Refused);
    EXPECT_EQ(result.check, ContactCheck::MobileNotNumeric);
    EXPECT_EQ(store.book().at(0).mobile, QStringLiteral("123")) << "nothing changes on a refusal";
}

TEST_F(ContactEditorTest, AFullBookTakesNoNewContact)
{
    ContactStore store;
    std::vector<Contact> many;
    for (int i = 0; i < ContactBook::kCapacity; ++i) {
        many.push_back(contactNamed(QStringLiteral("c%1").arg(i), QStringLiteral("1")));
    }
    ASSERT_EQ(store.addAll(many), ContactBook::kCapacity);
    ContactEditor adding(store);
    EXPECT_EQ(adding.accept(valid()).outcome, ContactEditor::Outcome::ListFull);
    EXPECT_EQ(store.book().size(), ContactBook::kCapacity);
}

}
