#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace orvanta {

// A URL as the hand-written request splits it: scheme and host upper-cased,
// the path as given.
struct RawUrl {
    std::string scheme;
    std::string host;  // without the port
    int port = 80;
    std::string path;
};

// Nothing when the URL has no host or an unusable port.
std::optional<RawUrl> splitRawUrl(const std::string& url);

struct RawExchange {
    std::string requestText;  // everything sent
    std::string headerText;   // status line and headers up to the empty line
    std::string body;
};

struct RawRequestLimits {
    std::chrono::milliseconds timeout{10000};  // connect, and each send or receive
    std::size_t maxHeaderBytes = 16 * 1024;
    std::size_t maxBodyBytes = 1024 * 1024;
};

// The hand-written HTTP/1.0 request on a TCP socket: a POST when body is
// given, else a GET; extraHeaders ("Name: value\r\n" lines) go out unchanged.
// Returns 0 when the request went out (whatever came back) and 1 when it
// could not be sent: unsupported scheme, unknown host, refused or timed-out
// connection, failed send. A peer that closes early leaves what arrived.
int rawHttpRequest(const std::string& url, const std::string& extraHeaders,
                   const std::optional<std::string>& body, RawExchange& result,
                   const RawRequestLimits& limits = {});

// The services' form POST (or GET when asPost is false): on failure the
// three texts are left as they were.
void PostForm(const std::string& url, const std::string& body, bool asPost,
              std::string& requestText, std::string& headerText, std::string& responseBody);

}
