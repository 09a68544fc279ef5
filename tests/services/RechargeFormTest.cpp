#include "services/RechargeForm.h"
#include "ScriptedServices.h"
#include "support/ServicePrinters.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace {

using namespace orvanta;
using namespace orvanta::test;

class RechargeFormTest : public testing::Test {
protected:
    RechargeFormTest()
    {
        session.values["api_url"] = "http://api.test/accountapi";
        QObject::connect(&form, &RechargeForm::notice,
                         [this](RechargeNotice n) { notices.push_back(n); });
    }

    ScriptedAccountApi api;
    ScriptedSession session;
    CountingBalance balance;
    RechargeForm form{api, session, balance};
    std::vector<RechargeNotice> notices;
};

TEST_F(RechargeFormTest, BoxesTellWhenTheyAreFull)
{
    struct Case {
        void (RechargeForm::*edit)(const QString&);
        qsizetype limit;
        RechargeNotice notice;
    };
    const Case cases[] = {
        {&RechargeForm::editVoucher, 15, RechargeNotice::VoucherLimit},
        {&RechargeForm::editAccount, 25, RechargeNotice::AccountLimit},
        {&RechargeForm::editAmount, 10, RechargeNotice::AmountLimit},
    };
    for (const Case& c : cases) {
        notices.clear();
        (form.*c.edit)(QString(c.limit - 1, '1'));
        EXPECT_TRUE(notices.empty()) << c.limit;
        (form.*c.edit)(QString(c.limit, '1'));
        EXPECT_EQ(notices, std::vector{c.notice}) << c.limit;
    }
}

TEST_F(RechargeFormTest, AmountKeepsItsTextUpToTheFirstForeignCharacter)
{
    const std::tuple<QString, QString, RechargeStatus> cases[] = {
        {"12a5", "12", RechargeStatus::AmountNotNumeric},
        {"12.50", "12.50", RechargeStatus::Blank},
        {"..1", "..1", RechargeStatus::Blank},
        {"-3", "", RechargeStatus::AmountNotNumeric},
        {"1 000", "1", RechargeStatus::AmountNotNumeric},
    };
    for (const auto& [typed, kept, status] : cases) {
        form.editAmount(typed);
        EXPECT_EQ(form.amount(), kept) << typed.toStdString();
        EXPECT_EQ(form.status(), status) << typed.toStdString();
    }
}

TEST_F(RechargeFormTest, VoucherRechargeReportsTheServerAndRefreshesTheBalanceOnSuccess)
{
    struct Case {
        const char* name;
        std::string reply;
        QString status;
        QString voucherAfter;
        int refreshes;
    };
    const Case cases[] = {
        {"success", R"({"success":"Recharge done, 2.50 EUR added to your account"})",
         "Recharge done, 2.50 EUR added to your account", "", 1},
        {"error", R"({"error":"Voucher already used"})", "Voucher already used", "V100", 0},
        {"a reply starting with success", R"(success":"x"})", "", "V100", 0},
        {"no reply", "", "", "V100", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        balance.refreshes = 0;
        form.editVoucher("V100");
        form.recharge();
        ASSERT_TRUE(api.requests.waiting());
        EXPECT_EQ(api.requests.next().url, "http://api.test/accountapi?");
        EXPECT_EQ(api.requests.next().body, voucherRequestBody("alice", "V100"));
        EXPECT_TRUE(form.busy());
        api.requests.answer(c.reply);
        EXPECT_FALSE(form.busy());
        EXPECT_EQ(form.status(), RechargeStatus::ServerText);
        EXPECT_EQ(form.serverText(), c.status);
        EXPECT_EQ(form.voucher(), c.voucherAfter);
        EXPECT_EQ(balance.refreshes, c.refreshes);
    }
}

TEST_F(RechargeFormTest, TransferChecksItsBoxesFirst)
{
    struct Case {
        QString account;
        QString amount;
        RechargeStatus status;
    };
    const Case cases[] = {
        {"", "", RechargeStatus::FieldsEmpty},
        {"", "5", RechargeStatus::EnterAccount},
        {"bob", "", RechargeStatus::EnterAmount},
    };
    form.setMode(RechargeMode::PinToPin);
    for (const Case& c : cases) {
        form.editAccount(c.account);
        form.editAmount(c.amount);
        form.transfer();
        EXPECT_EQ(form.status(), c.status)
            << c.account.toStdString() << "/" << c.amount.toStdString();
    }
    EXPECT_FALSE(api.requests.waiting());

    form.editAccount("bob");
    form.editAmount("0.5");
    form.transfer();
    EXPECT_EQ(api.requests.next().body, transferRequestBody("alice", "0.5", "bob"));
    api.requests.answer(R"({"success":"Transferred 0.50 EUR to bob"})");
    EXPECT_EQ(form.serverText(), "Transferred 0.50 EUR to bob");
    EXPECT_TRUE(form.account().isEmpty());
    EXPECT_TRUE(form.amount().isEmpty());
    EXPECT_EQ(balance.refreshes, 1);
}

TEST_F(RechargeFormTest, AVoucherWithoutTheAccountApiIsNotSent)
{
    form.recharge();
    EXPECT_EQ(form.status(), RechargeStatus::EnterVoucher);
    session.values["api_url"] = "";
    form.editVoucher("V1");
    form.recharge();
    EXPECT_EQ(notices, std::vector{RechargeNotice::ContactSupport});
    EXPECT_FALSE(api.requests.waiting());
}

TEST_F(RechargeFormTest, SwitchingModeEmptiesTheShownBoxesAndTheStatus)
{
    form.editVoucher("V1");
    form.recharge();
    api.requests.answer(R"({"error":"Invalid voucher number"})");
    form.setMode(RechargeMode::PinToPin);
    EXPECT_EQ(form.status(), RechargeStatus::Blank);
    form.editAccount("bob");
    form.editAmount("1");
    form.setMode(RechargeMode::Voucher);
    EXPECT_TRUE(form.voucher().isEmpty());
    EXPECT_EQ(form.account(), "bob");
    form.setMode(RechargeMode::PinToPin);
    EXPECT_TRUE(form.account().isEmpty());
    EXPECT_TRUE(form.amount().isEmpty());
}

}
