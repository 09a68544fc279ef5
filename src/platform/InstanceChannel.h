#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

class QSocketNotifier;

namespace orvanta::platform {

// What a second start asks of the running copy.
struct InstanceRequest {
    enum class Kind { Dial, Answer, HangUp, Show };
    Kind kind = Kind::Show;
    QString number;  // Dial only

    bool operator==(const InstanceRequest&) const = default;
};

// Longest request line the running copy reads, newline included.
inline constexpr qsizetype kMaxInstanceRequest = 256;

// One line: "dial <number>", "answer", "hangup" or "show", then '\n'.
QByteArray encodeInstanceRequest(const InstanceRequest& request);
// The request of one line (without its newline); nullopt for anything
// else, including a dial of a number the dial pad could not dial.
std::optional<InstanceRequest> decodeInstanceRequest(const QByteArray& line);

// The channel's socket for the guard of that name, in a folder of its own
// below the runtime folder: <runtime>/orvanta/<name>.socket.
std::filesystem::path instanceChannelPath(const std::string& name);

// The running copy's end: a local socket only its own user can reach. Each
// connection sends one request and gets "ok" or "refused" back; peers of
// another user are dropped unheard, lines are bounded, and a silent peer
// is dropped after a short time. Lives on the GUI thread.
class InstanceChannelServer : public QObject {
    Q_OBJECT

public:
    // Runs for each request; true when the request was taken.
    using Handler = std::function<bool(const InstanceRequest&)>;

    explicit InstanceChannelServer(Handler handler, QObject* parent = nullptr);
    ~InstanceChannelServer() override;

    // Only the copy that holds the single-instance guard may listen: a
    // socket file left at the path is taken for a dead copy's and replaced.
    bool listen(const std::filesystem::path& socketPath);
    // Why listen() failed.
    const std::string& error() const { return error_; }

private:
    struct Connection;

    void acceptPending();
    void readFrom(int fd);
    void finish(int fd, const char* reply);
    void stop();

    Handler handler_;
    std::filesystem::path path_;
    int listenFd_ = -1;
    std::unique_ptr<QSocketNotifier> listenNotifier_;
    std::map<int, std::unique_ptr<Connection>> connections_;
    std::string error_;
};

enum class HandOverResult {
    Delivered,      // the running copy took the request
    Refused,        // the running copy answered that it did not
    NoRunningCopy,  // nobody listens at the path
    Untrusted,      // the path or its listener belongs to another user
    Failed,         // no answer in time, or the exchange broke off
};

// The second start's end: hands the request over and waits for the answer.
HandOverResult sendToRunningCopy(const std::filesystem::path& socketPath,
                                 const InstanceRequest& request, std::chrono::milliseconds timeout);

}
