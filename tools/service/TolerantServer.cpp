#include "TolerantServer.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace orvanta::service {

namespace {

constexpr int kTimeoutMs = 5000;
constexpr std::size_t kMaxRequestLine = 16384;

bool waitFor(socket_t sock, short events)
{
    pollfd p{sock, events, 0};
    return poll(&p, 1, kTimeoutMs) > 0;
}

std::string addressText(const sockaddr_storage& address)
{
    char text[INET6_ADDRSTRLEN] = {};
    if (address.ss_family == AF_INET)
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in&>(address).sin_addr, text,
                  sizeof text);
    else if (address.ss_family == AF_INET6)
        inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6&>(address).sin6_addr, text,
                  sizeof text);
    return text;
}

int portOf(const sockaddr_storage& address)
{
    if (address.ss_family == AF_INET)
        return ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port);
    if (address.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6&>(address).sin6_port);
    return 0;
}

// Serves the rewritten request line first, then the socket as it comes.
class PrefixedSocketStream : public httplib::Stream {
public:
    PrefixedSocketStream(socket_t sock, std::string prefix)
            : sock_(sock), prefix_(std::move(prefix))
    {
    }

    bool is_readable() const override { return offset_ < prefix_.size() || waitFor(sock_, POLLIN); }
    bool is_writable() const override { return waitFor(sock_, POLLOUT); }

    ssize_t read(char* ptr, size_t size) override
    {
        if (offset_ < prefix_.size()) {
            const std::size_t n = std::min(size, prefix_.size() - offset_);
            prefix_.copy(ptr, n, offset_);
            offset_ += n;
            return static_cast<ssize_t>(n);
        }
        if (!waitFor(sock_, POLLIN))
            return -1;
        return recv(sock_, ptr, size, 0);
    }

    ssize_t write(const char* ptr, size_t size) override
    {
        if (!waitFor(sock_, POLLOUT))
            return -1;
        return send(sock_, ptr, size, MSG_NOSIGNAL);
    }

    void get_remote_ip_and_port(std::string& ip, int& port) const override
    {
        address(getpeername, ip, port);
    }
    void get_local_ip_and_port(std::string& ip, int& port) const override
    {
        address(getsockname, ip, port);
    }
    socket_t socket() const override { return sock_; }

private:
    void address(int (*query)(int, sockaddr*, socklen_t*), std::string& ip, int& port) const
    {
        sockaddr_storage storage{};
        socklen_t length = sizeof storage;
        if (query(sock_, reinterpret_cast<sockaddr*>(&storage), &length) == 0) {
            ip = addressText(storage);
            port = portOf(storage);
        }
    }

    socket_t sock_;
    std::string prefix_;
    std::size_t offset_ = 0;
};

// The request line up to and including its line feed; what arrived when
// the peer stops early or the line grows too long.
std::string readRequestLine(socket_t sock)
{
    std::string line;
    char c = 0;
    while (line.size() < kMaxRequestLine && waitFor(sock, POLLIN) && recv(sock, &c, 1, 0) == 1) {
        line.push_back(c);
        if (c == '\n')
            break;
    }
    return line;
}

}

std::string escapedRequestLine(const std::string& line)
{
    std::size_t end = line.size();
    while (end > 0 && (line[end - 1] == '\n' || line[end - 1] == '\r'))
        --end;
    const auto firstSpace = line.find(' ');
    const auto lastSpace = line.rfind(' ', end);
    if (firstSpace == std::string::npos || lastSpace == firstSpace)
        return line;
    std::string target;
    bool querySeen = false;
    for (std::size_t i = firstSpace + 1; i < lastSpace; ++i) {
        const char c = line[i];
        if (c == ' ')
            target += "%20";
        else if (c == '?' && querySeen)
            target += "%3F";
        else
            target += c;
        querySeen = querySeen || c == '?';
    }
    return line.substr(0, firstSpace + 1) + target + line.substr(lastSpace, end - lastSpace) +
           "\r\n";
}

bool TolerantServer::process_and_close_socket(socket_t sock)
{
    PrefixedSocketStream stream(sock, escapedRequestLine(readRequestLine(sock)));
    bool closed = false;
    // The dialer's hand-written request offers gzip but reads the body as it
    // comes, as the operator's servers answer it: never compress.
    process_request(stream, true, closed,
                    [](httplib::Request& request) { request.headers.erase("Accept-Encoding"); });
    shutdown(sock, SHUT_RDWR);
    close(sock);
    return true;
}

}
