// orvanta-demo-peers: the SIP side of the demo. Starts a Kamailio registrar
// that knows the scenario's accounts (user and SIP password) and a baresip
// phone registered there that answers every call and plays a tone until it
// is hung up, prints one JSON line with their addresses and waits for
// SIGTERM or SIGINT. Meanwhile "orvanta-demo-peers call [USER]" makes the
// phone call USER (default: the scenario's first account), through a local
// socket only this user can reach.
#include "peers/SipPeers.h"

#include <rapidjson/document.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr const char* kCalleeUser = "5551000";
constexpr const char* kCalleePassword = "answer5551000";
constexpr std::size_t kMaxCommand = 128;

std::vector<orvanta::test::SipAccount> scenarioAccounts(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    rapidjson::Document scenario;
    scenario.Parse(text.str().c_str());
    std::vector<orvanta::test::SipAccount> accounts;
    if (scenario.HasParseError() || !scenario.IsObject() || !scenario.HasMember("accounts") ||
        !scenario["accounts"].IsArray()) {
        return accounts;
    }
    for (const auto& account : scenario["accounts"].GetArray()) {
        if (account.IsObject() && account.HasMember("user") && account["user"].IsString() &&
            account.HasMember("sipPassword") && account["sipPassword"].IsString()) {
            accounts.push_back({account["user"].GetString(), account["sipPassword"].GetString()});
        }
    }
    return accounts;
}

// Beside the build's programs: build/demo-peers.socket for build/bin.
std::string defaultControlPath(const char* argv0)
{
    char self[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", self, sizeof(self) - 1);
    const std::string program = length > 0 ? std::string(self, static_cast<size_t>(length)) : argv0;
    const std::string folder = program.substr(0, program.find_last_of('/') + 1);
    return folder + "../demo-peers.socket";
}

std::optional<sockaddr_un> socketAddress(const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) {
        return std::nullopt;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return address;
}

bool plainWord(const std::string& text)
{
    if (text.empty() || text.size() > 32) {
        return false;
    }
    for (char c : text) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}

// The phone's control: one line per connection, "call USER".
class Control {
public:
    Control(const std::string& path, orvanta::test::Baresip& phone, std::string registrar,
            std::string defaultUser)
            : path_(path), phone_(phone), registrar_(std::move(registrar)),
              defaultUser_(std::move(defaultUser))
    {
        const std::optional<sockaddr_un> address = socketAddress(path_);
        fd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        unlink(path_.c_str());
        const mode_t previous = umask(0177);
        const bool bound = address && bind(fd_, reinterpret_cast<const sockaddr*>(&*address),
                                           sizeof(*address)) == 0;
        umask(previous);
        if (!bound || listen(fd_, 4) != 0) {
            throw std::runtime_error("cannot listen at " + path_ + ": " + std::strerror(errno));
        }
        thread_ = std::thread([this] { serve(); });
    }
    ~Control()
    {
        stopping_ = true;
        shutdown(fd_, SHUT_RDWR);
        thread_.join();
        close(fd_);
        unlink(path_.c_str());
    }

private:
    void serve()
    {
        while (!stopping_) {
            const int peer = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
            if (peer < 0) {
                continue;
            }
            ucred credentials{};
            socklen_t size = sizeof(credentials);
            if (getsockopt(peer, SOL_SOCKET, SO_PEERCRED, &credentials, &size) == 0 &&
                credentials.uid == getuid()) {
                timeval limit{2, 0};
                setsockopt(peer, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof(limit));
                const std::string reply = answer(readLine(peer));
                send(peer, reply.data(), reply.size(), MSG_NOSIGNAL);
            }
            close(peer);
        }
    }
    static std::string readLine(int fd)
    {
        std::string line;
        char c = 0;
        while (line.size() < kMaxCommand && recv(fd, &c, 1, 0) == 1 && c != '\n') {
            line += c;
        }
        return line;
    }
    std::string answer(const std::string& line)
    {
        if (line != "call" && line.rfind("call ", 0) != 0) {
            return "unknown command\n";
        }
        const std::string user = line.size() > 5 ? line.substr(5) : defaultUser_;
        if (!plainWord(user)) {
            return "a user is letters and digits\n";
        }
        const std::string target = "sip:" + user + "@" + registrar_;
        std::fprintf(stderr, "demo-peers: the test phone calls %s\n", target.c_str());
        const auto response = phone_.command("dial", target);
        return response.ok ? "ok\n" : "the phone did not dial: " + response.data + "\n";
    }

    std::string path_;
    orvanta::test::Baresip& phone_;
    std::string registrar_;
    std::string defaultUser_;
    int fd_ = -1;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

// An endless tone instead of the phone's 20-second tone file, which ends
// the call when it runs out.
void playToneUntilHungUp(orvanta::test::Baresip& phone)
{
    if (!phone.command("insmod", "ausine").ok || !phone.command("ausrc", "ausine,440").ok) {
        std::fprintf(stderr, "demo-peers: no endless tone: answered calls end after 20 s\n");
    }
}

int call(const std::string& controlPath, const std::string& user)
{
    const std::optional<sockaddr_un> address = socketAddress(controlPath);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (!address ||
        connect(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof(*address)) != 0) {
        std::fprintf(stderr, "orvanta-demo-peers: no demo is running (%s: %s)\n",
                     controlPath.c_str(), std::strerror(errno));
        return 1;
    }
    const std::string line = user.empty() ? "call\n" : "call " + user + "\n";
    send(fd, line.data(), line.size(), MSG_NOSIGNAL);
    char reply[256] = {};
    const ssize_t got = recv(fd, reply, sizeof(reply) - 1, 0);
    close(fd);
    if (got <= 0 || std::string(reply) != "ok\n") {
        std::fprintf(stderr, "orvanta-demo-peers: %s", got > 0 ? reply : "no answer\n");
        return 1;
    }
    std::printf("The test phone is calling %s: the dialer rings (or answers by itself with "
                "Auto answer, or stays silent with Do not disturb).\n",
                user.empty() ? "the demo account" : user.c_str());
    return 0;
}

int usage()
{
    std::fprintf(stderr, "usage: orvanta-demo-peers --scenario FILE [--control SOCKET]\n"
                         "       orvanta-demo-peers call [USER] [--control SOCKET]\n");
    return 2;
}

}

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string controlPath = defaultControlPath(argv[0]);
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == "--control") {
            controlPath = args[i + 1];
            args.erase(args.begin() + static_cast<long>(i),
                       args.begin() + static_cast<long>(i) + 2);
            break;
        }
    }
    if (!args.empty() && args[0] == "call" && args.size() <= 2) {
        return call(controlPath, args.size() == 2 ? args[1] : std::string());
    }
    if (args.size() != 2 || args[0] != "--scenario") {
        return usage();
    }
    std::vector<orvanta::test::SipAccount> accounts = scenarioAccounts(args[1]);
    if (accounts.empty()) {
        std::fprintf(stderr, "orvanta-demo-peers: no accounts in %s\n", args[1].c_str());
        return 2;
    }
    const std::string firstUser = accounts.front().user;
    accounts.push_back({kCalleeUser, kCalleePassword});

    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    try {
        orvanta::test::Kamailio registrar(accounts);
        orvanta::test::Baresip::Options callee;
        callee.user = kCalleeUser;
        callee.password = kCalleePassword;
        callee.registrar = registrar.hostPort();
        callee.autoAnswer = true;
        callee.codec = orvanta::test::Baresip::Options::Codec::Opus;
        orvanta::test::Baresip phone(callee);
        playToneUntilHungUp(phone);
        Control control(controlPath, phone, registrar.hostPort(), firstUser);
        std::printf("{\"event\":\"ready\",\"registrar\":\"%s\",\"callee\":\"%s\","
                    "\"control\":\"%s\"}\n",
                    registrar.hostPort().c_str(), kCalleeUser, controlPath.c_str());
        std::fflush(stdout);
        int received = 0;
        sigwait(&stopSignals, &received);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orvanta-demo-peers: %s\n", error.what());
        return 1;
    }
    return 0;
}
