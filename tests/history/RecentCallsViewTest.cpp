#include "history/RecentCallsView.h"
#include "history/CallTexts.h"
#include "support/DataFolderFixture.h"
#include "support/SideViewFakes.h"

namespace {

using namespace orvanta;

struct DetailsCase {
    const char* name;
    CallKind kind;
    QString duration;
    bool addedThisRun;
    CallIcon icon;
    QString text;
};

TEST(RecentCallsDetails, IconAndDetailsFollowKindDurationAndWhenTheCallWasLogged)
{
    const QString time = "09:05:03 Sun Dec-06-2026";
    const DetailsCase cases[] = {
        {"dialed, cancelled, this run",
         CallKind::Dialed,
         {},
         true,
         CallIcon::UnansweredDialed,
         "\nName                 Ann\nNumber             111\nTime                   " + time +
             "\nComments        Cancelled Call\n"},
        {"dialed, answered, this run", CallKind::Dialed, "00:01:00", true, CallIcon::Answered,
         "\nName                Ann\nNumber            111\nTime                  " + time +
             "\nComments       Answered Call\n"},
        {"received, this run", CallKind::Received, "00:01:00", true, CallIcon::Received,
         "\nName                Ann\nNumber            111\nTime                  " + time +
             "\nDuration            00:01:00\n"},
        {"received without a duration, this run",
         CallKind::Received,
         {},
         true,
         CallIcon::Received,
         "\nName                Ann\nNumber            111\nTime                  " + time +
             "\nDuration            \n"},
        {"missed, this run",
         CallKind::Missed,
         {},
         true,
         CallIcon::Missed,
         "\nNAME                Ann\nNumber             111\nTime                  " + time + "\n"},
        {"dialed, unanswered, from the file",
         CallKind::Dialed,
         {},
         false,
         CallIcon::UnansweredDialed,
         "\nName               Ann\nNumber           111\nTime                 " + time +
             "\nComments      Unanswered Call\n"},
        {"dialed, answered, from the file", CallKind::Dialed, "00:01:00", false, CallIcon::Answered,
         "\nName              Ann\nNumber          111\nTime                " + time +
             "\nDuration         00:01:00\nComments     Answered Call\n"},
        {"received, from the file", CallKind::Received, "00:01:00", false, CallIcon::Received,
         "\nName              Ann\nNumber          111\nTime                " + time +
             "\nDuration          00:01:00\nComments      Answered Call\n"},
        {"received without a duration, from the file",
         CallKind::Received,
         {},
         false,
         CallIcon::Missed,
         "\nName               Ann\nNumber           111\nTime                 " + time +
             "\nComments      Unanswered Call\n"},
        {"missed, from the file",
         CallKind::Missed,
         {},
         false,
         CallIcon::Missed,
         "\nName               Ann\nNumber           111\nTime                 " + time +
             "\nComments      Unanswered Call\n"},
    };
    for (const DetailsCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CallLog::Record record{{"Ann", "111", time, c.duration}, c.addedThisRun, 1};
        EXPECT_EQ(callIconOf(c.kind, record), c.icon);
        EXPECT_EQ(call_texts::details(callDetailsOf(c.kind, record), record.entry), c.text);
    }
}

class RecentCallsViewTest : public DataFolderFixture {
protected:
    CallLog::Sources sources()
    {
        CallLog::Sources s;
        s.numberOfCalls = [] { return QStringLiteral("20"); };
        s.nameOfNumber = [this](const QString& number) { return names.value(number); };
        return s;
    }

    std::vector<QString> shown(CallKind kind) const
    {
        std::vector<QString> out;
        for (const RecentCallsView::Item& item : view.groups()[std::size_t(kind)].items) {
            out.push_back(item.number);
        }
        return out;
    }

    std::uint64_t idOf(CallKind kind, int row) const
    {
        return view.groups()[std::size_t(kind)].items[std::size_t(row)].id;
    }

    QHash<QString, QString> names;
    CallLog log{sources()};
    FakeDialer dialer;
    std::vector<ViewNotice> notices;
    RecentCallsView view{log, dialer, [this](ViewNotice notice) { notices.push_back(notice); }};
};

TEST_F(RecentCallsViewTest, GroupsShowTheNewestFirstAndTheSearchFindsNumberOrName)
{
    names["222"] = "Joanna";
    log.AddCallLogEntry("111", {}, 'D');
    log.AddCallLogEntry("222", {}, 'D');
    log.AddCallLogEntry("3111", "00:00:01", 'R');
    log.AddCallLogEntry("444", {}, 'M');
    EXPECT_EQ(shown(CallKind::Dialed), (std::vector<QString>{"222", "111"}));
    view.setSearch("11");
    EXPECT_EQ(shown(CallKind::Dialed), std::vector<QString>{"111"});
    EXPECT_EQ(shown(CallKind::Received), std::vector<QString>{"3111"});
    EXPECT_TRUE(shown(CallKind::Missed).empty());
    view.setSearch("JOAN");
    EXPECT_EQ(shown(CallKind::Dialed), std::vector<QString>{"222"});
    view.setSearch({});
    EXPECT_EQ(shown(CallKind::Missed), std::vector<QString>{"444"});
}

TEST_F(RecentCallsViewTest, TheSelectionGivesTheTooltipTitleAndTheMenu)
{
    RecentCallsView::Menu menu = view.menu();
    EXPECT_TRUE(menu.forGroup);
    EXPECT_FALSE(menu.deleteAll) << "nothing selected";
    view.selectGroup(CallKind::Missed);
    EXPECT_EQ(view.tooltipTitle(), TooltipTitle::UnansweredCall);
    EXPECT_FALSE(view.menu().deleteAll) << "the tree holds nothing but the groups";
    log.AddCallLogEntry("111", {}, 'M');
    EXPECT_TRUE(view.menu().deleteAll);
    view.selectGroup(CallKind::Received);
    EXPECT_EQ(view.tooltipTitle(), TooltipTitle::AnsweredCall);
    view.selectGroup(CallKind::Dialed);
    EXPECT_EQ(view.tooltipTitle(), TooltipTitle::DialedCall);

    view.selectRecord(idOf(CallKind::Missed, 0));
    EXPECT_EQ(view.tooltipTitle(), TooltipTitle::DialedCall) << "any record reads Dialed Call";
    menu = view.menu();
    EXPECT_FALSE(menu.forGroup);
    EXPECT_TRUE(menu.deleteRecord && menu.call);
    view.clearSelection();
    menu = view.menu();
    EXPECT_FALSE(menu.forGroup) << "the menu keeps the last selection's shape";
    EXPECT_FALSE(menu.deleteRecord || menu.call);
}

TEST_F(RecentCallsViewTest, DeleteTakesTheSelectedRecordAndDeleteAllEmptiesOneGroup)
{
    log.AddCallLogEntry("5", "00:00:01", 'R');
    log.AddCallLogEntry("5", "00:00:02", 'R');
    log.AddCallLogEntry("6", {}, 'M');
    view.deleteSelected();
    EXPECT_EQ(notices, std::vector<ViewNotice>{ViewNotice::NoItemSelected});

    view.selectGroup(CallKind::Received);
    view.deleteSelected();
    EXPECT_EQ(log.list(CallKind::Received).size(), 2u) << "a group is not deleted this way";

    view.selectRecord(idOf(CallKind::Received, 0));  // the newer "5"
    view.deleteSelected();
    ASSERT_EQ(log.list(CallKind::Received).size(), 1u);
    EXPECT_EQ(log.list(CallKind::Received)[0].entry.duration, "00:00:01");
    EXPECT_EQ(view.selection(), std::nullopt);

    view.selectGroup(CallKind::Missed);
    view.deleteAllCalls();
    EXPECT_TRUE(log.list(CallKind::Missed).empty());
    EXPECT_EQ(log.list(CallKind::Received).size(), 1u);
    EXPECT_TRUE(log.waitUntilWritten());
    EXPECT_EQ(decodeCallLogFile(readRaw(kCallLogRecordKind))[1].size(), 1u);
}

TEST_F(RecentCallsViewTest, DeleteAllSparesTheRecordsTheSearchHides)
{
    log.AddCallLogEntry("111", {}, 'D');
    log.AddCallLogEntry("222", {}, 'D');
    view.setSearch("22");
    view.selectGroup(CallKind::Dialed);
    view.deleteAllCalls();
    view.setSearch({});
    EXPECT_EQ(shown(CallKind::Dialed), std::vector<QString>{"111"});
}

struct CallBackCase {
    const char* name;
    bool lineInUse;
    bool allowed;
    std::vector<FakeDialer::Dial> dials;
    std::vector<ViewNotice> notices;
};

TEST_F(RecentCallsViewTest, CallingBackRefusesOrDialsWithTheFirstKnownName)
{
    log.AddCallLogEntry("111", {}, 'M');
    names["111"] = "Ann";
    log.AddCallLogEntry("111", {}, 'D');
    const CallBackCase cases[] = {
        {"line in use", true, true, {}, {ViewNotice::MultipleCallsNotAllowed}},
        {"not registered", false, false, {}, {ViewNotice::NotRegistered}},
        {"dials with the dialed call's name", false, true, {{"111", "Ann"}}, {}},
    };
    for (const CallBackCase& c : cases) {
        SCOPED_TRACE(c.name);
        dialer = FakeDialer{};
        dialer.lineInUse = c.lineInUse;
        dialer.allowed = c.allowed;
        notices.clear();
        view.selectRecord(idOf(CallKind::Dialed, 0));
        EXPECT_EQ(view.callSelected(), !c.dials.empty());
        EXPECT_EQ(dialer.dials, c.dials);
        EXPECT_EQ(notices, c.notices);
        EXPECT_FALSE(dialer.placing);
    }
    view.selectGroup(CallKind::Dialed);
    EXPECT_FALSE(view.callSelected()) << "a group is not called";
}

}
