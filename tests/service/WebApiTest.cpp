#include "ServiceFixture.h"

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <vector>

using namespace orvanta::test;

namespace {

struct FriendRow {
    std::string name, nickname, pcphone, fax, speeddial, seqno;
    bool operator==(const FriendRow&) const = default;
};

// The dialer's cutting rules: a record runs from "<data>" to the end of the
// next "</speeddial>"; a field is the text between its first tags.
std::string field(const std::string& record, const std::string& tag)
{
    const auto start = record.find("<" + tag + ">");
    const auto end = record.find("</" + tag + ">");
    if (start == std::string::npos || end == std::string::npos || end < start)
        return "<missing>";
    return record.substr(start + tag.size() + 2, end - start - tag.size() - 2);
}

std::vector<FriendRow> friendRows(const std::string& reply)
{
    std::vector<FriendRow> rows;
    if (reply.find("<status>true") == std::string::npos)
        return rows;
    for (auto at = reply.find("<data>"); at != std::string::npos;
         at = reply.find("<data>", at + 1)) {
        const auto end = reply.find("</speeddial>", at);
        const std::string record =
            reply.substr(at, end == std::string::npos ? std::string::npos : end + 12 - at);
        rows.push_back({field(record, "name"), field(record, "nickname"), field(record, "pcphone"),
                        field(record, "fax"), field(record, "speeddial"), field(record, "seqno")});
    }
    return rows;
}

}

class WebApi : public ServiceFixture {
protected:
    std::string request(const std::string& action, const std::string& subscriber,
                        const std::string& xml = {})
    {
        std::string target =
            "/softphoneRequest.jsp?actionId=" + action + "&subscriberId=" + subscriber;
        if (!xml.empty())
            target += "&xmlData=" + xml;
        return body(get("webapi", target));
    }

    // The document the dialer builds, unescaped.
    static std::string document(const std::string& subscriber, const FriendRow& f, bool withSeqno)
    {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><xmldata><subscriberid>" + subscriber +
               "</subscriberid><name>" + f.name + "</name><nickname>" + f.nickname +
               "</nickname><pcphone>" + f.pcphone + "</pcphone><fax>" + f.fax +
               "</fax><speeddial>" + f.speeddial +
               (withSeqno ? "</speeddial><seqno>" + f.seqno + "</seqno></xmldata>"
                          : "</speeddial></xmldata>");
    }

    bool change(const std::string& action, const std::string& subscriber, const FriendRow& f)
    {
        const std::string reply =
            request(action, subscriber, document(subscriber, f, action != "addFriendList"));
        return reply.find("<status>true") != std::string::npos;
    }

    std::vector<FriendRow> friends(const std::string& subscriber)
    {
        return friendRows(request("retrieveFriendList", subscriber));
    }

    // Sends a request written by hand and returns everything that came back.
    std::string exchange(const std::string& request) const
    {
        const int sock = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(service.port("webapi")));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        std::string reply;
        if (connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            send(sock, request.data(), request.size(), 0) == static_cast<ssize_t>(request.size())) {
            char buffer[1024];
            for (ssize_t n; (n = recv(sock, buffer, sizeof buffer, 0)) > 0;)
                reply.append(buffer, static_cast<std::size_t>(n));
        }
        close(sock);
        return reply;
    }
};

TEST_F(WebApi, FriendsKeepTheirSeqnoThroughAddUpdateAndDelete)
{
    const FriendRow carol{"Carol", "C", "300", "", "3", "1"};
    EXPECT_EQ(friends("alice"), std::vector<FriendRow>{carol});

    ASSERT_TRUE(change("addFriendList", "alice", {"Dave Doe", "D", "400", "5550100", "4", ""}));
    auto rows = friends("alice");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], carol);
    const std::string daveSeqno = rows[1].seqno;
    EXPECT_NE(daveSeqno, carol.seqno);
    EXPECT_EQ(rows[1], (FriendRow{"Dave Doe", "D", "400", "5550100", "4", daveSeqno}));
    EXPECT_EQ(service.waitForRequests(1, "webapi.addFriendList").at(0).extra.at("seqno"),
              daveSeqno);

    const FriendRow dave2{"Dave", "", "401", "", "", daveSeqno};
    ASSERT_TRUE(change("updateFriendList", "alice", dave2));
    ASSERT_TRUE(change("deleteFriendList", "alice", carol));
    EXPECT_EQ(friends("alice"), std::vector<FriendRow>{dave2});

    // A removed or never issued seqno is refused, and so is a friend
    // without name or PC phone.
    EXPECT_FALSE(change("updateFriendList", "alice", carol));
    EXPECT_FALSE(change("deleteFriendList", "alice", {"X", "", "1", "", "", "77"}));
    EXPECT_FALSE(change("addFriendList", "alice", {"Eve", "", "", "", "", ""}));
    EXPECT_FALSE(change("addFriendList", "alice", {"", "", "500", "", "", ""}));
    EXPECT_EQ(friends("alice"), std::vector<FriendRow>{dave2});

    // Lists are per subscriber; bob's changes leave alice's alone.
    EXPECT_TRUE(friends("bob").empty());
    ASSERT_TRUE(change("addFriendList", "bob", {"Fay", "", "600", "", "", ""}));
    EXPECT_FALSE(change("deleteFriendList", "bob", dave2));
    EXPECT_EQ(friends("alice"), std::vector<FriendRow>{dave2});
    EXPECT_EQ(friends("bob").size(), 1u);
}

TEST_F(WebApi, TakesTheRequestLineWithRawSpacesAndQuestionMarks)
{
    // Written by hand: HTTP clients would escape the target.
    const std::string reply = exchange(
        "GET /softphoneRequest.jsp?actionId=addFriendList&subscriberId=alice&xmlData=" +
        document("alice", {"Gil Ray", "", "700", "", "", ""}, false) + " HTTP/1.0\r\n\r\n");
    EXPECT_NE(reply.find("<status>true</status>"), std::string::npos) << reply;
    EXPECT_EQ(friends("alice").back().name, "Gil Ray");
}

TEST_F(WebApi, ReadsTheEscapedDocumentAndAnswersUncompressed)
{
    // The dialer escapes markup in values and offers gzip, but reads the
    // reply as it comes.
    const std::string xml = replace(
        document("alice", {"A&amp;B &lt;C&gt;", "&quot;q&quot; &apos;r&apos; &x;", "1", "", "", ""},
                 false),
        "&", "%26");
    const std::string reply = exchange(
        "GET /softphoneRequest.jsp?actionId=addFriendList&subscriberId=alice&xmlData=" + xml +
        " HTTP/1.0\r\nAccept-Encoding: gzip, deflate\r\n\r\n");
    EXPECT_NE(reply.find("<status>true</status>"), std::string::npos) << reply;
    EXPECT_EQ(reply.find("Content-Encoding"), std::string::npos) << reply;
    EXPECT_EQ(friends("alice").back().name, "A&B <C>");
    EXPECT_EQ(friends("alice").back().nickname, "\"q\" 'r' &x;");
}

TEST_F(WebApi, UnknownSubscriberOrActionFails)
{
    EXPECT_EQ(
        request("retrieveFriendList", "nobody"),
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><response><status>false</status></response>");
    EXPECT_NE(request("listEverything", "alice").find("<status>false</status>"), std::string::npos);
    EXPECT_EQ(service.waitForRequests(2).at(1).endpoint, "webapi.listEverything");
}

TEST_F(WebApi, LastCallsComeFromTheScenarioInTheDialersFieldOrder)
{
    EXPECT_EQ(request("retrieveLastCalls", "alice"),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?><response><status>true</status><data>"
              "<originaldestinationalias>4420</originaldestinationalias><starttime>2026-01-02 "
              "10:00:00</starttime>"
              "<endtime>2026-01-02 "
              "10:01:00</endtime><callduration>60</callduration><callamount>0.03</callamount>"
              "</data></response>");
    EXPECT_EQ(
        request("retrieveLastCalls", "bob"),
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><response><status>true</status></response>");
}

TEST_F(WebApi, ServesItsPages)
{
    for (const char* target :
         {"/", "/NewUserSignUp.jsp?groupId=Quorbanites", "/myaccounts.jsp", "/orecharge.jsp"}) {
        const auto result = get("webapi", target);
        ASSERT_TRUE(result) << target;
        EXPECT_EQ(result->status, 200) << target;
        EXPECT_EQ(result->get_header_value("Content-Type").rfind("text/html", 0), 0u) << target;
    }
    const auto logged = service.waitForRequests(4);
    ASSERT_EQ(logged.size(), 4u);
    EXPECT_EQ(logged[1].endpoint, "pages.signup");
    EXPECT_EQ(logged[1].query.at("groupId"), "Quorbanites");
}
