#include "platform/InstanceChannel.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <csignal>
#include <future>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace orvanta::platform;
using namespace std::chrono_literals;
using Kind = InstanceRequest::Kind;

constexpr uid_t kNobody = 65534;

// Runs the event loop until the future is ready: the server and the
// client of one test share this thread's loop and another thread.
template <typename T>
T waitFor(std::future<T>& future)
{
    QElapsedTimer clock;
    clock.start();
    while (future.wait_for(5ms) != std::future_status::ready && clock.elapsed() < 10000) {
        QCoreApplication::processEvents();
    }
    return future.get();
}

sockaddr_un addressOf(const std::filesystem::path& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
    return address;
}

// A raw connection to the socket at path; -1 when none could be made.
int connectTo(const std::filesystem::path& path)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    const sockaddr_un address = addressOf(path);
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// Connects to the socket, writes bytes and returns what came back.
std::string exchangeRaw(const std::filesystem::path& path, const std::string& bytes)
{
    const int fd = connectTo(path);
    std::string reply;
    if (fd >= 0) {
        send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        char buffer[64];
        for (ssize_t got; (got = recv(fd, buffer, sizeof(buffer), 0)) > 0;) {
            reply.append(buffer, static_cast<size_t>(got));
        }
        close(fd);
    }
    return reply;
}

class InstanceChannelTest : public testing::Test {
protected:
    InstanceChannelTest()
            : server_([this](const InstanceRequest& request) {
                  taken_.push_back(request);
                  return accept_;
              })
    {
    }

    void listen() { ASSERT_TRUE(server_.listen(path_)) << server_.error(); }

    HandOverResult send(const InstanceRequest& request)
    {
        auto result =
            std::async(std::launch::async, [&] { return sendToRunningCopy(path_, request, 3s); });
        return waitFor(result);
    }
    std::string sendRaw(const std::string& bytes)
    {
        auto result = std::async(std::launch::async, [&] { return exchangeRaw(path_, bytes); });
        return waitFor(result);
    }

    orvanta::test::TempDir temp_;
    std::filesystem::path path_ = temp_ / "orvanta" / "Orvanta test.socket";
    bool accept_ = true;
    std::vector<InstanceRequest> taken_;
    InstanceChannelServer server_;
};

TEST_F(InstanceChannelTest, RequestsReachTheRunningCopyAndItsAnswerComesBack)
{
    listen();
    struct Case {
        InstanceRequest request;
        bool accepted;
        HandOverResult expected;
    };
    const Case cases[] = {
        {{Kind::Dial, QStringLiteral("+15551234")}, true, HandOverResult::Delivered},
        {{Kind::Answer, {}}, true, HandOverResult::Delivered},
        {{Kind::HangUp, {}}, true, HandOverResult::Delivered},
        {{Kind::Show, {}}, true, HandOverResult::Delivered},
        {{Kind::Show, {}}, false, HandOverResult::Refused},
    };
    for (const Case& c : cases) {
        taken_.clear();
        accept_ = c.accepted;
        EXPECT_EQ(send(c.request), c.expected);
        ASSERT_EQ(taken_.size(), 1u);
        EXPECT_EQ(taken_[0], c.request);
    }
}

TEST_F(InstanceChannelTest, MalformedAndOversizedRequestsAreRefusedUnheard)
{
    listen();
    const std::string cases[] = {
        std::string(kMaxInstanceRequest + 40, '5'),              // no end of line in sight
        "dial " + std::string(kMaxInstanceRequest, '5') + "\n",  // too long before its end
        "dial 555 1234\n",                                       // not a dialable number
        "dial 12345678901234567890123456\n",                     // 26 digits
        "dial\n",
        "quit\n",
    };
    for (const std::string& bytes : cases) {
        EXPECT_EQ(sendRaw(bytes), "refused\n") << bytes;
    }
    EXPECT_TRUE(taken_.empty());
    // The server still serves after all that.
    EXPECT_EQ(send({Kind::Show, {}}), HandOverResult::Delivered);
}

TEST_F(InstanceChannelTest, ASilentPeerIsDroppedAndOthersAreServedMeanwhile)
{
    listen();
    auto silent = std::async(std::launch::async, [this] {
        const int fd = connectTo(path_);
        char byte;
        const ssize_t got = recv(fd, &byte, 1, 0);  // blocks until the server hangs up
        close(fd);
        return got;
    });
    EXPECT_EQ(send({Kind::Show, {}}), HandOverResult::Delivered);
    EXPECT_EQ(waitFor(silent), 0);
}

TEST_F(InstanceChannelTest, OnlyTheOwnerCanReachTheSocket)
{
    listen();
    struct stat folder {};
    struct stat socketFile {};
    ASSERT_EQ(stat(path_.parent_path().c_str(), &folder), 0);
    ASSERT_EQ(stat(path_.c_str(), &socketFile), 0);
    EXPECT_EQ(folder.st_mode & 0777, 0700u);
    EXPECT_EQ(socketFile.st_mode & 0777, 0600u);
}

TEST_F(InstanceChannelTest, NoListenerAndALeftoverSocketOfADeadCopy)
{
    EXPECT_EQ(send({Kind::Show, {}}), HandOverResult::NoRunningCopy);
    // A killed copy leaves its bound socket file behind, with nobody listening.
    std::filesystem::create_directories(path_.parent_path());
    chmod(path_.parent_path().c_str(), 0700);
    const int dead = socket(AF_UNIX, SOCK_STREAM, 0);
    const sockaddr_un address = addressOf(path_);
    ASSERT_EQ(bind(dead, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    close(dead);
    EXPECT_EQ(send({Kind::Show, {}}), HandOverResult::NoRunningCopy);
    listen();
    EXPECT_EQ(send({Kind::Show, {}}), HandOverResult::Delivered);
}

// The two ends of other users: these need root to act as another user.
class OtherUserTest : public InstanceChannelTest {
protected:
    void SetUp() override
    {
        if (getuid() != 0) {
            GTEST_SKIP() << "needs root to act as another user";
        }
    }
};

TEST_F(OtherUserTest, APeerOfAnotherUserIsDroppedUnheard)
{
    listen();
    // Opened up as a careless setup might: only the peer check remains.
    chmod(temp_.path().c_str(), 0755);
    chmod(path_.parent_path().c_str(), 0755);
    chmod(path_.c_str(), 0777);
    int reply[2];
    ASSERT_EQ(pipe(reply), 0);
    const pid_t child = fork();
    if (child == 0) {
        if (setuid(kNobody) != 0) {
            _exit(3);
        }
        const int fd = connectTo(path_);
        if (fd < 0) {
            _exit(4);
        }
        ::send(fd, "show\n", 5, MSG_NOSIGNAL);
        char buffer[16];
        const ssize_t got = recv(fd, buffer, sizeof(buffer), 0);
        _exit(write(reply[1], &got, sizeof(got)) == sizeof(got) ? 0 : 5);
    }
    close(reply[1]);
    auto answered = std::async(std::launch::async, [&] {
        ssize_t got = -1;
        if (read(reply[0], &got, sizeof(got)) != sizeof(got)) {
            got = -1;
        }
        int status = 0;
        waitpid(child, &status, 0);
        return std::make_pair(got, WEXITSTATUS(status));
    });
    const auto [got, status] = waitFor(answered);
    close(reply[0]);
    EXPECT_EQ(status, 0);
    EXPECT_LE(got, 0) << "the other user's peer got an answer";
    EXPECT_TRUE(taken_.empty());
}

TEST_F(OtherUserTest, ASocketInAnotherUsersFolderIsNotTrusted)
{
    const std::filesystem::path folder = path_.parent_path();
    std::filesystem::create_directories(folder);
    ASSERT_EQ(chown(folder.c_str(), kNobody, kNobody), 0);
    chmod(folder.c_str(), 0700);
    chmod(temp_.path().c_str(), 0755);
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0) {
        // Another user's listener that would take anything.
        if (setuid(kNobody) != 0) {
            _exit(3);
        }
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        const sockaddr_un address = addressOf(path_);
        if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
            ::listen(fd, 1) != 0) {
            _exit(4);
        }
        if (write(ready[1], "x", 1) != 1) {
            _exit(6);
        }
        const int peer = accept(fd, nullptr, nullptr);
        char buffer[64];
        const bool heard = recv(peer, buffer, sizeof(buffer), 0) > 0;
        ::send(peer, "ok\n", 3, MSG_NOSIGNAL);
        _exit(heard ? 5 : 0);
    }
    char byte;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    EXPECT_EQ(sendToRunningCopy(path_, {Kind::Dial, QStringLiteral("5551234")}, 2s),
              HandOverResult::Untrusted);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status)) << "the other user's listener heard the request";
}

}
