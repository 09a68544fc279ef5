#pragma once

#include "support/ServiceProcess.h"
#include "support/TestEnvironment.h"

#include <QCryptographicHash>
#include <gtest/gtest.h>
#include <httplib.h>
#include <rapidjson/document.h>

#include <fstream>
#include <string>

namespace orvanta::test {

// Two subscribers: alice with some credit, bob with almost none.
inline constexpr const char* kTestScenario = R"({
  "accounts": [
    {"user": "alice", "password": "secret1", "sipPassword": "sip-alice", "idClient": "501", "aid": "9",
     "balance": "1.00", "currency": "EUR"},
    {"user": "bob", "password": "secret2", "sipPassword": "sip-bob", "balance": "0.02"}
  ],
  "provisioning": {"registrarip": "127.0.0.1:5999", "header": "Hello"},
  "rates": {"default": "0.10", "numbers": {"4420": "0.03"}},
  "smsPrice": "0.05",
  "vouchers": [{"code": "V100", "amount": "2.50"}, {"code": "V200", "amount": "1.00", "used": true}],
  "friends": {"alice": [{"name": "Carol", "nickname": "C", "pcphone": "300", "fax": "", "speeddial": "3"}]},
  "lastCalls": {"alice": [{"originaldestinationalias": "4420", "starttime": "2026-01-02 10:00:00",
                           "endtime": "2026-01-02 10:01:00", "callduration": "60", "callamount": "0.03"}]}
})";

inline std::string md5(const std::string& text)
{
    return QCryptographicHash::hash(QByteArray::fromStdString(text), QCryptographicHash::Md5)
        .toHex()
        .toStdString();
}

// The text with every occurrence of from replaced by to.
inline std::string replace(std::string text, const std::string& from, const std::string& to)
{
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

inline rapidjson::Document parseJson(const std::string& text)
{
    rapidjson::Document document;
    document.Parse(text.c_str(), text.size());
    return document;
}

inline std::string member(const rapidjson::Value& object, const char* name)
{
    return object.IsObject() && object.HasMember(name) && object[name].IsString()
               ? object[name].GetString()
               : "<missing>";
}

// Writes the scenario to a file and starts the service with it.
class ServiceFixture : public ::testing::Test {
protected:
    void SetUp() override { start(kTestScenario); }

    void start(const std::string& scenario, const std::vector<std::string>& args = {})
    {
        const auto path = dir / "scenario.json";
        std::ofstream(path) << scenario;
        ASSERT_TRUE(service.start(path, args)) << service.error();
    }

    httplib::Client client(const std::string& name) const
    {
        httplib::Client c(service.url(name));
        c.enable_server_certificate_verification(false);
        c.set_read_timeout(5, 0);
        return c;
    }

    httplib::Result get(const std::string& name, const std::string& target) const
    {
        return client(name).Get(target.c_str());
    }

    httplib::Result postForm(const std::string& name, const std::string& target,
                             const std::string& body) const
    {
        return client(name).Post(target.c_str(), body, "application/x-www-form-urlencoded");
    }

    std::string body(const httplib::Result& result) const
    {
        return result ? result->body : "<no reply>";
    }

    std::string balanceOf(const std::string& user) const
    {
        const auto document =
            parseJson(body(get("portal", "/vportal/API/TRAMOZED/balance_api.php?user=" + user +
                                             "&idClient=IDCLIENT")));
        if (!document.IsObject() || !document.HasMember("listbalance") ||
            !document["listbalance"].IsArray() || document["listbalance"].Empty())
            return "<none>";
        return member(document["listbalance"][0], "balance");
    }

    TempDir dir;
    ServiceProcess service;
};

}
