#include "net/WebApiClient.h"
#include "net/ReplyText.h"
#include "support/ServicePrinters.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace {

using namespace orvanta;

const QString kXmlHead = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><response>");

QString friendRecord(const FriendEntry& f)
{
    return "<data><name>" + f.name + "</name><nickname>" + f.nickname + "</nickname><pcphone>" +
           f.pcphone + "</pcphone><fax>" + f.fax + "</fax><seqno>" + f.seqno +
           "</seqno><speeddial>" + f.speeddial + "</speeddial></data>";
}

QString callRecord(const CallRecord& c)
{
    return "<data><originaldestinationalias>" + c.originaldestinationalias +
           "</originaldestinationalias><starttime>" + c.starttime + "</starttime><endtime>" +
           c.endtime + "</endtime><callduration>" + c.callduration + "</callduration><callamount>" +
           c.callamount + "</callamount></data>";
}

struct DocumentCase {
    const char* name;
    WebApiAction action;
    FriendEntry entry;
    QString expected;
};

TEST(WebApiDocument, IsTheFixedPiecesWithTheEscapedValuesBetween)
{
    const FriendEntry dave{"Dave", "D", "400", "55", "4", "17"};
    const QString head = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><xmldata><subscriberid>alice</subscriberid>");
    const DocumentCase cases[] = {
        {"add has no seqno", WebApiAction::AddFriendList, dave,
         head + "<name>Dave</name><nickname>D</nickname><pcphone>400</pcphone><fax>55</fax>"
                "<speeddial>4</speeddial></xmldata>"},
        {"update ends with the seqno", WebApiAction::UpdateFriendList, dave,
         head + "<name>Dave</name><nickname>D</nickname><pcphone>400</pcphone><fax>55</fax>"
                "<speeddial>4</speeddial><seqno>17</seqno></xmldata>"},
        {"delete ends with the seqno", WebApiAction::DeleteFriendList, dave,
         head + "<name>Dave</name><nickname>D</nickname><pcphone>400</pcphone><fax>55</fax>"
                "<speeddial>4</speeddial><seqno>17</seqno></xmldata>"},
        {"markup in values is escaped",
         WebApiAction::AddFriendList,
         {"A&B <C>", "\"Q\" 'q'", "1", "", "", ""},
         head + "<name>A&amp;B &lt;C&gt;</name><nickname>&quot;Q&quot; &apos;q&apos;</nickname>"
                "<pcphone>1</pcphone><fax></fax><speeddial></speeddial></xmldata>"},
        {"retrievals have none", WebApiAction::RetrieveFriendList, dave, QString()},
        {"nor do call records", WebApiAction::RetrieveLastCalls, dave, QString()},
    };
    for (const DocumentCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(friendDocument(c.action, QStringLiteral("alice"), c.entry), c.expected);
    }
}

TEST(WebApiUrl, NamesTheActionAndEncodesEveryValue)
{
    struct Case {
        const char* name;
        QString base;
        WebApiAction action;
        QString subscriber;
        QString document;
        std::string expected;
    };
    const Case cases[] = {
        {"retrieve",
         "http://h:81",
         WebApiAction::RetrieveFriendList,
         "alice",
         {},
         "http://h:81/softphoneRequest.jsp?actionId=retrieveFriendList&subscriberId=alice"},
        {"trailing slash of the base",
         "http://h/",
         WebApiAction::RetrieveLastCalls,
         "alice",
         {},
         "http://h/softphoneRequest.jsp?actionId=retrieveLastCalls&subscriberId=alice"},
        {"subscriber with ampersand, plus and space",
         "http://h",
         WebApiAction::RetrieveFriendList,
         "a&b+c d",
         {},
         "http://h/softphoneRequest.jsp?actionId=retrieveFriendList&subscriberId=a%26b%2Bc%20d"},
        {"document", "http://h", WebApiAction::AddFriendList, "al", "<?x a=\"1\"?><n>A&B</n>",
         "http://h/softphoneRequest.jsp?actionId=addFriendList&subscriberId=al&xmlData="
         "%3C%3Fx%20a%3D%221%22%3F%3E%3Cn%3EA%26B%3C%2Fn%3E"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(webApiUrl(c.base, c.action, c.subscriber, c.document), c.expected);
    }
}

TEST(WebApiReply, SucceedsOnlyWithStatusTrue)
{
    const std::pair<QString, bool> cases[] = {
        {kXmlHead + "<status>true</status></response>", true},
        {"junk<status>true", true},
        {kXmlHead + "<status>false</status><data><name>x</name></data></response>", false},
        {"<STATUS>true", false},
        {"<status> true", false},
        {QString(), false},
    };
    for (const auto& [reply, succeeded] : cases) {
        EXPECT_EQ(webApiSucceeded(reply), succeeded) << reply.toStdString();
    }
}

struct FriendsCase {
    const char* name;
    QString reply;
    std::optional<std::vector<FriendEntry>> expected;
};

TEST(FriendListReply, IsCutIntoRecordsAsFarAsTheirTagsGo)
{
    const FriendEntry carol{"Carol", "C", "300", "", "3", "1"};
    const FriendEntry dave{"Dave", "", "400", "55", "", "2"};
    const QString ok = kXmlHead + "<status>true</status>";
    const FriendsCase cases[] = {
        {"two records", ok + friendRecord(carol) + friendRecord(dave) + "</response>",
         std::vector{carol, dave}},
        {"status true without data is zero rows", ok + "</response>", std::vector<FriendEntry>{}},
        {"status false with records is a failure",
         kXmlHead + "<status>false</status>" + friendRecord(carol) + "</response>", std::nullopt},
        {"line ends around the text are dropped",
         "\r\n\n" + ok + friendRecord(carol) + "</response>\r\n", std::vector{carol}},
        {"line ends inside are kept",
         ok + "<data><name>Ca\r\nrol</name><pcphone>3</pcphone><speeddial></speeddial></data>",
         std::vector{FriendEntry{"Ca\r\nrol", "", "3", "", "", ""}}},
        {"a seqno after the speed dial is lost",
         ok + "<data><name>Eve</name><pcphone>5</pcphone><speeddial>9</speeddial>"
              "<seqno>8</seqno></data>",
         std::vector{FriendEntry{"Eve", "", "5", "", "9", ""}}},
        {"a record cut short keeps the fields it has",
         ok + friendRecord(carol) + "<data><name>Fay</name><nickname>F</nick",
         std::vector{carol, FriendEntry{"Fay", "", "", "", "", ""}}},
        {"repeated opening tags are removed from the value",
         ok + "<data><name><name>Gil</name><speeddial></speeddial></data>",
         std::vector{FriendEntry{"Gil", "", "", "", "", ""}}},
        {"a record without a name is no row",
         ok + "<data><pcphone>7</pcphone><speeddial></speeddial></data>" + friendRecord(dave),
         std::vector{dave}},
        {"tags are case-sensitive",
         ok + "<data><Name>Hal</Name><name>hal</name><speeddial></speeddial></data>",
         std::vector{FriendEntry{"hal", "", "", "", "", ""}}},
    };
    for (const FriendsCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(parseFriendList(c.reply), c.expected);
    }
}

TEST(ServerReplies, FillTheirTablesUpToTheirEnds)
{
    QString friends = kXmlHead + "<status>true</status>";
    for (int i = 0; i < 1001; ++i) {
        friends += friendRecord({QString::number(i), "", "1", "", "", QString::number(i)});
    }
    const auto friendRows = parseFriendList(friends);
    ASSERT_TRUE(friendRows);
    ASSERT_EQ(friendRows->size(), 1000u);
    EXPECT_EQ(friendRows->back().name, "999");

    QString calls = kXmlHead + "<status>true</status>";
    for (int i = 0; i < 101; ++i) {
        calls += callRecord({QString::number(i), "s", "e", "1", "0.01"});
    }
    const auto callRows = parseCallRecords(calls);
    ASSERT_TRUE(callRows);
    ASSERT_EQ(callRows->size(), 100u);
    EXPECT_EQ(callRows->back().originaldestinationalias, "99");
}

struct CallsCase {
    const char* name;
    QString reply;
    std::optional<std::vector<CallRecord>> expected;
};

TEST(CallRecordsReply, IsCutAtEachDataEnd)
{
    const CallRecord first{"4420", "2026-01-02 10:00:00", "2026-01-02 10:01:00", "60", "0.03"};
    const CallRecord second{"4421", "a", "b", "5", "0.00"};
    const QString ok = kXmlHead + "<status>true</status>";
    const CallsCase cases[] = {
        {"records in order", ok + callRecord(first) + callRecord(second) + "</response>",
         std::vector{first, second}},
        {"every line-end pair is removed, inside values too",
         "\r\n" + ok +
             "\r\n<data><originaldestinationalias>44\r\n20</originaldestinationalias>"
             "\r\n<callamount>1</callamount></data>\r\n",
         std::vector{CallRecord{"4420", "", "", "", "1"}}},
        {"status true without data", ok, std::vector<CallRecord>{}},
        {"status false", kXmlHead + "<status>false</status>" + callRecord(first), std::nullopt},
        {"a field past the record's end is not taken",
         ok + "<data><originaldestinationalias>1</originaldestinationalias></data>"
              "<starttime>x</starttime>",
         std::vector{CallRecord{"1", "", "", "", ""}}},
        {"a record without a number is no row",
         ok + "<data><starttime>x</starttime></data>" + callRecord(second), std::vector{second}},
    };
    for (const CallsCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(parseCallRecords(c.reply), c.expected);
    }
}

TEST(ReplyText, EndsAtTheFirstZeroByte)
{
    EXPECT_EQ(replyText(std::string("<status>true\0<data>", 19)), "<status>true");
    EXPECT_EQ(replyText("caf\xc3\xa9"), QString::fromUtf8("café"));
}

TEST(SendWebApiRequest, TellsAnUnusableAddressFromAFailedRequest)
{
    platform::HttpOptions options;
    options.connectTimeout = std::chrono::milliseconds(2000);
    const std::pair<std::string, OpenUrlFailure> cases[] = {
        {"ftp://127.0.0.1/softphoneRequest.jsp", OpenUrlFailure::NoFile},
        {"softphoneRequest.jsp", OpenUrlFailure::NoFile},
        {"http://", OpenUrlFailure::NoFile},
        // Port 1 on loopback: nothing listens there.
        {"http://127.0.0.1:1/softphoneRequest.jsp", OpenUrlFailure::Exception},
    };
    for (const auto& [url, failure] : cases) {
        EXPECT_EQ(SendWebApiRequest(url, options).failure, failure) << url;
    }
}

}
