#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

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
    // The whole exchange: connecting, sending and receiving together.
    std::chrono::milliseconds timeout{10000};
    std::size_t maxHeaderBytes = 16 * 1024;
    std::size_t maxBodyBytes = 1024 * 1024;
};

// Splits a reply, as its bytes arrive in pieces of any size, into the header
// (status line and header lines up to and including the empty line; carriage
// returns do not count) and the body. A header that reaches its cap ends
// there and what follows is body; the body ends at its cap.
class RawReplySplitter {
public:
    RawReplySplitter(std::size_t maxHeaderBytes, std::size_t maxBodyBytes)
            : maxHeaderBytes_(maxHeaderBytes), maxBodyBytes_(maxBodyBytes),
              headerDone_(maxHeaderBytes == 0)
    {
    }

    // Takes the next bytes of the reply; those past the body's cap are left.
    void take(std::string_view bytes);
    // False once the body is full: nothing more needs to be read.
    bool wantsMore() const { return !headerDone_ || body_.size() < maxBodyBytes_; }

    const std::string& header() const { return header_; }
    const std::string& body() const { return body_; }

private:
    std::size_t maxHeaderBytes_;
    std::size_t maxBodyBytes_;
    bool headerDone_;
    std::string header_;
    std::string body_;
    std::size_t sinceLineFeed_ = 0;  // characters of the current line, CR aside
};

// The hand-written HTTP/1.0 request on a TCP socket: a POST when body is
// given, else a GET; extraHeaders ("Name: value\r\n" lines) go out unchanged.
// Returns 0 when the request went out (whatever came back) and 1 when it
// could not be sent: unsupported scheme, unknown host, refused connection,
// failed send, or the time limit passed before the request was out. A peer
// that closes early, or the time limit passing while the reply arrives,
// leaves what arrived.
int rawHttpRequest(const std::string& url, const std::string& extraHeaders,
                   const std::optional<std::string>& body, RawExchange& result,
                   const RawRequestLimits& limits = {});

// The services' form POST (or GET when asPost is false): on failure the
// three texts are left as they were.
void PostForm(const std::string& url, const std::string& body, bool asPost,
              std::string& requestText, std::string& headerText, std::string& responseBody,
              const RawRequestLimits& limits = {});

}
