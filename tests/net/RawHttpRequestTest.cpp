#include "net/RawHttpRequest.h"
#include "net/ServiceHttp.h"
#include "support/DrippingServer.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using orvanta::RawExchange;
using orvanta::rawHttpRequest;
using Clock = std::chrono::steady_clock;

// Accepts one connection on 127.0.0.1, keeps what the client sent up to the
// end of its request, then answers with a scripted reply and closes.
class OneShotServer {
public:
    explicit OneShotServer(std::string reply) : reply_(std::move(reply))
    {
        listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            listen(listener_, 1) != 0 ||
            getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            throw std::runtime_error("cannot listen on loopback");
        }
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~OneShotServer()
    {
        shutdown(listener_, SHUT_RDWR);
        thread_.join();
        close(listener_);
    }

    int port() const { return port_; }
    std::string url(const std::string& rest = "") const
    {
        return "http://127.0.0.1:" + std::to_string(port_) + rest;
    }
    // Valid after the client's call returned.
    const std::string& received() const { return received_; }

private:
    void serve()
    {
        const int client = accept(listener_, nullptr, nullptr);
        if (client < 0) {
            return;
        }
        char buffer[4096];
        while (!requestComplete()) {
            const ssize_t n = recv(client, buffer, sizeof buffer, 0);
            if (n <= 0) {
                break;
            }
            received_.append(buffer, static_cast<size_t>(n));
        }
        (void)!send(client, reply_.data(), reply_.size(), MSG_NOSIGNAL);
        close(client);
    }

    bool requestComplete() const
    {
        const size_t end = received_.find("\r\n\r\n");
        if (end == std::string::npos) {
            return false;
        }
        const size_t lengthAt = received_.find("Content-Length: ");
        const size_t bodyLength =
            lengthAt == std::string::npos ? 0 : std::stoul(received_.substr(lengthAt + 16));
        return received_.size() >= end + 4 + bodyLength;
    }

    std::string reply_;
    int listener_ = -1;
    int port_ = 0;
    std::string received_;
    std::thread thread_;
};

const std::string kCommonHeaders =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/vnd.ms-excel, "
    "application/msword, application/vnd.ms-powerpoint, */*\r\n"
    "Accept-Language: en-us\r\n"
    "Accept-Encoding: gzip, deflate\r\n"
    "User-Agent: Mozilla/4.0\r\n";

TEST(RawHttpRequest, PostSendsTheExactBytesAndSplitsTheReply)
{
    OneShotServer server("HTTP/1.0 200 OK\r\nX-A: 1\r\n\r\n{\"rate\":\"0.02\"}");
    RawExchange exchange;
    ASSERT_EQ(rawHttpRequest("http://localhost:" + std::to_string(server.port()) + "/api/Rate?",
                             "Content-Type: application/x-www-form-urlencoded\r\n",
                             std::string("type=abc&n=1"), exchange),
              0);
    const std::string expected = "POST /api/Rate? HTTP/1.0\r\n" + kCommonHeaders +
                                 "Content-Length: 12\r\n"
                                 "Host: LOCALHOST\r\n"
                                 "Content-Type: application/x-www-form-urlencoded\r\n"
                                 "\r\n"
                                 "type=abc&n=1";
    EXPECT_EQ(server.received(), expected);
    EXPECT_EQ(exchange.requestText, expected);
    EXPECT_EQ(exchange.headerText, "HTTP/1.0 200 OK\r\nX-A: 1\r\n\r\n");
    EXPECT_EQ(exchange.body, "{\"rate\":\"0.02\"}");
}

TEST(RawHttpRequest, GetWithoutPathAsksForRootAndHostLineHasNoPort)
{
    OneShotServer server("HTTP/1.0 204 No Content\n\n");
    RawExchange exchange;
    ASSERT_EQ(rawHttpRequest(server.url(), "", std::nullopt, exchange), 0);
    EXPECT_EQ(server.received(), "GET / HTTP/1.0\r\n" + kCommonHeaders + "Host: 127.0.0.1\r\n\r\n");
    EXPECT_EQ(exchange.headerText, "HTTP/1.0 204 No Content\n\n") << "bare line feeds end it too";
    EXPECT_EQ(exchange.body, "");
}

TEST(RawHttpRequest, PeerClosingMidHeaderEndsWithWhatArrived)
{
    OneShotServer server("HTTP/1.0 200 OK\r\nX-Cut: par");
    RawExchange exchange;
    ASSERT_EQ(rawHttpRequest(server.url("/x"), "", std::nullopt, exchange), 0);
    EXPECT_EQ(exchange.headerText, "HTTP/1.0 200 OK\r\nX-Cut: par");
    EXPECT_EQ(exchange.body, "");
}

TEST(RawHttpRequest, HeaderAndBodyAreCappedAtTheirLimits)
{
    OneShotServer server("HTTP/1.0 200 OK\r\nX-Long: " + std::string(100, 'h') + "\r\n\r\n" +
                         std::string(5000, 'b'));
    RawExchange exchange;
    orvanta::RawRequestLimits limits;
    limits.maxHeaderBytes = 40;
    limits.maxBodyBytes = 1000;
    ASSERT_EQ(rawHttpRequest(server.url(), "", std::nullopt, exchange, limits), 0);
    EXPECT_EQ(exchange.headerText.size(), 40u);
    EXPECT_LE(exchange.body.size(), 1000u);
}

TEST(RawHttpRequest, FailuresBeforeSendingReturnOneAndLeaveTheResult)
{
    int closedPort = 0;
    {
        OneShotServer probe("");
        closedPort = probe.port();
        RawExchange ignored;
        rawHttpRequest(probe.url(), "", std::nullopt, ignored);
    }
    for (const std::string& url :
         {std::string("https://127.0.0.1/"), std::string("ftp://127.0.0.1/"),
          "http://127.0.0.1:" + std::to_string(closedPort) + "/", std::string("http:///nohost"),
          std::string("http://h:99999/")}) {
        SCOPED_TRACE(url);
        RawExchange exchange;
        exchange.body = "untouched";
        EXPECT_EQ(rawHttpRequest(url, "", std::nullopt, exchange), 1);
        EXPECT_EQ(exchange.body, "untouched");
    }
}

struct SlowPeerCase {
    const char* name;
    std::string reply;
    std::size_t sentAtOnce;
};

// A peer that keeps every single receive short but never finishes: the
// deployment's time limit bounds the whole exchange, and what arrived stays.
TEST(RawHttpRequest, DeploymentTimeLimitBoundsTheWholeExchange)
{
    orvanta::DeploymentSettings deployment;
    deployment.requestTimeoutMs = 1000;
    const orvanta::RawRequestLimits limits = orvanta::rawRequestLimits(deployment);
    const std::string header = "HTTP/1.0 200 OK\r\n\r\n";
    const SlowPeerCase cases[] = {
        {"header dripped", "HTTP/1.0 200 OK\r\nX-Pad: " + std::string(60, 'p') + "\r\n\r\nb", 0},
        {"body dripped", header + std::string(60, 'b'), header.size()},
        {"silent after accepting", "", 0},
    };
    for (const SlowPeerCase& c : cases) {
        SCOPED_TRACE(c.name);
        orvanta::test::DrippingServer server(c.reply, c.sentAtOnce, 100ms);
        RawExchange exchange;
        const auto started = Clock::now();
        EXPECT_EQ(rawHttpRequest(server.url(), "", std::nullopt, exchange, limits), 0);
        const auto took = Clock::now() - started;
        EXPECT_GE(took, 950ms);
        EXPECT_LT(took, 2500ms) << "only a limit on the whole exchange ends it this early";
        const std::string arrived = exchange.headerText + exchange.body;
        EXPECT_EQ(c.reply.substr(0, arrived.size()), arrived);
        EXPECT_EQ(arrived.empty(), c.reply.empty());
    }
}

TEST(RawHttpRequest, PeerThatStopsReadingEndsTheSendAtTheDeadline)
{
    orvanta::test::DrippingServer server("", 0, 100ms);
    orvanta::RawRequestLimits limits;
    limits.timeout = 1000ms;
    RawExchange exchange;
    exchange.body = "untouched";
    const auto started = Clock::now();
    EXPECT_EQ(
        rawHttpRequest(server.url(), "", std::string(64 * 1024 * 1024, 'x'), exchange, limits), 1);
    EXPECT_LT(Clock::now() - started, 2500ms);
    EXPECT_EQ(exchange.body, "untouched");
}

TEST(PostForm, FailureLeavesTheThreeTextsAsTheyWere)
{
    std::string request = "r", header = "h", body = "b";
    orvanta::PostForm("http://127.0.0.1:1/", "a=1", true, request, header, body);
    EXPECT_EQ(request + header + body, "rhb");
}

struct UrlCase {
    const char* url;
    const char* scheme;
    const char* host;
    int port;
    const char* path;
};

TEST(RawUrl, SplitsSchemeHostPortAndPath)
{
    const UrlCase cases[] = {
        {"http://api.example.com/Api/Rate?x=a", "HTTP", "API.EXAMPLE.COM", 80, "/Api/Rate?x=a"},
        {"http://h-1.example:8080/p", "HTTP", "H-1.EXAMPLE", 8080, "/p"},
        {"Http://h", "HTTP", "H", 80, ""},
        {"ftp://files/x", "FTP", "FILES", 80, "/x"},
        {"HTTP:h/path", "HTTP", "H", 80, "/path"},
    };
    for (const UrlCase& c : cases) {
        SCOPED_TRACE(c.url);
        const auto split = orvanta::splitRawUrl(c.url);
        ASSERT_TRUE(split);
        EXPECT_EQ(split->scheme, c.scheme);
        EXPECT_EQ(split->host, c.host);
        EXPECT_EQ(split->port, c.port);
        EXPECT_EQ(split->path, c.path);
    }
    for (const char* bad : {"http://", "http://h:/x", "http://h:0/", "http://h:123456/"}) {
        EXPECT_FALSE(orvanta::splitRawUrl(bad)) << bad;
    }
}

}
