#pragma once

#include "net/AccountApiClient.h"
#include "net/SmsGateway.h"
#include "net/WebApiClient.h"
#include "services/ServicePorts.h"

#include <QUrl>
#include <QUrlQuery>
#include <deque>
#include <functional>
#include <map>

namespace orvanta::test {

// Requests the models made, answered when the test says so.
template <typename Reply>
class PendingRequests {
public:
    struct Request {
        std::string url;
        std::string body;
        std::function<void(Reply)> done;
    };

    void add(std::string url, std::string body, std::function<void(Reply)> done)
    {
        sent.push_back(url + (body.empty() ? "" : " " + body));
        pending_.push_back({std::move(url), std::move(body), std::move(done)});
    }

    bool waiting() const { return !pending_.empty(); }
    const Request& next() const { return pending_.front(); }

    // Answers the oldest request still waiting.
    void answer(const Reply& reply)
    {
        Request request = std::move(pending_.front());
        pending_.pop_front();
        request.done(reply);
    }

    std::vector<std::string> sent;  // every URL (and body) in order

private:
    std::deque<Request> pending_;
};

inline DeploymentSettings scriptedDeployment()
{
    DeploymentSettings deployment;
    deployment.webApiUrl = QStringLiteral("http://webapi.test");
    return deployment;
}

class ScriptedWebApi : public WebApiClient {
public:
    ScriptedWebApi() : WebApiClient(scriptedDeployment()) {}
    PendingRequests<WebReply> requests;

protected:
    void fetch(const std::string& url, QObject*, std::function<void(WebReply)> done) override
    {
        requests.add(url, {}, std::move(done));
    }
};

class ScriptedAccountApi : public AccountApiClient {
public:
    ScriptedAccountApi() : AccountApiClient(scriptedDeployment()) {}
    PendingRequests<std::string> requests;

protected:
    void post(const std::string& url, const std::string& body, QObject*,
              std::function<void(std::string)> done) override
    {
        requests.add(url, body, std::move(done));
    }
};

class ScriptedSmsGateway : public SmsGateway {
public:
    ScriptedSmsGateway() : SmsGateway(scriptedDeployment()) {}
    PendingRequests<WebReply> requests;

protected:
    void fetch(const std::string& url, QObject*, std::function<void(WebReply)> done) override
    {
        requests.add(url, {}, std::move(done));
    }
};

struct ScriptedSession : ServiceSession {
    QString sipUser() const override { return user; }
    QString provisioningValue(const QString& key) const override
    {
        const auto it = values.find(key);
        return it == values.end() ? QString() : it->second;
    }

    QString user = QStringLiteral("alice");
    std::map<QString, QString> values;
};

struct CountingBalance : BalanceRefresher {
    void refreshBalance() override { ++refreshes; }
    int refreshes = 0;
};

// A query value of a URL the models sent, decoded.
inline QString queryItem(const std::string& url, const QString& name)
{
    return QUrlQuery(QUrl(QString::fromStdString(url))).queryItemValue(name, QUrl::FullyDecoded);
}

}
