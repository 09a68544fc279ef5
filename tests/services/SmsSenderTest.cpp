#include "services/SmsSender.h"
#include "ScriptedServices.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace {

using namespace orvanta;
using namespace orvanta::test;

const QString kTemplate = QStringLiteral("http://sms.test/gw?user=u1s1erzzto=d1n2u3mzzmsg=smstext");

class SmsSenderTest : public testing::Test {
protected:
    SmsSenderTest()
    {
        session.values["sms_url"] = kTemplate;
        session.values["sms"] = "on";
        QObject::connect(&sender, &SmsSender::notice,
                         [this](SmsNotice n) { notices.push_back(n); });
        QObject::connect(&sender, &SmsSender::numberWanted, [this] { ++numberWanted; });
    }

    ScriptedSmsGateway gateway;
    ScriptedSession session;
    CountingBalance balance;
    SmsSender sender{gateway, session, balance};
    std::vector<SmsNotice> notices;
    int numberWanted = 0;
};

TEST_F(SmsSenderTest, TheCounterFollowsTheMessageAndThe161stCharacterIsCut)
{
    sender.editMessage(QString(159, 'a'));
    EXPECT_EQ(sender.remaining(), 1);
    sender.editMessage(QString(160, 'a'));
    EXPECT_EQ(sender.remaining(), 0);
    EXPECT_TRUE(notices.empty());
    sender.editMessage(QString(160, 'a') + "b");
    EXPECT_EQ(sender.message(), QString(160, 'a'));
    EXPECT_EQ(sender.remaining(), 0);
    EXPECT_EQ(notices, std::vector{SmsNotice::TooLong});

    sender.editNumber(QString(25, '1'));
    EXPECT_EQ(notices.back(), SmsNotice::NumberLimit);
}

TEST_F(SmsSenderTest, SendChecksInOrderBeforeAsking)
{
    struct Case {
        const char* name;
        QString sms;
        QString smsUrl;
        QString number;
        QString message;
        SmsStatus status;
        std::vector<SmsNotice> notices;
        int numberWanted;
    };
    const Case cases[] = {
        {"sms off does nothing at all", "off", kTemplate, "4420", "hi", SmsStatus::Blank, {}, 0},
        {"no number", "on", kTemplate, "", "hi", SmsStatus::Blank, {}, 1},
        {"no message", "on", kTemplate, "4420", "", SmsStatus::EnterMessage, {}, 0},
        {"no gateway", "on", "", "4420", "hi", SmsStatus::Blank, {SmsNotice::SmsDisabled}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        notices.clear();
        numberWanted = 0;
        session.values["sms"] = c.sms;
        session.values["sms_url"] = c.smsUrl;
        sender.editMessage(c.message);
        sender.send(c.number);
        EXPECT_EQ(sender.status(), c.status);
        EXPECT_EQ(notices, c.notices);
        EXPECT_EQ(numberWanted, c.numberWanted);
        EXPECT_FALSE(gateway.requests.waiting());
    }
}

TEST_F(SmsSenderTest, TheResponseIsShownAndOnlySuccessEmptiesTheMessage)
{
    struct Case {
        const char* name;
        WebReply reply;
        SmsStatus status;
        QString response;
        QString messageAfter;
        std::vector<SmsNotice> notices;
        int refreshes;
    };
    const Case cases[] = {
        {"sent",
         {OpenUrlFailure::None, R"({"response":"Your Message Sent Successfully"})"},
         SmsStatus::Response,
         "Your Message Sent Successfully",
         "",
         {},
         1},
        {"refused",
         {OpenUrlFailure::None, R"({"response":"Insufficient balance"})"},
         SmsStatus::Response,
         "Insufficient balance",
         "Hi & bye",
         {},
         0},
        {"unreadable",
         {OpenUrlFailure::None, "Internal Server Error"},
         SmsStatus::Response,
         "",
         "Hi & bye",
         {},
         0},
        {"unreachable",
         {OpenUrlFailure::Exception, {}},
         SmsStatus::Blank,
         "",
         "Hi & bye",
         {SmsNotice::OpenUrlException},
         0},
        {"unusable address",
         {OpenUrlFailure::NoFile, {}},
         SmsStatus::Blank,
         "",
         "Hi & bye",
         {SmsNotice::OpenUrlNoFile},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        notices.clear();
        balance.refreshes = 0;
        sender.editMessage("Hi & bye");
        sender.send("+44 20");
        ASSERT_TRUE(gateway.requests.waiting());
        EXPECT_EQ(gateway.requests.next().url,
                  "http://sms.test/gw?user=alice&to=%2B44%2020&msg=Hi%20%26%20bye");
        EXPECT_TRUE(sender.busy());
        sender.send("+44 20");  // dropped while the first runs
        gateway.requests.answer(c.reply);
        EXPECT_FALSE(gateway.requests.waiting());
        EXPECT_EQ(sender.status(), c.status);
        EXPECT_EQ(sender.response(), c.response);
        EXPECT_EQ(sender.message(), c.messageAfter);
        EXPECT_EQ(sender.remaining(), 160 - c.messageAfter.size());
        EXPECT_EQ(notices, c.notices);
        EXPECT_EQ(balance.refreshes, c.refreshes);
    }
}

TEST_F(SmsSenderTest, ClearEmptiesAMessageThatHoldsText)
{
    sender.editMessage("");
    sender.send("1");
    sender.clear();
    EXPECT_EQ(sender.status(), SmsStatus::EnterMessage);  // nothing to clear
    sender.editMessage("abc");
    sender.clear();
    EXPECT_TRUE(sender.message().isEmpty());
    EXPECT_EQ(sender.remaining(), 160);
    EXPECT_EQ(sender.status(), SmsStatus::Blank);
}

}
