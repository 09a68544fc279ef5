#include "platform/HttpClient.h"
#include "support/DrippingServer.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

struct SlowPeerCase {
    const char* name;
    std::string reply;
    std::size_t sentAtOnce;
    bool post;
};

// A peer that keeps every single receive short but never finishes: the
// total time limit ends the whole request and nothing counts as received.
TEST(HttpClient, TotalTimeoutBoundsTheWholeRequest)
{
    const std::string header = "HTTP/1.0 200 OK\r\n\r\n";
    const SlowPeerCase cases[] = {
        {"header dripped", "HTTP/1.0 200 OK\r\nX-Pad: " + std::string(60, 'p') + "\r\n\r\nb", 0,
         false},
        {"body dripped", header + std::string(60, 'b'), header.size(), false},
        {"silent after accepting", "", 0, false},
        {"silent after a post", "", 0, true},
    };
    orvanta::platform::HttpOptions options;
    options.totalTimeout = 1000ms;
    for (const SlowPeerCase& c : cases) {
        SCOPED_TRACE(c.name);
        orvanta::test::DrippingServer server(c.reply, c.sentAtOnce, 100ms);
        const auto started = Clock::now();
        const orvanta::platform::HttpResult result =
            c.post ? orvanta::platform::httpPost(server.url(), "a=1", options)
                   : orvanta::platform::httpGet(server.url(), options);
        const auto took = Clock::now() - started;
        EXPECT_GE(took, 950ms);
        EXPECT_LT(took, 2500ms) << "only a limit on the whole exchange ends it this early";
        EXPECT_FALSE(result.transferred);
        EXPECT_FALSE(result.error.empty());
    }
}

}
