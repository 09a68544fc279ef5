#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace orvanta::platform {

struct HttpOptions {
    std::chrono::milliseconds connectTimeout{5000};
    std::chrono::milliseconds totalTimeout{15000};
    // The body is cut at this many bytes (the result says so).
    std::size_t maxBodyBytes = 64 * 1024;
    // HTTPS certificates are checked only when asked: the operator's
    // servers are reached by address and may carry any certificate.
    bool verifyTls = false;
    std::string userAgent = "Orvanta";
    bool http10 = false;
    std::vector<std::string> headers;  // "Name: value" lines
};

struct HttpResult {
    bool transferred = false;  // a response arrived (whatever its status)
    long status = 0;           // HTTP status code, 0 when none
    std::string body;
    bool truncated = false;  // body cut at maxBodyBytes
    std::string error;       // why nothing (or not everything) arrived
};

// HTTP(S) requests on libcurl, as the framework's Internet session did them:
// the system proxy from the environment, bounded time and size. Safe to use
// from any thread; each call is independent.
HttpResult httpGet(const std::string& url, const HttpOptions& options = {});
HttpResult httpPost(const std::string& url, const std::string& body,
                    const HttpOptions& options = {});

// Percent-encodes (%HH, upper case) every byte but ASCII letters, digits and
// the characters of keptPunctuation.
std::string percentEncode(std::string_view text, std::string_view keptPunctuation);

// Percent-encodes everything but unreserved characters (RFC 3986), for
// query values.
inline std::string percentEncode(const std::string& text)
{
    return percentEncode(text, "-._~");
}

}
