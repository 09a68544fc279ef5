#include "services/CallRecords.h"
#include "ScriptedServices.h"
#include "support/ServicePrinters.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace {

using namespace orvanta;
using namespace orvanta::test;

const CallRecord kCall{"4420", "2026-01-02 10:00:00", "2026-01-02 10:01:00", "60", "0.03"};
const QString kOneCall = QStringLiteral(
    "<response><status>true</status>\r\n<data><originaldestinationalias>4420"
    "</originaldestinationalias><starttime>2026-01-02 10:00:00</starttime><endtime>2026-01-02 "
    "10:01:00</endtime><callduration>60</callduration><callamount>0.03</callamount></data>"
    "</response>");
const QString kNoCalls = QStringLiteral("<response><status>true</status></response>");

class CallRecordsTest : public testing::Test {
protected:
    CallRecordsTest()
    {
        QObject::connect(&records, &CallRecords::transportFailed,
                         [this](OpenUrlFailure f) { failures.push_back(f); });
    }

    void show(const WebReply& reply)
    {
        records.show();
        ASSERT_TRUE(web.requests.waiting());
        web.requests.answer(reply);
    }

    ScriptedWebApi web;
    ScriptedSession session;
    CallRecords records{web, session};
    std::vector<OpenUrlFailure> failures;
};

TEST_F(CallRecordsTest, ShowFillsTheTableOrSaysNotFound)
{
    struct Case {
        const char* name;
        WebReply before;  // the previous Show's reply
        WebReply reply;
        std::vector<CallRecord> rows;
        CallLogLabel label;
        std::vector<OpenUrlFailure> failures;
    };
    const WebReply withCall{OpenUrlFailure::None, kOneCall};
    const WebReply none{OpenUrlFailure::None, kNoCalls};
    const WebReply refused{OpenUrlFailure::None, "<response><status>false</status></response>"};
    const WebReply unreachable{OpenUrlFailure::Exception, {}};
    const Case cases[] = {
        {"records", none, withCall, {kCall}, CallLogLabel::Blank, {}},
        {"records after a failure clear the label",
         refused,
         withCall,
         {kCall},
         CallLogLabel::Blank,
         {}},
        {"status false", withCall, refused, {}, CallLogLabel::NotFound, {}},
        {"status without records leaves the label", refused, none, {}, CallLogLabel::NotFound, {}},
        {"status without records after records", withCall, none, {}, CallLogLabel::Blank, {}},
        {"empty reply", withCall, {OpenUrlFailure::None, {}}, {}, CallLogLabel::NotFound, {}},
        {"unreachable",
         withCall,
         unreachable,
         {},
         CallLogLabel::NotFound,
         {OpenUrlFailure::Exception}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        show(c.before);
        failures.clear();
        show(c.reply);
        EXPECT_EQ(records.rows(), c.rows);
        EXPECT_EQ(records.label(), c.label);
        EXPECT_EQ(records.lastReply(), c.reply.text);
        EXPECT_EQ(failures, c.failures);
    }
    EXPECT_EQ(web.requests.sent.back(), "http://webapi.test/softphoneRequest.jsp?actionId="
                                        "retrieveLastCalls&subscriberId=alice");
}

TEST_F(CallRecordsTest, ShowEmptiesTheTableFirstSoRecordsAppearOnce)
{
    show({OpenUrlFailure::None, kOneCall});
    records.show();
    EXPECT_TRUE(records.rows().empty());
    EXPECT_TRUE(records.busy());
    records.show();  // the button is disabled meanwhile; a click is dropped
    EXPECT_EQ(web.requests.sent.size(), 2u);
    web.requests.answer({OpenUrlFailure::None, kOneCall});
    EXPECT_EQ(records.rows(), std::vector{kCall});
    EXPECT_FALSE(records.busy());
}

}
