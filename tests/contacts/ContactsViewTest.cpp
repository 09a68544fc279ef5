#include "contacts/ContactsView.h"
#include "contacts/ContactStore.h"
#include "support/DataFolderFixture.h"
#include "support/SideViewFakes.h"

namespace {

using namespace orvanta;

struct FakePrompts : ContactsPrompts {
    void notify(ViewNotice notice) override
    {
        notices.push_back(notice);
        placingDuringNotice = dialer && dialer->placing;
    }
    bool confirmDelete(const QString& name) override
    {
        asked.push_back(name);
        return answer;
    }
    FakeDialer* dialer = nullptr;
    std::vector<ViewNotice> notices;
    std::vector<QString> asked;
    bool answer = true;
    bool placingDuringNotice = false;
};

class ContactsViewTest : public DataFolderFixture {
protected:
    void SetUp() override
    {
        DataFolderFixture::SetUp();
        prompts.dialer = &dialer;
    }

    void fill(std::initializer_list<Contact> contacts)
    {
        for (const Contact& contact : contacts) {
            ASSERT_TRUE(store.add(contact));
        }
    }

    std::vector<QString> shownNames() const
    {
        std::vector<QString> names;
        for (const ContactItem& item : view.items()) {
            names.push_back(item.name);
        }
        return names;
    }

    ContactStore store;
    FakeDialer dialer;
    FakePrompts prompts;
    ContactsView view{store, dialer, prompts};
};

struct SearchCase {
    const char* name;
    QString search;
    std::vector<QString> shown;
    bool noResults;
};

TEST_F(ContactsViewTest, SearchShowsNamesStartingWithTheTextSortedByName)
{
    fill({contactNamed("John", "1"), contactNamed("Ajo", "2"), contactNamed("joanna", "3"),
          contactNamed("bob", "4"), contactNamed("Zed", "5")});
    const SearchCase cases[] = {
        {"every contact, sorted ignoring case", "", {"Ajo", "bob", "joanna", "John", "Zed"}, false},
        {"prefix, not inside", "jo", {"joanna", "John"}, false},
        {"case does not matter", "JO", {"joanna", "John"}, false},
        {"longer than the names", "Johnny", {}, true},
        {"nothing matches", "x", {}, true},
        {"cleared again", "", {"Ajo", "bob", "joanna", "John", "Zed"}, false},
    };
    for (const SearchCase& c : cases) {
        SCOPED_TRACE(c.name);
        view.setSearch(c.search);
        EXPECT_EQ(shownNames(), c.shown);
        EXPECT_EQ(view.noResults(), c.noResults);
    }
}

TEST_F(ContactsViewTest, SearchKeepsTheFirstTenMatchesOfTheBook)
{
    for (int i = 11; i >= 0; --i) {
        ASSERT_TRUE(
            store.add(contactNamed(QStringLiteral("Sam %1").arg(i, 2, 10, QChar('0')), "1")));
    }
    view.setSearch("sam");
    ASSERT_EQ(view.items().size(), 10u);
    EXPECT_EQ(view.items().front().name, "Sam 02") << "slots 0-9 hold Sam 11 down to Sam 02";
    EXPECT_EQ(view.items().back().name, "Sam 11");
}

TEST_F(ContactsViewTest, TheMenuFollowsTheSelection)
{
    fill({contactNamed("Ann", "1")});
    ContactsView::Menu menu = view.menu();
    EXPECT_TRUE(menu.add);
    EXPECT_FALSE(menu.call || menu.edit || menu.remove);
    view.select(0);
    menu = view.menu();
    EXPECT_FALSE(menu.add);
    EXPECT_TRUE(menu.call && menu.edit && menu.remove);
    EXPECT_TRUE(menu.importContacts && menu.exportContacts);
    view.clearSelection();
    EXPECT_EQ(view.slotToEdit(), std::nullopt);
    EXPECT_EQ(prompts.notices, std::vector<ViewNotice>{ViewNotice::NoItemSelected});
}

TEST_F(ContactsViewTest, DeletingAsksThenSelectsTheItemShownBefore)
{
    fill({contactNamed("Cy", "1"), contactNamed("Ann", "2"), contactNamed("Ben", "3")});
    view.deleteSelected();
    EXPECT_EQ(prompts.notices, std::vector<ViewNotice>{ViewNotice::NoItemSelected});

    view.select(0);  // Cy, shown after Ben
    prompts.answer = false;
    view.deleteSelected();
    EXPECT_EQ(prompts.asked, std::vector<QString>{"Cy"});
    EXPECT_EQ(store.book().size(), 3);

    prompts.answer = true;
    view.deleteSelected();
    EXPECT_EQ(shownNames(), (std::vector<QString>{"Ann", "Ben"}));
    ASSERT_TRUE(view.selectedSlot());
    EXPECT_EQ(store.book().at(*view.selectedSlot()).name, "Ben");

    view.select(0);  // Ann, shown first: nothing is before it
    view.deleteSelected();
    EXPECT_EQ(view.selectedSlot(), std::nullopt);
    EXPECT_TRUE(store.waitUntilWritten());
    EXPECT_EQ(decodeContactFile(readRaw(kContactRecordKind)).size(), 1);
}

TEST_F(ContactsViewTest, TwoContactsWithOneNameAreToldApart)
{
    fill({contactNamed("John", "111"), contactNamed("John", "222")});
    view.select(1);
    EXPECT_EQ(view.tooltipFor(1).number, "222");
    view.deleteSelected();
    ASSERT_EQ(store.book().size(), 1);
    EXPECT_EQ(store.book().at(0).mobile, "111") << "the selected John went, not the first";
}

struct CallCase {
    const char* name;
    bool lineInUse;
    bool allowed;
    Contact contact;
    std::vector<FakeDialer::Dial> dials;
    std::vector<ViewNotice> notices;
};

TEST_F(ContactsViewTest, CallingRefusesOrDialsTheFirstNumber)
{
    const CallCase cases[] = {
        {"mobile first",
         false,
         true,
         contactNamed("Ann", "111", "222", "333"),
         {{"111", "Ann"}},
         {}},
        {"then phone", false, true, contactNamed("Ann", "", "222", "333"), {{"222", "Ann"}}, {}},
        {"pager alone", false, true, contactNamed("Ann", "", "", "333"), {{"333", "Ann"}}, {}},
        {"line in use",
         true,
         true,
         contactNamed("Ann", "111"),
         {},
         {ViewNotice::MultipleCallsNotAllowed}},
        {"not registered",
         false,
         false,
         contactNamed("Ann", "111"),
         {},
         {ViewNotice::NotRegistered}},
        {"line in use is told first",
         true,
         false,
         contactNamed("Ann", "111"),
         {},
         {ViewNotice::MultipleCallsNotAllowed}},
    };
    for (const CallCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(store.add(c.contact));
        dialer = FakeDialer{};
        dialer.lineInUse = c.lineInUse;
        dialer.allowed = c.allowed;
        prompts.notices.clear();
        view.select(0);
        EXPECT_EQ(view.callSelected(), !c.dials.empty());
        EXPECT_EQ(dialer.dials, c.dials);
        EXPECT_EQ(prompts.notices, c.notices);
        EXPECT_TRUE(c.notices.empty() || prompts.placingDuringNotice)
            << "Exit is ignored while the refusal is shown";
        EXPECT_TRUE(c.dials.empty() || dialer.dialledWhilePlacing);
        EXPECT_FALSE(dialer.placing);
        ASSERT_TRUE(store.remove(0));
    }
}

TEST_F(ContactsViewTest, AFullBookSaysSoBeforeTheEditorOpens)
{
    std::vector<Contact> many(ContactBook::kCapacity, contactNamed("c", "1"));
    ASSERT_EQ(store.addAll(many), ContactBook::kCapacity);
    EXPECT_FALSE(view.mayAdd());
    EXPECT_EQ(prompts.notices, std::vector<ViewNotice>{ViewNotice::ContactListFull});
}

TEST_F(ContactsViewTest, AnEditedNameIsSortedAgainAndStaysSelected)
{
    fill({contactNamed("Ann", "1"), contactNamed("Ben", "2")});
    view.select(0);
    Contact renamed = store.book().at(0);
    renamed.name = "Cy";
    ASSERT_TRUE(store.replace(0, renamed));
    EXPECT_EQ(shownNames(), (std::vector<QString>{"Ben", "Cy"}));
    EXPECT_EQ(view.selectedSlot(), 0);
    view.setSearch("b");
    EXPECT_EQ(view.selectedSlot(), std::nullopt) << "a hidden contact is not selected";
}

}
