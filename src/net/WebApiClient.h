#pragma once

#include "net/DeploymentSettings.h"
#include "platform/HttpClient.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvanta {

// The web API server's /softphoneRequest.jsp: the friends list and the call
// records the server keeps. Replies are XML-like texts read with string
// searches, not with an XML parser.

inline constexpr std::size_t kMaxWebReplyBytes = 10000;
inline constexpr std::size_t kFriendTableRows = 1000;
inline constexpr std::size_t kCallRecordRows = 100;

// How a web GET failed, as the user is told: the request raised an error
// (no connection, time limit, broken reply) or no reply could be opened at
// all (an unusable address).
enum class OpenUrlFailure { None, Exception, NoFile };

struct WebReply {
    OpenUrlFailure failure = OpenUrlFailure::None;
    QString text;  // at most kMaxWebReplyBytes bytes, as text
};

// One plain GET of a web service address; the reply is read up to
// kMaxWebReplyBytes. Blocks: run it through runRequest.
WebReply SendWebApiRequest(const std::string& url, const platform::HttpOptions& options);

// SendWebApiRequest off the calling thread: done is called on the
// receiver's thread within the deployment's time limit (a request that takes
// longer fails with Exception), and never after the receiver is destroyed.
void sendWebApiRequestAsync(const DeploymentSettings& deployment, const std::string& url,
                            QObject* receiver, std::function<void(WebReply)> done);

enum class WebApiAction {
    RetrieveFriendList,
    AddFriendList,
    UpdateFriendList,
    DeleteFriendList,
    RetrieveLastCalls
};
const char* webApiActionId(WebApiAction action);

struct FriendEntry {
    QString name;
    QString nickname;
    QString pcphone;
    QString fax;
    QString speeddial;
    QString seqno;  // the server's id of the entry, for update and delete

    bool operator==(const FriendEntry&) const = default;
};

struct CallRecord {
    QString originaldestinationalias;
    QString starttime;
    QString endtime;
    QString callduration;
    QString callamount;

    bool operator==(const CallRecord&) const = default;
};

// '&', '<', '>' and both quotes as XML entities, so a value cannot end its
// element or the query.
QString xmlEscaped(const QString& text);

// The document of an add (without seqno), update or delete (with seqno);
// empty for the retrieve actions.
QString friendDocument(WebApiAction action, const QString& subscriberId, const FriendEntry& entry);

// The request address; the subscriber id and the document are
// percent-encoded. A document is appended only when not empty.
std::string webApiUrl(const QString& base, WebApiAction action, const QString& subscriberId,
                      const QString& document = {});

// A reply says the request succeeded when it holds "<status>true".
bool webApiSucceeded(const QString& reply);

// The records of a retrieve reply, up to maxRows rows whose key field
// (name, number called) is not empty; nothing when the reply does not
// report success.
std::optional<std::vector<FriendEntry>> parseFriendList(const QString& reply,
                                                        std::size_t maxRows = kFriendTableRows);
std::optional<std::vector<CallRecord>> parseCallRecords(const QString& reply,
                                                        std::size_t maxRows = kCallRecordRows);

// The web API as the windows use it; requests run as sendWebApiRequestAsync
// runs them.
class WebApiClient {
public:
    explicit WebApiClient(DeploymentSettings deployment) : deployment_(std::move(deployment)) {}
    virtual ~WebApiClient() = default;

    void retrieve(WebApiAction action, const QString& subscriberId, QObject* receiver,
                  std::function<void(WebReply)> done);
    void changeFriend(WebApiAction action, const QString& subscriberId, const FriendEntry& entry,
                      QObject* receiver, std::function<void(WebReply)> done);

protected:
    // The one exchange every request goes through.
    virtual void fetch(const std::string& url, QObject* receiver,
                       std::function<void(WebReply)> done);

private:
    DeploymentSettings deployment_;
};

}
