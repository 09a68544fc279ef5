#include "services/FriendList.h"
#include "ScriptedServices.h"
#include "services/AddFriendForm.h"
#include "support/ServicePrinters.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace {

using namespace orvanta;
using namespace orvanta::test;

const FriendEntry kCarol{"Carol", "C", "300", "", "3", "1"};
const FriendEntry kDave{"Dave", "", "400", "55", "", "2"};

QString okReply(const std::vector<FriendEntry>& rows)
{
    QString text = QStringLiteral("<response><status>true</status>");
    for (const FriendEntry& f : rows) {
        text += "<data><name>" + f.name + "</name><nickname>" + f.nickname +
                "</nickname><pcphone>" + f.pcphone + "</pcphone><fax>" + f.fax + "</fax><seqno>" +
                f.seqno + "</seqno><speeddial>" + f.speeddial + "</speeddial></data>";
    }
    return text + "</response>";
}

const WebReply kRefused{OpenUrlFailure::None, "<response><status>false</status></response>"};
const WebReply kAccepted{OpenUrlFailure::None, "<response><status>true</status></response>"};
const WebReply kUnreachable{OpenUrlFailure::Exception, {}};

class FriendListTest : public testing::Test {
protected:
    FriendListTest()
    {
        QObject::connect(&list, &FriendList::notice,
                         [this](FriendNotice notice) { notices.push_back(notice); });
        QObject::connect(&list, &FriendList::busyChanged,
                         [this](bool busy) { busyChanges.push_back(busy); });
    }

    void load(const std::vector<FriendEntry>& rows)
    {
        list.fetch();
        web.requests.answer({OpenUrlFailure::None, okReply(rows)});
        notices.clear();
        busyChanges.clear();
        web.requests.sent.clear();
    }

    ScriptedWebApi web;
    ScriptedSession session;
    FriendList list{web, session};
    std::vector<FriendNotice> notices;
    std::vector<bool> busyChanges;
};

TEST_F(FriendListTest, FetchShowsWhatTheServerReturnsAndKeepsTheRowsOnFailure)
{
    struct Case {
        const char* name;
        WebReply reply;
        std::vector<FriendEntry> rows;
        std::vector<FriendNotice> notices;
    };
    const Case cases[] = {
        {"fewer rows replace all", {OpenUrlFailure::None, okReply({kDave})}, {kDave}, {}},
        {"status true without data empties the table", kAccepted, {}, {}},
        {"status false keeps the rows", kRefused, {kCarol, kDave}, {}},
        {"no connection keeps the rows",
         kUnreachable,
         {kCarol, kDave},
         {FriendNotice::OpenUrlException}},
        {"an unusable address keeps the rows",
         {OpenUrlFailure::NoFile, {}},
         {kCarol, kDave},
         {FriendNotice::OpenUrlNoFile}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        load({kCarol, kDave});
        list.fetch();
        ASSERT_EQ(web.requests.sent.size(), 1u);
        EXPECT_EQ(web.requests.sent[0], "http://webapi.test/softphoneRequest.jsp?actionId="
                                        "retrieveFriendList&subscriberId=alice");
        EXPECT_TRUE(list.busy());
        web.requests.answer(c.reply);
        EXPECT_EQ(list.rows(), c.rows);
        EXPECT_EQ(notices, c.notices);
        EXPECT_EQ(busyChanges, (std::vector{true, false}));
    }
}

TEST_F(FriendListTest, ASecondFetchWhileOneRunsIsNotSent)
{
    list.fetch();
    list.fetch();
    EXPECT_EQ(web.requests.sent.size(), 1u);
    web.requests.answer({OpenUrlFailure::None, okReply({kCarol})});
    list.fetch();
    EXPECT_EQ(web.requests.sent.size(), 2u);
}

TEST_F(FriendListTest, AnotherSubscriberNeverSeesTheRowsOrALateReplyOfThePreviousOne)
{
    load({kCarol});
    list.fetch();  // still running when bob signs in
    session.user = QStringLiteral("bob");
    list.fetch();
    EXPECT_TRUE(list.rows().empty());
    ASSERT_EQ(web.requests.sent.size(), 2u);
    EXPECT_EQ(queryItem(web.requests.sent[1], "subscriberId"), "bob");

    web.requests.answer({OpenUrlFailure::None, okReply({kDave})});
    EXPECT_TRUE(list.rows().empty()) << "alice's late reply";
    EXPECT_TRUE(list.busy());
    web.requests.answer(kUnreachable);
    EXPECT_TRUE(list.rows().empty());
    EXPECT_FALSE(list.busy());
    EXPECT_EQ(notices, std::vector{FriendNotice::OpenUrlException});
}

TEST_F(FriendListTest, EditAndDeleteNeedASelectedRow)
{
    load({kCarol});
    for (const std::optional<std::size_t> row : {std::optional<std::size_t>(), {1}}) {
        notices.clear();
        EXPECT_FALSE(list.checkSelection(row));
        EXPECT_EQ(notices, std::vector{FriendNotice::NoItemSelected});
    }
    notices.clear();
    EXPECT_TRUE(list.checkSelection(0));
    EXPECT_TRUE(notices.empty());
}

TEST_F(FriendListTest, DeleteRemovesTheRowOnlyWhenTheServerAgrees)
{
    struct Case {
        const char* name;
        WebReply reply;
        std::vector<FriendEntry> rows;
        std::vector<FriendNotice> notices;
        bool refetched;
    };
    const Case cases[] = {
        {"accepted", kAccepted, {kDave}, {}, true},
        {"refused", kRefused, {kCarol, kDave}, {FriendNotice::DeleteFailed}, false},
        {"unreachable",
         kUnreachable,
         {kCarol, kDave},
         {FriendNotice::OpenUrlException, FriendNotice::DeleteFailed},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        load({kCarol, kDave});
        list.remove(0);
        ASSERT_TRUE(web.requests.waiting());
        const std::string url = web.requests.next().url;
        EXPECT_EQ(queryItem(url, "actionId"), "deleteFriendList");
        EXPECT_EQ(queryItem(url, "xmlData"),
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?><xmldata><subscriberid>alice"
                  "</subscriberid><name>Carol</name><nickname>C</nickname><pcphone>300</pcphone>"
                  "<fax></fax><speeddial>3</speeddial><seqno>1</seqno></xmldata>");
        web.requests.answer(c.reply);
        EXPECT_EQ(list.rows(), c.rows);
        EXPECT_EQ(notices, c.notices);
        EXPECT_EQ(web.requests.waiting(), c.refetched);
        EXPECT_EQ(list.busy(), c.refetched);
        if (c.refetched) {
            EXPECT_EQ(queryItem(web.requests.next().url, "actionId"), "retrieveFriendList");
            // The server still lists the friend: the list shows what it returns.
            web.requests.answer({OpenUrlFailure::None, okReply({kCarol, kDave})});
            EXPECT_EQ(list.rows(), (std::vector{kCarol, kDave}));
            EXPECT_FALSE(list.busy());
        }
    }
}

TEST_F(FriendListTest, FieldChecksStopAtTheFirstFailureInOrder)
{
    load({kCarol, kDave});
    struct Case {
        const char* name;
        FriendEntry typed;  // name, nickname, pcphone, fax, speeddial
        std::optional<FriendNotice> refusal;
    };
    const Case cases[] = {
        {"all empty", {}, FriendNotice::NameAndPhoneRequired},
        {"no PC phone", {"Eve", "", "", "x", "y", ""}, FriendNotice::NameAndPhoneRequired},
        {"no name", {"", "", "12", "", "", ""}, FriendNotice::NameAndPhoneRequired},
        {"PC phone before speed dial",
         {"Eve", "", "12a", "x", "y", ""},
         FriendNotice::PhoneNotNumeric},
        {"other digits are not numeric",
         {"Eve", "", QString::fromUtf8("١٢"), "", "", ""},
         FriendNotice::PhoneNotNumeric},
        {"speed dial before fax",
         {"Eve", "", "12", "x", "5b", ""},
         FriendNotice::SpeedDialNotNumeric},
        {"a used speed dial before fax",
         {"Eve", "", "12", "x", "3", ""},
         FriendNotice::SpeedDialUsed},
        {"fax", {"Eve", "", "12", "5-5", "", ""}, FriendNotice::FaxNotNumeric},
        {"an empty speed dial is never compared", {"Eve", "", "12", "", "", ""}, std::nullopt},
        {"a free speed dial", {"Eve", "E", "12", "77", "9", ""}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(checkFriendFields(c.typed, list), c.refusal);
    }
}

struct FormOutcome {
    std::vector<FriendNotice> refusals;
    std::vector<FriendNotice> notices;
    int accepted = 0;
};

class AddFriendFormTest : public FriendListTest {
protected:
    void attach(AddFriendForm& form)
    {
        QObject::connect(&form, &AddFriendForm::refused,
                         [this](FriendNotice n) { outcome.refusals.push_back(n); });
        QObject::connect(&form, &AddFriendForm::notice,
                         [this](FriendNotice n) { outcome.notices.push_back(n); });
        QObject::connect(&form, &AddFriendForm::accepted, [this] { ++outcome.accepted; });
    }

    FormOutcome outcome;
};

TEST_F(AddFriendFormTest, EditingRefusesTheRowsOwnSpeedDialUntilItChanges)
{
    load({kCarol, kDave});
    AddFriendForm form(list, FriendFormMode::Edit, 0);
    attach(form);
    FriendEntry typed = form.initialFields();
    EXPECT_EQ(typed, (FriendEntry{"Carol", "C", "300", "", "3", ""}));

    form.submit(typed);
    EXPECT_EQ(outcome.refusals, std::vector{FriendNotice::SpeedDialUsed});
    EXPECT_FALSE(web.requests.waiting());

    typed.speeddial.clear();
    typed.nickname = "Caz";
    form.submit(typed);
    ASSERT_TRUE(web.requests.waiting());
    const std::string url = web.requests.next().url;
    EXPECT_EQ(queryItem(url, "actionId"), "updateFriendList");
    EXPECT_TRUE(
        queryItem(url, "xmlData").endsWith("<speeddial></speeddial><seqno>1</seqno></xmldata>"));
    EXPECT_TRUE(form.busy());
    web.requests.answer(kAccepted);
    EXPECT_EQ(outcome.accepted, 1);
    EXPECT_EQ(list.rows()[0], (FriendEntry{"Carol", "Caz", "300", "", "", "1"}));
}

TEST_F(AddFriendFormTest, AServerFailureKeepsTheDialogAndTheTable)
{
    struct Case {
        const char* name;
        FriendFormMode mode;
        WebReply reply;
        std::vector<FriendNotice> notices;
    };
    const Case cases[] = {
        {"add refused", FriendFormMode::Add, kRefused, {FriendNotice::ChangeFailed}},
        {"add unreachable",
         FriendFormMode::Add,
         kUnreachable,
         {FriendNotice::OpenUrlException, FriendNotice::ChangeFailed}},
        {"edit refused", FriendFormMode::Edit, kRefused, {FriendNotice::ChangeFailed}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        load({kCarol});
        outcome = {};
        AddFriendForm form(list, c.mode, 0);
        attach(form);
        form.submit({"Eve", "", "12", "", "", ""});
        web.requests.answer(c.reply);
        EXPECT_EQ(outcome.notices, c.notices);
        EXPECT_EQ(outcome.accepted, 0);
        EXPECT_EQ(list.rows(), std::vector{kCarol});
        EXPECT_FALSE(form.busy());
    }
}

TEST_F(AddFriendFormTest, AnAddedFriendTakesTheFirstFreeRow)
{
    load({kCarol});
    AddFriendForm form(list, FriendFormMode::Add);
    attach(form);
    EXPECT_EQ(form.initialFields(), FriendEntry{});
    form.submit({"A&B <C>", "", "12", "", "8", "99"});
    EXPECT_EQ(queryItem(web.requests.next().url, "actionId"), "addFriendList");
    EXPECT_TRUE(
        queryItem(web.requests.next().url, "xmlData").contains("<name>A&amp;B &lt;C&gt;</name>"));
    web.requests.answer(kAccepted);
    EXPECT_EQ(outcome.accepted, 1);
    EXPECT_EQ(list.rows(), (std::vector{kCarol, FriendEntry{"A&B <C>", "", "12", "", "8", ""}}));
}

}
