#include "platform/InstanceChannel.h"

#include "platform/DialUri.h"
#include "platform/RuntimeFolder.h"

#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace orvanta::platform {

namespace {

constexpr int kMaxConnections = 8;
constexpr std::chrono::milliseconds kSilentPeerLimit{2000};
constexpr int kReplyLimit = 32;

const char kOk[] = "ok\n";
const char kRefused[] = "refused\n";

// The socket folder: a directory of our own that nobody else can enter.
bool isPrivateFolder(const std::filesystem::path& folder)
{
    struct stat info {};
    return lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid() &&
           (info.st_mode & 077) == 0;
}

std::optional<sockaddr_un> socketAddress(const std::filesystem::path& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string text = path.string();
    if (text.size() >= sizeof(address.sun_path)) {
        return std::nullopt;
    }
    std::memcpy(address.sun_path, text.c_str(), text.size() + 1);
    return address;
}

std::optional<uid_t> peerUser(int fd)
{
    ucred credentials{};
    socklen_t size = sizeof(credentials);
    if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0) {
        return std::nullopt;
    }
    return credentials.uid;
}

void sendAll(int fd, const char* text)
{
    send(fd, text, std::strlen(text), MSG_NOSIGNAL | MSG_DONTWAIT);
}

std::string systemError(const char* what)
{
    return std::string(what) + ": " + std::strerror(errno);
}

int remainingMs(std::chrono::steady_clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}

QByteArray encodeInstanceRequest(const InstanceRequest& request)
{
    switch (request.kind) {
    case InstanceRequest::Kind::Dial:
        return "dial " + request.number.toUtf8() + '\n';
    case InstanceRequest::Kind::Answer:
        return "answer\n";
    case InstanceRequest::Kind::HangUp:
        return "hangup\n";
    case InstanceRequest::Kind::Show:
        break;
    }
    return "show\n";
}

std::optional<InstanceRequest> decodeInstanceRequest(const QByteArray& line)
{
    using Kind = InstanceRequest::Kind;
    if (line == "answer") {
        return InstanceRequest{Kind::Answer, {}};
    }
    if (line == "hangup") {
        return InstanceRequest{Kind::HangUp, {}};
    }
    if (line == "show") {
        return InstanceRequest{Kind::Show, {}};
    }
    if (line.startsWith("dial ")) {
        const QString number = QString::fromUtf8(line.mid(5));
        if (isDialableNumber(number)) {
            return InstanceRequest{Kind::Dial, number};
        }
    }
    return std::nullopt;
}

std::filesystem::path instanceChannelPath(const std::string& name)
{
    return runtimeFolder() / "orvanta" / (name + ".socket");
}

// Its notifier and timer go with deleteLater: a connection ends inside
// their own signals.
struct InstanceChannelServer::Connection {
    QByteArray received;
    QSocketNotifier* notifier = nullptr;
    QTimer* deadline = nullptr;

    ~Connection()
    {
        notifier->setEnabled(false);
        notifier->deleteLater();
        deadline->stop();
        deadline->deleteLater();
    }
};

InstanceChannelServer::InstanceChannelServer(Handler handler, QObject* parent)
        : QObject(parent), handler_(std::move(handler))
{
}

InstanceChannelServer::~InstanceChannelServer()
{
    stop();
}

bool InstanceChannelServer::listen(const std::filesystem::path& socketPath)
{
    stop();
    const std::filesystem::path folder = socketPath.parent_path();
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        error_ = systemError(("cannot create " + folder.string()).c_str());
        return false;
    }
    if (!isPrivateFolder(folder)) {
        error_ = folder.string() + " is not a folder of this user's alone";
        return false;
    }
    const std::optional<sockaddr_un> address = socketAddress(socketPath);
    if (!address) {
        error_ = socketPath.string() + " is too long for a local socket";
        return false;
    }
    struct stat existing {};
    if (lstat(socketPath.c_str(), &existing) == 0) {
        if (!S_ISSOCK(existing.st_mode)) {
            error_ = socketPath.string() + " exists and is not a socket";
            return false;
        }
        // Left by a copy that died: this copy holds the guard now.
        unlink(socketPath.c_str());
    }
    listenFd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0) {
        error_ = systemError("socket");
        return false;
    }
    if (bind(listenFd_, reinterpret_cast<const sockaddr*>(&*address), sizeof(*address)) != 0 ||
        chmod(socketPath.c_str(), 0600) != 0 || ::listen(listenFd_, kMaxConnections) != 0) {
        error_ = systemError(("cannot listen at " + socketPath.string()).c_str());
        close(listenFd_);
        listenFd_ = -1;
        unlink(socketPath.c_str());
        return false;
    }
    path_ = socketPath;
    listenNotifier_ = std::make_unique<QSocketNotifier>(listenFd_, QSocketNotifier::Read);
    connect(listenNotifier_.get(), &QSocketNotifier::activated, this,
            &InstanceChannelServer::acceptPending);
    return true;
}

void InstanceChannelServer::acceptPending()
{
    for (;;) {
        const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            return;
        }
        const std::optional<uid_t> peer = peerUser(fd);
        if (!peer || *peer != getuid() || connections_.size() >= kMaxConnections) {
            close(fd);
            continue;
        }
        auto connection = std::make_unique<Connection>();
        connection->notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(connection->notifier, &QSocketNotifier::activated, this,
                [this, fd] { readFrom(fd); });
        connection->deadline = new QTimer(this);
        connection->deadline->setSingleShot(true);
        connect(connection->deadline, &QTimer::timeout, this, [this, fd] { finish(fd, nullptr); });
        connection->deadline->start(kSilentPeerLimit);
        connections_.emplace(fd, std::move(connection));
    }
}

void InstanceChannelServer::readFrom(int fd)
{
    const auto found = connections_.find(fd);
    if (found == connections_.end()) {
        return;
    }
    QByteArray& received = found->second->received;
    char buffer[kMaxInstanceRequest];
    const qsizetype room = kMaxInstanceRequest - received.size();
    const ssize_t got = recv(fd, buffer, static_cast<size_t>(room), 0);
    if (got < 0 && (errno == EAGAIN || errno == EINTR)) {
        return;
    }
    if (got <= 0) {
        finish(fd, nullptr);
        return;
    }
    received.append(buffer, got);
    const qsizetype end = received.indexOf('\n');
    if (end < 0) {
        if (received.size() >= kMaxInstanceRequest) {
            finish(fd, kRefused);
        }
        return;
    }
    const std::optional<InstanceRequest> request = decodeInstanceRequest(received.left(end));
    // Out of the table before the handler runs, so nothing reaches it twice.
    connections_.erase(found);
    const bool taken = request && handler_ && handler_(*request);
    sendAll(fd, taken ? kOk : kRefused);
    close(fd);
}

void InstanceChannelServer::finish(int fd, const char* reply)
{
    const auto found = connections_.find(fd);
    if (found == connections_.end()) {
        return;
    }
    if (reply) {
        sendAll(fd, reply);
    }
    connections_.erase(found);
    close(fd);
}

void InstanceChannelServer::stop()
{
    for (auto& [fd, connection] : connections_) {
        close(fd);
    }
    connections_.clear();
    listenNotifier_.reset();
    if (listenFd_ >= 0) {
        close(listenFd_);
        listenFd_ = -1;
        unlink(path_.c_str());
    }
}

HandOverResult sendToRunningCopy(const std::filesystem::path& socketPath,
                                 const InstanceRequest& request, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    struct stat existing {};
    if (lstat(socketPath.c_str(), &existing) != 0) {
        return HandOverResult::NoRunningCopy;
    }
    if (!isPrivateFolder(socketPath.parent_path()) || existing.st_uid != getuid()) {
        return HandOverResult::Untrusted;
    }
    const std::optional<sockaddr_un> address = socketAddress(socketPath);
    if (!address) {
        return HandOverResult::Failed;
    }
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return HandOverResult::Failed;
    }
    struct Closer {
        int fd;
        ~Closer() { close(fd); }
    } closer{fd};
    if (connect(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof(*address)) != 0) {
        return errno == ECONNREFUSED || errno == ENOENT ? HandOverResult::NoRunningCopy
                                                        : HandOverResult::Failed;
    }
    const std::optional<uid_t> listener = peerUser(fd);
    if (!listener || *listener != getuid()) {
        return HandOverResult::Untrusted;
    }
    const QByteArray line = encodeInstanceRequest(request);
    if (send(fd, line.constData(), static_cast<size_t>(line.size()), MSG_NOSIGNAL) != line.size()) {
        return HandOverResult::Failed;
    }
    QByteArray reply;
    while (!reply.contains('\n') && reply.size() < kReplyLimit) {
        pollfd ready{fd, POLLIN, 0};
        const int waited = poll(&ready, 1, remainingMs(deadline));
        if (waited < 0 && errno == EINTR) {
            continue;
        }
        if (waited <= 0) {
            return HandOverResult::Failed;
        }
        char buffer[kReplyLimit];
        const ssize_t got = recv(fd, buffer, sizeof(buffer), 0);
        if (got <= 0) {
            break;
        }
        reply.append(buffer, got);
    }
    if (reply == kOk) {
        return HandOverResult::Delivered;
    }
    return reply == kRefused ? HandOverResult::Refused : HandOverResult::Failed;
}

}
