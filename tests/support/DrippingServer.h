#pragma once

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

namespace orvanta::test {

// A slow HTTP server on 127.0.0.1 (a free port, bound by the constructor):
// it accepts one connection at a time, reads the request header, sends the
// first `atOnce` bytes of its reply at once and then the rest one byte per
// interval, so no single receive waits long but the whole reply takes
// (size - atOnce) * interval. An empty reply holds the connection silently.
// Each connection ends when the reply is sent, the client leaves or the
// server is destroyed.
class DrippingServer {
public:
    DrippingServer(std::string reply, std::size_t atOnce, std::chrono::milliseconds interval);
    ~DrippingServer();
    DrippingServer(const DrippingServer&) = delete;
    DrippingServer& operator=(const DrippingServer&) = delete;

    std::string url(const std::string& path = "/") const;

private:
    void serve();
    void answer(int client);
    // Sleeps one interval; false when the server is stopping.
    bool pause();

    std::string reply_;
    std::size_t atOnce_;
    std::chrono::milliseconds interval_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}
