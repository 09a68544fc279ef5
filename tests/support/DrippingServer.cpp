#include "support/DrippingServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace orvanta::test {

namespace {

constexpr std::chrono::milliseconds kPollStep{20};

}

DrippingServer::DrippingServer(std::string reply, std::size_t atOnce,
                               std::chrono::milliseconds interval)
        : reply_(std::move(reply)), atOnce_(std::min(atOnce, reply_.size())), interval_(interval)
{
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listener_, 4) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (listener_ >= 0) {
            close(listener_);
        }
        throw std::runtime_error("cannot listen on loopback");
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
}

DrippingServer::~DrippingServer()
{
    stopping_ = true;
    thread_.join();
    close(listener_);
}

std::string DrippingServer::url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void DrippingServer::serve()
{
    while (!stopping_) {
        pollfd waiting{listener_, POLLIN, 0};
        if (poll(&waiting, 1, static_cast<int>(kPollStep.count())) != 1) {
            continue;
        }
        const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client >= 0) {
            answer(client);
            close(client);
        }
    }
}

void DrippingServer::answer(int client)
{
    // The request header, up to its empty line; a body is left unread.
    std::string request;
    char c = 0;
    while (request.find("\r\n\r\n") == std::string::npos) {
        pollfd waiting{client, POLLIN, 0};
        if (stopping_) {
            return;
        }
        if (poll(&waiting, 1, static_cast<int>(kPollStep.count())) != 1) {
            continue;
        }
        if (recv(client, &c, 1, 0) != 1) {
            return;
        }
        request += c;
    }
    if (send(client, reply_.data(), atOnce_, MSG_NOSIGNAL) != static_cast<ssize_t>(atOnce_)) {
        return;
    }
    if (reply_.empty()) {
        while (pause()) {
        }
        return;
    }
    for (std::size_t i = atOnce_; i < reply_.size(); ++i) {
        if (!pause() || send(client, reply_.data() + i, 1, MSG_NOSIGNAL) != 1) {
            return;
        }
    }
}

bool DrippingServer::pause()
{
    const auto end = std::chrono::steady_clock::now() + interval_;
    while (std::chrono::steady_clock::now() < end) {
        if (stopping_) {
            return false;
        }
        std::this_thread::sleep_for(std::min(kPollStep, interval_));
    }
    return !stopping_;
}

}
