#include "net/RawHttpRequest.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <limits>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace orvanta {

namespace {

const char kAccept[] =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/vnd.ms-excel, "
    "application/msword, application/vnd.ms-powerpoint, */*\r\n";
constexpr std::size_t kReceivePiece = 4096;

std::string upperCased(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

bool isHostCharacter(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == ':';
}

// The moment the whole exchange must be over.
class Deadline {
public:
    explicit Deadline(std::chrono::milliseconds limit)
            : end_(std::chrono::steady_clock::now() + limit)
    {
    }

    // Milliseconds left for poll(), 0 once passed.
    int remainingMs() const
    {
        using namespace std::chrono;
        const auto left = ceil<milliseconds>(end_ - steady_clock::now()).count();
        return static_cast<int>(
            std::clamp<decltype(left)>(left, 0, std::numeric_limits<int>::max()));
    }

private:
    std::chrono::steady_clock::time_point end_;
};

// A non-blocking TCP socket whose every wait ends at the exchange's deadline.
class Socket {
public:
    explicit Socket(const Deadline& deadline) : deadline_(deadline) {}
    ~Socket()
    {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    bool connectTo(const RawUrl& url)
    {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        const std::string port = std::to_string(url.port);
        if (getaddrinfo(url.host.c_str(), port.c_str(), &hints, &found) != 0 || !found) {
            return false;
        }
        // The first address only, as name resolution used to give it.
        fd_ = socket(found->ai_family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        const bool connected = fd_ >= 0 && connectWithin(found);
        freeaddrinfo(found);
        return connected;
    }

    bool sendAll(std::string_view text)
    {
        while (!text.empty()) {
            const ssize_t n = send(fd_, text.data(), text.size(), MSG_NOSIGNAL);
            if (n > 0) {
                text.remove_prefix(static_cast<std::size_t>(n));
            } else if (n == 0 || !(errno == EINTR || (isWouldBlock() && waitFor(POLLOUT)))) {
                return false;
            }
        }
        return true;
    }

    // Bytes received, 0 at the end of the stream, or -1 on error or when the
    // deadline passed.
    ssize_t receive(char* buffer, std::size_t size)
    {
        for (;;) {
            const ssize_t n = recv(fd_, buffer, size, 0);
            if (n >= 0 || !(errno == EINTR || (isWouldBlock() && waitFor(POLLIN)))) {
                return n;
            }
        }
    }

private:
    static bool isWouldBlock() { return errno == EAGAIN || errno == EWOULDBLOCK; }

    // True when the socket is ready for events before the deadline.
    bool waitFor(short events)
    {
        pollfd waiting{fd_, events, 0};
        int ready = 0;
        do {
            ready = poll(&waiting, 1, deadline_.remainingMs());
        } while (ready < 0 && errno == EINTR);
        return ready == 1;
    }

    bool connectWithin(const addrinfo* address)
    {
        if (connect(fd_, address->ai_addr, address->ai_addrlen) == 0) {
            return true;
        }
        if (errno != EINPROGRESS || !waitFor(POLLOUT)) {
            return false;
        }
        int error = 0;
        socklen_t length = sizeof error;
        return getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
    }

    const Deadline& deadline_;
    int fd_ = -1;
};

}

void RawReplySplitter::take(std::string_view bytes)
{
    while (!headerDone_ && !bytes.empty()) {
        const char c = bytes.front();
        bytes.remove_prefix(1);
        header_ += c;
        if (c == '\n') {
            headerDone_ = sinceLineFeed_ == 0;
            sinceLineFeed_ = 0;
        } else if (c != '\r') {
            ++sinceLineFeed_;
        }
        headerDone_ = headerDone_ || header_.size() >= maxHeaderBytes_;
    }
    body_.append(bytes.substr(0, maxBodyBytes_ - body_.size()));
}

std::optional<RawUrl> splitRawUrl(const std::string& url)
{
    const std::string upper = upperCased(url);
    RawUrl split;
    std::size_t position = 0;
    const std::size_t colon = upper.find(':');
    if (colon == std::string::npos) {
        split.scheme = "HTTP";
    } else {
        split.scheme = upper.substr(0, colon);
        position = colon + 1;
    }
    if (upper.compare(position, 2, "//") == 0) {
        position += 2;
    }
    std::size_t hostEnd = position;
    while (hostEnd < upper.size() && isHostCharacter(upper[hostEnd])) {
        ++hostEnd;
    }
    std::string host = upper.substr(position, hostEnd - position);
    split.path = url.substr(hostEnd);
    if (const std::size_t portColon = host.find(':'); portColon != std::string::npos) {
        const std::string port = host.substr(portColon + 1);
        host.resize(portColon);
        if (port.empty() || port.size() > 5 ||
            !std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            return std::nullopt;
        }
        split.port = std::stoi(port);
        if (split.port < 1 || split.port > 65535) {
            return std::nullopt;
        }
    }
    if (host.empty()) {
        return std::nullopt;
    }
    split.host = host;
    return split;
}

int rawHttpRequest(const std::string& url, const std::string& extraHeaders,
                   const std::optional<std::string>& body, RawExchange& result,
                   const RawRequestLimits& limits)
{
    const std::optional<RawUrl> split = splitRawUrl(url);
    if (!split || split->scheme != "HTTP") {
        return 1;
    }
    const Deadline deadline(limits.timeout);
    Socket socket(deadline);
    if (!socket.connectTo(*split)) {
        return 1;
    }
    const bool hasBody = body.has_value();
    const std::string path = split->path.empty() ? "/" : split->path;

    std::string request = (hasBody ? "POST " : "GET ") + path + " HTTP/1.0\r\n" + kAccept +
                          "Accept-Language: en-us\r\n"
                          "Accept-Encoding: gzip, deflate\r\n"
                          "User-Agent: Mozilla/4.0\r\n";
    if (hasBody && !body->empty()) {
        request += "Content-Length: " + std::to_string(body->size()) + "\r\n";
    }
    request += "Host: " + split->host + "\r\n" + extraHeaders + "\r\n";
    if (!socket.sendAll(request) || (hasBody && !socket.sendAll(*body))) {
        return 1;
    }

    RawReplySplitter reply(limits.maxHeaderBytes, limits.maxBodyBytes);
    char piece[kReceivePiece];
    while (reply.wantsMore()) {
        const ssize_t n = socket.receive(piece, sizeof piece);
        if (n <= 0) {
            break;
        }
        reply.take(std::string_view(piece, static_cast<std::size_t>(n)));
    }
    result.requestText = hasBody ? request + *body : request;
    result.headerText = reply.header();
    result.body = reply.body();
    return 0;
}

void PostForm(const std::string& url, const std::string& body, bool asPost,
              std::string& requestText, std::string& headerText, std::string& responseBody,
              const RawRequestLimits& limits)
{
    RawExchange exchange;
    const int failed =
        asPost ? rawHttpRequest(url, "Content-Type: application/x-www-form-urlencoded\r\n", body,
                                exchange, limits)
               : rawHttpRequest(url, std::string(), std::nullopt, exchange, limits);
    if (failed) {
        return;
    }
    requestText = exchange.requestText;
    headerText = exchange.headerText;
    responseBody = exchange.body;
}

}
