#include "history/CCall.h"
#include "controls/MessageBox.h"
#include "support/DataFolderFixture.h"
#include "support/SideViewFakes.h"

#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

namespace {

using namespace orvanta;

class CCallTest : public DataFolderFixture {
protected:
    void SetUp() override
    {
        DataFolderFixture::SetUp();
        setMessageBoxHandler([this](const MessageBoxRequest& request) {
            messages.push_back(request.text);
            return true;
        });
    }
    void TearDown() override { setMessageBoxHandler({}); }

    static CallLog::Sources sources()
    {
        CallLog::Sources s;
        s.numberOfCalls = [] { return QStringLiteral("10"); };
        s.nameOfNumber = [](const QString& number) {
            return number == "111" ? QStringLiteral("Ann") : QString();
        };
        s.now = [] { return QDateTime(QDate(2026, 12, 6), QTime(9, 5, 3)); };
        return s;
    }

    QTreeWidgetItem* group(int index) const { return window.tree()->topLevelItem(index); }

    QStringList children(int index) const
    {
        QStringList texts;
        for (int i = 0; i < group(index)->childCount(); ++i) {
            texts.append(group(index)->child(i)->text(0));
        }
        return texts;
    }

    QPoint centre(QTreeWidgetItem* item) const
    {
        return window.tree()->visualItemRect(item).center();
    }

    void click(QTreeWidgetItem* item)
    {
        QTest::mouseClick(window.tree()->viewport(), Qt::LeftButton, {}, centre(item));
    }

    CallLog log{sources()};
    FakeDialer dialer;
    CCall window{log, dialer};
    std::vector<QString> messages;
};

TEST_F(CCallTest, ThreeGroupsHoldTheirCallsNewestFirst)
{
    log.AddCallLogEntry("111", "00:00:10", 'D');
    log.AddCallLogEntry("222", {}, 'D');
    log.AddCallLogEntry("333", "00:01:00", 'R');
    ASSERT_EQ(window.tree()->topLevelItemCount(), 3);
    EXPECT_EQ(group(0)->text(0), "Dialed Calls");
    EXPECT_EQ(group(1)->text(0), "Received Calls");
    EXPECT_EQ(group(2)->text(0), "Missed Calls");
    EXPECT_EQ(children(0), (QStringList{"222", "111"}));
    EXPECT_EQ(children(1), QStringList{"333"});
    EXPECT_TRUE(children(2).isEmpty());
    QTest::keyClicks(window.searchBox(), "33");
    EXPECT_TRUE(children(0).isEmpty());
    EXPECT_EQ(children(1), QStringList{"333"});
}

TEST_F(CCallTest, HoveringShowsTheDetailsUnderTheSelectionsTitle)
{
    log.AddCallLogEntry("111", {}, 'M');
    window.show();
    click(group(1));
    QTest::mouseMove(window.tree()->viewport(), centre(group(2)->child(0)));
    ASSERT_TRUE(window.tooltip().isVisible());
    EXPECT_EQ(window.tooltip().title(), "Answered Call");
    EXPECT_EQ(window.tooltip().body(), "\nNAME                Ann\nNumber             111\n"
                                       "Time                  09:05:03 Sun Dec-06-2026\n");
    QTest::mouseMove(window.tree()->viewport(), centre(group(0)));
    EXPECT_FALSE(window.tooltip().isVisible()) << "a group has no details";
    EXPECT_EQ(window.tooltip().style().maxWidth, 2000);
    EXPECT_EQ(window.tooltip().style().duration, std::chrono::milliseconds(9000));
    EXPECT_TRUE(window.tooltip().style().informationIcon);
}

TEST_F(CCallTest, TheOptionsButtonOpensTheMenuOfTheSelection)
{
    window.show();
    EXPECT_EQ(window.currentMenu(), window.groupMenu());
    EXPECT_FALSE(window.groupMenu()->actions().at(0)->isEnabled());
    log.AddCallLogEntry("111", {}, 'M');
    click(group(2));
    EXPECT_TRUE(window.currentMenu()->actions().at(0)->isEnabled());
    EXPECT_EQ(window.groupMenu()->actions().at(0)->text(), "Delete All Calls");
    window.groupMenu()->actions().at(0)->trigger();
    EXPECT_TRUE(log.list(CallKind::Missed).empty());
    EXPECT_TRUE(group(2)) << "the group stays";

    log.AddCallLogEntry("222", {}, 'D');
    click(group(0)->child(0));
    ASSERT_EQ(window.currentMenu(), window.recordMenu());
    EXPECT_EQ(window.recordMenu()->actions().at(0)->text(), "Delete");
    EXPECT_EQ(window.recordMenu()->actions().at(1)->text(), "Call");
    window.recordMenu()->actions().at(1)->trigger();
    EXPECT_EQ(dialer.dials, (std::vector<FakeDialer::Dial>{{"222", ""}}));
    EXPECT_FALSE(window.isVisible());
}

TEST_F(CCallTest, TheDeleteKeyAndDoubleClickWorkOnRecords)
{
    log.AddCallLogEntry("111", {}, 'D');
    log.AddCallLogEntry("222", {}, 'D');
    window.show();
    EXPECT_EQ(window.focusWidget(), window.optionsButton());
    window.tree()->setFocus();
    QTest::keyClick(window.tree(), Qt::Key_Delete);
    EXPECT_EQ(messages, std::vector<QString>{"No Item Selected, First Select an Item"});
    click(group(0)->child(1));
    QTest::keyClick(window.tree(), Qt::Key_Delete);
    EXPECT_EQ(children(0), QStringList{"222"});

    dialer.lineInUse = true;
    click(group(0)->child(0));
    QTest::mouseDClick(window.tree()->viewport(), Qt::LeftButton, {}, centre(group(0)->child(0)));
    EXPECT_EQ(messages.back(), "Multiple calls are not allowed in the application");
    dialer.lineInUse = false;
    QTest::mouseDClick(window.tree()->viewport(), Qt::LeftButton, {}, centre(group(0)));
    EXPECT_TRUE(dialer.dials.empty()) << "a group is not called";
    click(group(0)->child(0));
    QTest::mouseDClick(window.tree()->viewport(), Qt::LeftButton, {}, centre(group(0)->child(0)));
    EXPECT_EQ(dialer.dials, (std::vector<FakeDialer::Dial>{{"222", ""}}));
    EXPECT_FALSE(window.isVisible());

    log.AddCallLogEntry("333", {}, 'R');
    window.show();
    EXPECT_EQ(window.model().selection(), std::nullopt) << "showing clears the selection";
}

}
