// The account-service windows against the service stand-in, with its faults.
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
#include "support/ServiceProcess.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace {

using namespace orvanta;
using namespace orvanta::test;

constexpr int kTimeLimitMs = 1500;
// How much later than the time limit a failure may be reported on a busy
// machine.
constexpr int kSlackMs = 1500;

const char kScenario[] = R"({
  "accounts": [
    {"user": "alice", "password": "pw1", "sipPassword": "s1", "balance": "3.00", "currency": "EUR"},
    {"user": "bob", "password": "pw2", "sipPassword": "s2", "balance": "0.01", "currency": "EUR"}
  ],
  "rates": {"default": "0.10", "numbers": {"442071234567": "0.02"}},
  "smsPrice": "0.05",
  "vouchers": [{"code": "V100", "amount": "2.50"}, {"code": "V1", "amount": "1.00"},
               {"code": "V2", "amount": "1.00"}, {"code": "V3", "amount": "1.00"},
               {"code": "V4", "amount": "1.00"}],
  "friends": {"alice": [{"name": "Carol", "nickname": "C", "pcphone": "300", "fax": "",
                         "speeddial": "3"}]},
  "lastCalls": {"alice": [{"originaldestinationalias": "4420", "starttime": "2026-01-02 10:00:00",
                           "endtime": "2026-01-02 10:01:00", "callduration": "60",
                           "callamount": "0.03"}]}
})";

// The faults every window is tried with, as scenario fragments.
struct Fault {
    const char* name;
    const char* json;     // the endpoint's fault member
    bool transportFails;  // the request itself fails, as opposed to a bad reply
};
const Fault kFaults[] = {
    {"delay beyond the time limit", R"({"delayMs": 4000})", true},
    {"garbage", R"({"reply": "garbage"})", false},
    {"HTTP 500", R"({"reply": "http500"})", false},
    {"closed mid-reply", R"({"reply": "closeMidReply"})", true},
};

// Measures the longest time the GUI thread went without running a timer.
class ResponsivenessProbe {
public:
    ResponsivenessProbe()
    {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout,
                         [this] { worstGap_ = std::max(worstGap_, clock_.restart()); });
        clock_.start();
        timer_.start();
    }
    qint64 worstGapMs() const { return worstGap_; }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 worstGap_ = 0;
};

class AgainstService : public DataFolderFixture {
protected:
    void SetUp() override
    {
        DataFolderFixture::SetUp();
        std::ofstream(temp_ / "scenario.json") << kScenario;
        ASSERT_TRUE(service.start(temp_ / "scenario.json")) << service.error();
        deployment.webApiUrl = QString::fromStdString(service.url("webapi"));
        deployment.portalUrl = QString::fromStdString(service.url("portal"));
        deployment.requestTimeoutMs = kTimeLimitMs;
        const QJsonObject provisioning = state().value("provisioning").toObject();
        for (const char* key : {"api_url", "sms_url", "sms"}) {
            session.values[key] = provisioning.value(key).toString();
        }
        setMessageBoxHandler([this](const MessageBoxRequest& request) {
            messages.push_back(request.text);
            return true;
        });
    }
    void TearDown() override
    {
        setMessageBoxHandler({});
        service.stop();
    }

    QJsonObject state() const
    {
        return QJsonDocument::fromJson(QByteArray::fromStdString(service.state())).object();
    }

    QString balanceOf(const QString& user) const
    {
        for (const QJsonValue account : state().value("accounts").toArray()) {
            if (account["user"].toString() == user) {
                return account["balance"].toString();
            }
        }
        return "<none>";
    }

    void setFault(const std::string& endpoint, const std::string& fault)
    {
        ASSERT_EQ(service.control(R"({"faults": {")" + endpoint + R"(": )" + fault + "}}"), "");
    }

    // Waits until done() holds or the time runs out; false when it ran out.
    static bool waitFor(const std::function<bool()>& done, int timeoutMs = 5000)
    {
        return QTest::qWaitFor(done, timeoutMs);
    }

    ServiceProcess service;
    DeploymentSettings deployment;
    ScriptedSession session;
    CountingBalance balance;
    std::vector<QString> messages;
};

struct FriendFields {
    QString name, nickname, pcphone, fax, speeddial;
};

void fillForm(CAddToFriend& form, const FriendFields& f)
{
    form.nameEdit()->setText(f.name);
    form.nicknameEdit()->setText(f.nickname);
    form.pcPhoneEdit()->setText(f.pcphone);
    form.faxEdit()->setText(f.fax);
    form.speedDialEdit()->setText(f.speeddial);
    QTest::mouseClick(form.okButton(), Qt::LeftButton);
}

TEST_F(AgainstService, FriendsKeepTheirMarkupThroughAddEditAndDelete)
{
    WebApiClient web(deployment);
    FriendList friends(web, session);
    CFriendList window(friends);
    window.show();
    ASSERT_TRUE(waitFor([&] { return window.list()->topLevelItemCount() == 1; }));
    EXPECT_EQ(rowTexts(window.list()), std::vector<QString>{"Carol|C|300||3"});

    QTest::mouseClick(window.addButton(), Qt::LeftButton);
    QPointer<CAddToFriend> form = window.findChild<CAddToFriend*>();
    ASSERT_TRUE(form);
    fillForm(*form, {"A&B <C>", "x+y z", "12", "", "8"});
    ASSERT_TRUE(waitFor(
        [&] { return !form && window.list()->topLevelItemCount() == 2 && !friends.busy(); }));
    EXPECT_EQ(service.waitForRequests(1, "webapi.addFriendList").at(0).extra.at("name"), "A&B <C>");
    EXPECT_EQ(rowTexts(window.list())[1], "A&B <C>|x+y z|12||8");

    window.list()->setCurrentItem(window.list()->topLevelItem(1));
    QTest::mouseClick(window.editButton(), Qt::LeftButton);
    form = window.findChild<CAddToFriend*>();
    ASSERT_TRUE(form);
    fillForm(*form, {"A&B <C>", "\"q\" 'r'", "12", "77", ""});
    ASSERT_TRUE(waitFor([&] { return !form && !friends.busy(); }));
    EXPECT_EQ(rowTexts(window.list())[1], "A&B <C>|\"q\" 'r'|12|77|");

    window.list()->setCurrentItem(window.list()->topLevelItem(1));
    QTest::mouseClick(window.deleteButton(), Qt::LeftButton);
    ASSERT_TRUE(
        waitFor([&] { return window.list()->topLevelItemCount() == 1 && !friends.busy(); }));
    EXPECT_EQ(messages,
              std::vector<QString>{"Do you really want to delete 'A&B <C>' from Friend list ?"});
    EXPECT_EQ(rowTexts(window.list()), std::vector<QString>{"Carol|C|300||3"});
}

TEST_F(AgainstService, AddFriendReportsEachFaultInTimeAndStaysOpen)
{
    WebApiClient web(deployment);
    FriendList friends(web, session);
    CFriendList window(friends);
    window.show();
    ASSERT_TRUE(waitFor([&] { return !friends.busy(); }));
    int round = 0;
    for (const Fault& fault : kFaults) {
        SCOPED_TRACE(fault.name);
        setFault("webapi.addFriendList", fault.json);
        messages.clear();
        QTest::mouseClick(window.addButton(), Qt::LeftButton);
        CAddToFriend* form = window.findChild<CAddToFriend*>();
        ASSERT_TRUE(form);
        ResponsivenessProbe probe;
        QElapsedTimer clock;
        clock.start();
        fillForm(*form, {"Friend" + QString::number(++round), "", "12", "", ""});
        EXPECT_FALSE(form->okButton()->isEnabled());
        ASSERT_TRUE(waitFor([&] { return form->okButton()->isEnabled(); }));
        EXPECT_LE(clock.elapsed(), kTimeLimitMs + kSlackMs);
        EXPECT_LT(probe.worstGapMs(), 500);
        std::vector<QString> expected;
        if (fault.transportFails) {
            expected.push_back("Received Exception from OpenURL()");
        }
        expected.push_back("Server is not responding, please try after some time");
        EXPECT_EQ(messages, expected);
        EXPECT_TRUE(form->isVisible());
        form->reject();
        QTest::qWait(0);
    }
}

TEST_F(AgainstService, OpeningTheFriendListPastTheTimeLimitSaysSoAndKeepsTheList)
{
    setFault("webapi.retrieveFriendList", R"({"delayMs": 4000})");
    WebApiClient web(deployment);
    FriendList friends(web, session);
    CFriendList window(friends);
    QElapsedTimer clock;
    clock.start();
    window.show();
    ASSERT_TRUE(waitFor([&] { return window.addButton()->isEnabled(); }));
    EXPECT_LE(clock.elapsed(), kTimeLimitMs + kSlackMs);
    EXPECT_EQ(messages, std::vector<QString>{"Received Exception from OpenURL()"});
    EXPECT_EQ(window.list()->topLevelItemCount(), 0);
}

TEST_F(AgainstService, AFriendListLongerThanTenThousandBytesIsCutThere)
{
    std::string friendsJson;
    for (int i = 0; i < 150; ++i) {
        friendsJson += (i ? "," : "") + std::string(R"({"name": "Friend)") +
                       std::to_string(1000 + i) + R"(", "pcphone": "4420712345670000"})";
    }
    ASSERT_EQ(service.control(R"({"friends": {"alice": [)" + friendsJson + "]}}"), "");
    WebApiClient web(deployment);
    FriendList friends(web, session);
    CFriendList window(friends);
    window.show();
    ASSERT_TRUE(waitFor([&] { return !friends.busy(); }));
    // Each record is about 130 bytes: 150 of them make some 19500 bytes.
    const std::size_t shown = friends.rows().size();
    EXPECT_GT(shown, 60u);
    EXPECT_LT(shown, 80u);
    for (std::size_t i = 0; i < shown; ++i) {
        EXPECT_EQ(friends.rows()[i].name, "Friend" + QString::number(1000 + i));
    }
}

TEST_F(AgainstService, CallLogShowsTheServersRecordsAndNotFoundOnEachFault)
{
    WebApiClient web(deployment);
    CCallInformation window(web, session);
    window.show();
    QTest::mouseClick(window.showButton(), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return window.showButton()->isEnabled(); }));
    EXPECT_EQ(rowTexts(window.list()),
              std::vector<QString>{"2026-01-02 10:00:00|2026-01-02 10:01:00|60|0.03|4420"});
    EXPECT_EQ(window.label()->text(), "");

    for (const Fault& fault : kFaults) {
        SCOPED_TRACE(fault.name);
        setFault("webapi.retrieveLastCalls", fault.json);
        messages.clear();
        ResponsivenessProbe probe;
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(window.showButton(), Qt::LeftButton);
        EXPECT_FALSE(window.showButton()->isEnabled());
        ASSERT_TRUE(waitFor([&] { return window.showButton()->isEnabled(); }));
        EXPECT_LE(clock.elapsed(), kTimeLimitMs + kSlackMs);
        EXPECT_LT(probe.worstGapMs(), 500);
        EXPECT_EQ(messages, fault.transportFails
                                ? std::vector<QString>{"Received Exception from OpenURL()"}
                                : std::vector<QString>{});
        EXPECT_EQ(window.list()->topLevelItemCount(), 0);
        EXPECT_EQ(window.label()->text(), "Call Log Not Found");
    }
}

TEST_F(AgainstService, RatesAnswerForTheSubscriberAndSayInvalidRequestOnEachFault)
{
    AccountApiClient api(deployment);
    auto lookUp = [&](CRates& window, const QString& number) {
        window.numberEdit()->setText(number);
        QTest::mouseClick(window.checkButton(), Qt::LeftButton);
        return waitFor([&] { return window.checkButton()->isEnabled(); });
    };
    {
        CRates window(api, session);
        window.show();
        ASSERT_TRUE(lookUp(window, "442071234567"));
        EXPECT_EQ(window.resultLabel()->text(),
                  "Rate for the given number is =0.02 and Duration=150 mins");
        const LoggedRequest logged = service.waitForRequests(1, "accountapi.creditmins").at(0);
        EXPECT_EQ(logged.extra.at("user"), "alice");
        EXPECT_EQ(logged.extra.at("number"), "442071234567");

        for (const Fault& fault : kFaults) {
            SCOPED_TRACE(fault.name);
            setFault("accountapi.creditmins", fault.json);
            ResponsivenessProbe probe;
            QElapsedTimer clock;
            clock.start();
            ASSERT_TRUE(lookUp(window, "442071234567"));
            EXPECT_LE(clock.elapsed(), kTimeLimitMs + kSlackMs);
            EXPECT_LT(probe.worstGapMs(), 500);
            EXPECT_EQ(window.resultLabel()->text(), "Invalid Request");
        }
        setFault("accountapi.creditmins", "{}");
    }
    session.user = "bob";
    CRates window(api, session);
    window.show();
    ASSERT_TRUE(lookUp(window, "4420"));
    EXPECT_EQ(window.resultLabel()->text(), "Zero mins");
    EXPECT_TRUE(messages.empty());
}

TEST_F(AgainstService, RechargeByVoucherAndByTransferMovesTheBalance)
{
    AccountApiClient api(deployment);
    CRecharge window(api, session, balance);
    window.show();
    const auto press = [&](QPushButton* button) {
        QTest::mouseClick(button, Qt::LeftButton);
        return waitFor([&] { return button->isEnabled(); });
    };
    QTest::keyClicks(window.voucherEdit(), "V100");
    ASSERT_TRUE(press(window.rechargeButton()));
    EXPECT_EQ(window.statusLabel()->text(), "Recharge done, 2.50 EUR added to your account");
    EXPECT_EQ(window.voucherEdit()->text(), "");
    EXPECT_EQ(balanceOf("alice"), "5.50");
    EXPECT_EQ(balance.refreshes, 1);

    QTest::keyClicks(window.voucherEdit(), "V100");
    ASSERT_TRUE(press(window.rechargeButton()));
    EXPECT_EQ(window.statusLabel()->text(), "Voucher already used");
    EXPECT_EQ(window.voucherEdit()->text(), "V100");
    EXPECT_EQ(balance.refreshes, 1);

    window.transferMode()->click();
    QTest::keyClicks(window.accountEdit(), "bob");
    QTest::keyClicks(window.amountEdit(), "1.5");
    ASSERT_TRUE(press(window.transferButton()));
    EXPECT_EQ(window.statusLabel()->text(), "Transferred 1.50 EUR to bob");
    EXPECT_EQ(balanceOf("alice"), "4.00");
    EXPECT_EQ(balanceOf("bob"), "1.51");
    EXPECT_EQ(balance.refreshes, 2);
    EXPECT_TRUE(messages.empty());
}

TEST_F(AgainstService, RechargeEndsEachFaultInTimeWithoutSuccess)
{
    AccountApiClient api(deployment);
    CRecharge window(api, session, balance);
    window.show();
    int voucher = 0;
    for (const Fault& fault : kFaults) {
        SCOPED_TRACE(fault.name);
        setFault("accountapi.voucher", fault.json);
        const QString code = "V" + QString::number(++voucher);
        window.voucherEdit()->clear();
        QTest::keyClicks(window.voucherEdit(), code);
        ResponsivenessProbe probe;
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(window.rechargeButton(), Qt::LeftButton);
        EXPECT_EQ(window.cursor().shape(), Qt::WaitCursor);
        ASSERT_TRUE(waitFor([&] { return window.rechargeButton()->isEnabled(); }));
        EXPECT_LE(clock.elapsed(), kTimeLimitMs + kSlackMs);
        EXPECT_LT(probe.worstGapMs(), 500);
        EXPECT_EQ(window.statusLabel()->text(), "");
        EXPECT_EQ(window.voucherEdit()->text(), code);
        EXPECT_EQ(balance.refreshes, 0);
    }
}

TEST_F(AgainstService, SmsArrivesAsTypedAndEachFaultIsReported)
{
    SmsGateway gateway(deployment);
    CSMSWindow window(gateway, session, balance);
    window.show();
    const auto send = [&](const QString& number, const QString& text) {
        window.numberEdit()->setText(number);
        window.messageEdit()->setPlainText(text);
        QTest::mouseClick(window.sendButton(), Qt::LeftButton);
        return waitFor([&] { return window.sendButton()->isEnabled(); });
    };
    ASSERT_TRUE(send("+44 20 7", "Hi & bye <3 100%"));
    const LoggedRequest sent = service.waitForRequests(1, "sms").at(0);
    EXPECT_EQ(sent.query.at("user"), "alice");
    EXPECT_EQ(sent.query.at("to"), "+44 20 7");
    EXPECT_EQ(sent.query.at("msg"), "Hi & bye <3 100%");
    EXPECT_EQ(window.statusLabel()->text(), "Your Message Sent Successfully");
    EXPECT_EQ(window.messageEdit()->toPlainText(), "");
    EXPECT_EQ(window.counterLabel()->text(), "160");
    EXPECT_EQ(balanceOf("alice"), "2.95");
    EXPECT_EQ(balance.refreshes, 1);

    for (const Fault& fault : kFaults) {
        SCOPED_TRACE(fault.name);
        setFault("sms", fault.json);
        messages.clear();
        ResponsivenessProbe probe;
        QElapsedTimer clock;
        clock.start();
        ASSERT_TRUE(send("4420", "again"));
        EXPECT_LE(clock.elapsed(), kTimeLimitMs + kSlackMs);
        EXPECT_LT(probe.worstGapMs(), 500);
        EXPECT_EQ(messages, fault.transportFails
                                ? std::vector<QString>{"Received Exception from OpenURL()"}
                                : std::vector<QString>{});
        EXPECT_EQ(window.statusLabel()->text(), "");
        EXPECT_EQ(window.messageEdit()->toPlainText(), "again");
    }
    EXPECT_EQ(balance.refreshes, 1);

    setFault("sms", "{}");
    session.values["sms"] = "off";
    const std::size_t before = service.requests("sms").size();
    ASSERT_TRUE(send("4420", "off"));
    QTest::qWait(200);
    EXPECT_EQ(service.requests("sms").size(), before);
}

}
