#include "net/RawHttpRequest.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace orvanta {

namespace {

const char kAccept[] =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/vnd.ms-excel, "
    "application/msword, application/vnd.ms-powerpoint, */*\r\n";
constexpr std::size_t kBodyPiece = 511;

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

class Socket {
public:
    Socket() = default;
    ~Socket()
    {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    bool connectTo(const RawUrl& url, std::chrono::milliseconds timeout)
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
        bool connected = fd_ >= 0 && connectWithin(found, timeout);
        freeaddrinfo(found);
        if (connected) {
            const int flags = fcntl(fd_, F_GETFL);
            connected = flags >= 0 && fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK) == 0;
            timeval limit{static_cast<time_t>(timeout.count() / 1000),
                          static_cast<suseconds_t>((timeout.count() % 1000) * 1000)};
            setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
            setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
        }
        return connected;
    }

    bool sendAll(const std::string& text)
    {
        std::size_t sent = 0;
        while (sent < text.size()) {
            const ssize_t n = send(fd_, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return false;
            }
            sent += static_cast<std::size_t>(n);
        }
        return true;
    }

    // Bytes received, 0 at the end of the stream, or -1 on error or timeout.
    ssize_t receive(char* buffer, std::size_t size)
    {
        ssize_t n = 0;
        do {
            n = recv(fd_, buffer, size, 0);
        } while (n < 0 && errno == EINTR);
        return n;
    }

private:
    bool connectWithin(const addrinfo* address, std::chrono::milliseconds timeout)
    {
        if (connect(fd_, address->ai_addr, address->ai_addrlen) == 0) {
            return true;
        }
        if (errno != EINPROGRESS) {
            return false;
        }
        pollfd waiting{fd_, POLLOUT, 0};
        if (poll(&waiting, 1, static_cast<int>(timeout.count())) != 1) {
            return false;
        }
        int error = 0;
        socklen_t length = sizeof error;
        return getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
    }

    int fd_ = -1;
};

// Reads the header byte by byte up to the empty line (carriage returns do
// not count), the end of the stream, an error or the size cap.
std::string receiveHeader(Socket& socket, std::size_t maxBytes)
{
    std::string header;
    std::size_t sinceLineFeed = 0;
    char c = 0;
    while (header.size() < maxBytes && socket.receive(&c, 1) == 1) {
        header += c;
        if (c == '\n') {
            if (sinceLineFeed == 0) {
                break;
            }
            sinceLineFeed = 0;
        } else if (c != '\r') {
            ++sinceLineFeed;
        }
    }
    return header;
}

std::string receiveBody(Socket& socket, std::size_t maxBytes)
{
    std::string body;
    char piece[kBodyPiece];
    while (body.size() < maxBytes) {
        const ssize_t n = socket.receive(piece, std::min(kBodyPiece, maxBytes - body.size()));
        if (n <= 0) {
            break;
        }
        body.append(piece, static_cast<std::size_t>(n));
    }
    return body;
}

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
    Socket socket;
    if (!socket.connectTo(*split, limits.timeout)) {
        return 1;
    }
    const bool hasBody = body.has_value();
    const std::string path = split->path.empty() ? "/" : split->path;

    std::string request;
    auto sendPiece = [&](const std::string& piece) {
        request += piece;
        return socket.sendAll(piece);
    };
    bool sent = sendPiece((hasBody ? "POST " : "GET ") + path + " HTTP/1.0\r\n") &&
                sendPiece(kAccept) && sendPiece("Accept-Language: en-us\r\n") &&
                sendPiece("Accept-Encoding: gzip, deflate\r\n") &&
                sendPiece("User-Agent: Mozilla/4.0\r\n");
    if (sent && hasBody && !body->empty()) {
        sent = sendPiece("Content-Length: " + std::to_string(body->size()) + "\r\n");
    }
    sent = sent && sendPiece("Host: " + split->host + "\r\n");
    if (sent && !extraHeaders.empty()) {
        sent = sendPiece(extraHeaders);
    }
    sent = sent && sendPiece("\r\n");
    if (sent && hasBody && !body->empty()) {
        sent = sendPiece(*body);
    }
    if (!sent) {
        return 1;
    }
    result.requestText = request;
    result.headerText = receiveHeader(socket, limits.maxHeaderBytes);
    result.body = receiveBody(socket, limits.maxBodyBytes);
    return 0;
}

void PostForm(const std::string& url, const std::string& body, bool asPost,
              std::string& requestText, std::string& headerText, std::string& responseBody)
{
    RawExchange exchange;
    const int failed =
        asPost ? rawHttpRequest(url, "Content-Type: application/x-www-form-urlencoded\r\n", body,
                                exchange)
               : rawHttpRequest(url, std::string(), std::nullopt, exchange);
    if (failed) {
        return;
    }
    requestText = exchange.requestText;
    headerText = exchange.headerText;
    responseBody = exchange.body;
}

}
