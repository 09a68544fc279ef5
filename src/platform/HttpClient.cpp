#include "platform/HttpClient.h"

#include <curl/curl.h>
#include <memory>
#include <mutex>

namespace orvanta::platform {

namespace {

void initialiseOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct BodySink {
    std::string* body;
    std::size_t limit;
    bool truncated = false;
};

size_t collect(char* data, size_t size, size_t count, void* context)
{
    auto* sink = static_cast<BodySink*>(context);
    const size_t bytes = size * count;
    const size_t room = sink->limit - sink->body->size();
    if (bytes > room) {
        sink->body->append(data, room);
        sink->truncated = true;
        return 0;  // stops the transfer
    }
    sink->body->append(data, bytes);
    return bytes;
}

using CurlHandle = std::unique_ptr<CURL, decltype(&curl_easy_cleanup)>;
using HeaderList = std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)>;

HttpResult perform(const std::string& url, const std::string* postBody, const HttpOptions& options)
{
    initialiseOnce();
    HttpResult result;
    CurlHandle curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl) {
        result.error = "cannot create a request";
        return result;
    }
    HeaderList headers(nullptr, curl_slist_free_all);
    for (const std::string& line : options.headers) {
        headers.reset(curl_slist_append(headers.release(), line.c_str()));
    }
    BodySink sink{&result.body, options.maxBodyBytes};
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_USERAGENT, options.userAgent.c_str());
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(options.connectTimeout.count()));
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, static_cast<long>(options.totalTimeout.count()));
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, options.verifyTls ? 1L : 0L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, options.verifyTls ? 2L : 0L);
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &sink);
    if (options.http10) {
        curl_easy_setopt(c, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_0);
    }
    if (headers) {
        curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
    }
    if (postBody) {
        curl_easy_setopt(c, CURLOPT_POST, 1L);
        curl_easy_setopt(c, CURLOPT_POSTFIELDS, postBody->data());
        curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE, static_cast<long>(postBody->size()));
    }

    const CURLcode code = curl_easy_perform(c);
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &result.status);
    result.truncated = sink.truncated;
    // A transfer stopped at the size cap still delivered its first part.
    result.transferred = code == CURLE_OK || (code == CURLE_WRITE_ERROR && sink.truncated);
    if (code != CURLE_OK && !result.transferred) {
        result.error = curl_easy_strerror(code);
    } else if (code != CURLE_OK) {
        result.error = "reply longer than " + std::to_string(options.maxBodyBytes) + " bytes";
    }
    return result;
}

}

HttpResult httpGet(const std::string& url, const HttpOptions& options)
{
    return perform(url, nullptr, options);
}

HttpResult httpPost(const std::string& url, const std::string& body, const HttpOptions& options)
{
    return perform(url, &body, options);
}

std::string percentEncode(std::string_view text, std::string_view keptPunctuation)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() * 3);
    for (const char byte : text) {
        const auto c = static_cast<unsigned char>(byte);
        const bool kept = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                          (c >= '0' && c <= '9') ||
                          keptPunctuation.find(byte) != std::string_view::npos;
        if (kept) {
            out += byte;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

}
