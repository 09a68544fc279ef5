#include "services/RateLookup.h"
#include "ScriptedServices.h"
#include "support/ServicePrinters.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace {

using namespace orvanta;
using namespace orvanta::test;

class RateLookupTest : public testing::Test {
protected:
    RateLookupTest()
    {
        session.values["api_url"] = "http://api.test/accountapi";
        QObject::connect(&lookup, &RateLookup::notice,
                         [this](RatesNotice n) { notices.push_back(n); });
    }

    ScriptedAccountApi api;
    ScriptedSession session;
    RateLookup lookup{api, session};
    std::vector<RatesNotice> notices;
};

TEST_F(RateLookupTest, AsksForTheNumbersRateAndShowsTheAnswer)
{
    lookup.check("442071234567");
    ASSERT_EQ(api.requests.sent.size(), 1u);
    EXPECT_EQ(api.requests.next().url, "http://api.test/accountapi?");
    EXPECT_EQ(api.requests.next().body, rateRequestBody("alice", "442071234567"));
    EXPECT_TRUE(lookup.busy());
    lookup.check("1");  // dropped while the first runs
    EXPECT_EQ(api.requests.sent.size(), 1u);
    api.requests.answer(R"({"rate":"0.02","mins":"150"})");
    EXPECT_EQ(lookup.result(), (RateAnswer{RateOutcome::Rate, "0.02", "150"}));
    EXPECT_FALSE(lookup.busy());

    // A failed exchange leaves an empty reply.
    lookup.check("442071234567");
    EXPECT_FALSE(lookup.result());
    api.requests.answer("");
    EXPECT_EQ(lookup.result(), RateAnswer{});
}

TEST_F(RateLookupTest, WithoutTheAccountApiNothingIsAsked)
{
    lookup.check("1");
    api.requests.answer(R"({"rate":"0.02","mins":"150"})");
    session.values["api_url"] = "";
    lookup.check("1");
    EXPECT_EQ(notices, std::vector{RatesNotice::ContactSupport});
    EXPECT_FALSE(lookup.result());
    EXPECT_EQ(api.requests.sent.size(), 1u);
}

TEST_F(RateLookupTest, TheNumberBoxTellsWhenItIsFull)
{
    lookup.numberEdited(QString(24, '1'));
    EXPECT_TRUE(notices.empty());
    lookup.numberEdited(QString(25, '1'));
    EXPECT_EQ(notices, std::vector{RatesNotice::NumberLimit});
}

}
