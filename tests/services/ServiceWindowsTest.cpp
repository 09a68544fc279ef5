// The account-service windows offscreen, against scripted clients.
#include "ListRows.h"
#include "ScriptedServices.h"
#include "controls/MessageBox.h"
#include "services/CAddToFriend.h"
#include "services/CCallInformation.h"
#include "services/CFriendList.h"
#include "services/CRates.h"
#include "services/CRecharge.h"
#include "services/CSMSWindow.h"
#include "support/DataFolderFixture.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

using namespace orvanta;
using namespace orvanta::test;

const WebReply kTwoFriends{
    OpenUrlFailure::None,
    "<response><status>true</status>"
    "<data><name>Carol</name><nickname>C</nickname><pcphone>300</pcphone><fax></fax>"
    "<seqno>1</seqno><speeddial>3</speeddial></data>"
    "<data><name>Dave</name><nickname></nickname><pcphone>400</pcphone><fax>55</fax>"
    "<seqno>2</seqno><speeddial></speeddial></data></response>"};

class ServiceWindowsTest : public DataFolderFixture {
protected:
    void SetUp() override
    {
        DataFolderFixture::SetUp();
        session.values = {{"api_url", "http://api.test/accountapi"},
                          {"sms_url", "http://sms.test/gw?to=d1n2u3mzzmsg=smstext"},
                          {"sms", "on"}};
        setMessageBoxHandler([this](const MessageBoxRequest& request) {
            messages.push_back(request.text);
            return confirmAnswer;
        });
    }
    void TearDown() override { setMessageBoxHandler({}); }

    ScriptedSession session;
    CountingBalance balance;
    std::vector<QString> messages;
    bool confirmAnswer = true;
};

TEST_F(ServiceWindowsTest, FriendListFetchesOnOpeningAndShowsBusyMeanwhile)
{
    ScriptedWebApi web;
    FriendList friends(web, session);
    CFriendList window(friends);
    EXPECT_EQ(window.windowTitle(), "Friend List");
    window.show();
    ASSERT_TRUE(web.requests.waiting());
    EXPECT_EQ(window.cursor().shape(), Qt::WaitCursor);
    EXPECT_FALSE(window.addButton()->isEnabled());
    EXPECT_FALSE(window.deleteButton()->isEnabled());
    web.requests.answer(kTwoFriends);
    EXPECT_NE(window.cursor().shape(), Qt::WaitCursor);
    EXPECT_TRUE(window.addButton()->isEnabled());

    QStringList headers;
    for (int column = 0; column < window.list()->columnCount(); ++column) {
        headers << window.list()->headerItem()->text(column);
        EXPECT_EQ(window.list()->columnWidth(column), window.list()->viewport()->width() / 5);
    }
    EXPECT_EQ(headers, (QStringList{"Name", "NickName", "Phone", "Fax", "SpeedDial"}));
    EXPECT_EQ(rowTexts(window.list()), (std::vector<QString>{"Carol|C|300||3", "Dave||400|55|"}));
}

TEST_F(ServiceWindowsTest, DeleteAsksAboutTheSelectedFriend)
{
    ScriptedWebApi web;
    FriendList friends(web, session);
    CFriendList window(friends);
    window.show();
    web.requests.answer(kTwoFriends);

    QTest::mouseClick(window.deleteButton(), Qt::LeftButton);
    EXPECT_EQ(messages, std::vector<QString>{"No Item Selected, First Select an Item"});
    QTest::mouseClick(window.editButton(), Qt::LeftButton);
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_FALSE(window.findChild<CAddToFriend*>());

    messages.clear();
    window.list()->setCurrentItem(window.list()->topLevelItem(1));
    confirmAnswer = false;
    QTest::mouseClick(window.deleteButton(), Qt::LeftButton);
    EXPECT_EQ(messages,
              std::vector<QString>{"Do you really want to delete 'Dave' from Friend list ?"});
    EXPECT_FALSE(web.requests.waiting());

    confirmAnswer = true;
    QTest::mouseClick(window.deleteButton(), Qt::LeftButton);
    ASSERT_TRUE(web.requests.waiting());
    EXPECT_EQ(queryItem(web.requests.next().url, "actionId"), "deleteFriendList");
    web.requests.answer({OpenUrlFailure::None, "<status>false"});
    EXPECT_EQ(messages.back(), "Server not responding, please try after some time");
}

TEST_F(ServiceWindowsTest, AddFriendRefusesWithTheNameFocusedAndClosesOnSuccess)
{
    ScriptedWebApi web;
    FriendList friends(web, session);
    CFriendList window(friends);
    window.show();
    web.requests.answer(kTwoFriends);
    window.list()->setCurrentItem(window.list()->topLevelItem(0));
    QTest::mouseClick(window.editButton(), Qt::LeftButton);
    auto* form = window.findChild<CAddToFriend*>();
    ASSERT_TRUE(form);
    EXPECT_EQ(form->windowTitle(), "Add Friend");
    EXPECT_EQ(form->nameEdit()->text(), "Carol");
    EXPECT_EQ(form->speedDialEdit()->text(), "3");

    form->faxEdit()->setFocus();
    QTest::mouseClick(form->okButton(), Qt::LeftButton);
    EXPECT_EQ(messages, std::vector<QString>{"This Speed Dial already used"});
    EXPECT_EQ(form->focusWidget(), form->nameEdit());
    EXPECT_FALSE(web.requests.waiting());

    form->speedDialEdit()->setText("7");
    QTest::mouseClick(form->okButton(), Qt::LeftButton);
    ASSERT_TRUE(web.requests.waiting());
    EXPECT_FALSE(form->okButton()->isEnabled());
    web.requests.answer({OpenUrlFailure::Exception, {}});
    EXPECT_EQ(messages, (std::vector<QString>{
                            "This Speed Dial already used", "Received Exception from OpenURL()",
                            "Server is not responding, please try after some time"}));
    EXPECT_TRUE(form->isVisible());

    const QPointer<CAddToFriend> closing(form);
    QTest::mouseClick(form->okButton(), Qt::LeftButton);
    web.requests.answer({OpenUrlFailure::None, "<status>true"});
    EXPECT_TRUE(!closing || !closing->isVisible());
    // The list is fetched again after the change.
    ASSERT_TRUE(web.requests.waiting());
    EXPECT_EQ(queryItem(web.requests.next().url, "actionId"), "retrieveFriendList");
}

TEST_F(ServiceWindowsTest, CallLogKeepsItsMinimumAndItsColumnShares)
{
    ScriptedWebApi web;
    CCallInformation window(web, session);
    EXPECT_EQ(window.windowTitle(), "Call Log");
    window.show();
    window.resize(300, 200);
    EXPECT_EQ(window.size(), QSize(550, 350));
    window.resize(840, 400);
    QTest::qWait(0);
    const int fifth = window.list()->width() / 5;
    EXPECT_EQ(window.list()->geometry(), QRect(20, 60, 800, 300));
    const std::pair<int, double> shares[] = {{0, 1.3}, {1, 1.3}, {2, 0.7}, {3, 0.7}, {4, 1.0}};
    for (const auto& [column, share] : shares) {
        EXPECT_NEAR(window.list()->columnWidth(column), share * fifth, 1.0) << column;
    }

    QTest::mouseClick(window.showButton(), Qt::LeftButton);
    EXPECT_FALSE(window.showButton()->isEnabled());
    web.requests.answer({OpenUrlFailure::None,
                         "<status>true<data><originaldestinationalias>4420"
                         "</originaldestinationalias><starttime>s</starttime><endtime>e</endtime>"
                         "<callduration>60</callduration><callamount>0.03</callamount></data>"});
    EXPECT_EQ(rowTexts(window.list()), std::vector<QString>{"s|e|60|0.03|4420"});
    EXPECT_EQ(window.label()->text(), "");
    QTest::mouseClick(window.showButton(), Qt::LeftButton);
    web.requests.answer({OpenUrlFailure::None, "<status>false"});
    EXPECT_TRUE(rowTexts(window.list()).empty());
    EXPECT_EQ(window.label()->text(), "Call Log Not Found");
}

TEST_F(ServiceWindowsTest, RatesShowsEachAnswerInItsLine)
{
    ScriptedAccountApi api;
    CRates window(api, session);
    EXPECT_EQ(window.windowTitle(), "Rates");
    window.show();
    const std::pair<std::string, QString> answers[] = {
        {R"({"rate":"0.02","mins":"150"})",
         "Rate for the given number is =0.02 and Duration=150 mins"},
        {R"({"rate":"0.02","mins":"0"})", "Zero mins"},
        {"<html>", "Invalid Request"},
    };
    for (const auto& [reply, shown] : answers) {
        QTest::mouseClick(window.checkButton(), Qt::LeftButton);
        EXPECT_FALSE(window.checkButton()->isEnabled());
        EXPECT_EQ(window.cursor().shape(), Qt::WaitCursor);
        api.requests.answer(reply);
        EXPECT_EQ(window.resultLabel()->text(), shown);
        EXPECT_TRUE(window.checkButton()->isEnabled());
    }
    QTest::keyClicks(window.numberEdit(), QString(26, '4'));
    EXPECT_EQ(window.numberEdit()->text().size(), 25);
    EXPECT_EQ(messages, std::vector<QString>{"You can enter only upto 25 digits"});
}

TEST_F(ServiceWindowsTest, RechargeShowsOneModeAtATimeAndKeepsTheServersSentence)
{
    ScriptedAccountApi api;
    CRecharge window(api, session, balance);
    EXPECT_EQ(window.windowTitle(), "Recharge/Funds Transfer");
    window.show();
    EXPECT_TRUE(window.voucherEdit()->isVisible());
    EXPECT_FALSE(window.amountEdit()->isVisible());
    EXPECT_FALSE(window.transferButton()->isVisible());

    QTest::mouseClick(window.rechargeButton(), Qt::LeftButton);
    EXPECT_EQ(window.statusLabel()->text(), "Please enter Voucher number");
    QTest::keyClicks(window.voucherEdit(), "V100");
    EXPECT_EQ(window.statusLabel()->text(), "");
    QTest::mouseClick(window.rechargeButton(), Qt::LeftButton);
    EXPECT_FALSE(window.voucherEdit()->isEnabled());
    api.requests.answer(R"({"success":"Recharge done, 2.50 EUR added to your account"})");
    EXPECT_EQ(window.statusLabel()->text(), "Recharge done, 2.50 EUR added to your account");
    EXPECT_EQ(window.voucherEdit()->text(), "");
    EXPECT_EQ(balance.refreshes, 1);

    window.transferMode()->click();
    EXPECT_FALSE(window.voucherEdit()->isVisible());
    EXPECT_TRUE(window.amountEdit()->isVisible());
    EXPECT_EQ(window.statusLabel()->text(), "");
    window.amountEdit()->setFocus();
    window.amountEdit()->insert("12a5");
    EXPECT_EQ(window.amountEdit()->text(), "12");
    EXPECT_EQ(window.amountEdit()->cursorPosition(), 2);
    EXPECT_EQ(window.statusLabel()->text(), "Recharge Amount should be in Numericals");
    QTest::mouseClick(window.transferButton(), Qt::LeftButton);
    EXPECT_EQ(window.statusLabel()->text(), "Please enter Account number");
}

TEST_F(ServiceWindowsTest, SmsCountsDownAndCutsThe161stCharacter)
{
    ScriptedSmsGateway gateway;
    CSMSWindow window(gateway, session, balance);
    EXPECT_EQ(window.windowTitle(), "SMS");
    window.show();
    EXPECT_EQ(window.counterLabel()->text(), "160");
    window.messageEdit()->setFocus();
    QTest::keyClicks(window.messageEdit(), QString(159, 'a'));
    EXPECT_EQ(window.counterLabel()->text(), "1");
    QTest::keyClicks(window.messageEdit(), "bc");
    EXPECT_EQ(window.messageEdit()->toPlainText(), QString(159, 'a') + "b");
    EXPECT_EQ(window.counterLabel()->text(), "0");
    EXPECT_EQ(messages, std::vector<QString>{"Only 160 characters are allowed"});

    QTest::mouseClick(window.sendButton(), Qt::LeftButton);
    EXPECT_EQ(window.focusWidget(), window.numberEdit());
    EXPECT_FALSE(gateway.requests.waiting());
    QTest::keyClicks(window.numberEdit(), "4420");
    QTest::mouseClick(window.sendButton(), Qt::LeftButton);
    ASSERT_TRUE(gateway.requests.waiting());
    EXPECT_FALSE(window.messageEdit()->isEnabled());
    EXPECT_EQ(window.cursor().shape(), Qt::WaitCursor);
    gateway.requests.answer(
        {OpenUrlFailure::None, R"({"response":"Your Message Sent Successfully"})"});
    EXPECT_EQ(window.statusLabel()->text(), "Your Message Sent Successfully");
    EXPECT_EQ(window.messageEdit()->toPlainText(), "");
    EXPECT_EQ(window.counterLabel()->text(), "160");
    EXPECT_EQ(balance.refreshes, 1);

    QTest::mouseClick(window.sendButton(), Qt::LeftButton);
    EXPECT_EQ(window.statusLabel()->text(), "Please enter your Message");
}

}
