// orvanta-demo-peers: the SIP side of the demo. Starts a Kamailio registrar
// that knows the scenario's accounts (user and SIP password) and a baresip
// phone registered there that answers every call, then prints one JSON line
// with their addresses and waits for SIGTERM or SIGINT.
#include "peers/SipPeers.h"

#include <rapidjson/document.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

constexpr const char* kCalleeUser = "5551000";
constexpr const char* kCalleePassword = "answer5551000";

std::vector<orvanta::test::SipAccount> scenarioAccounts(const char* path)
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

}

int main(int argc, char** argv)
{
    if (argc != 3 || std::string(argv[1]) != "--scenario") {
        std::fprintf(stderr, "usage: orvanta-demo-peers --scenario FILE\n");
        return 2;
    }
    std::vector<orvanta::test::SipAccount> accounts = scenarioAccounts(argv[2]);
    if (accounts.empty()) {
        std::fprintf(stderr, "orvanta-demo-peers: no accounts in %s\n", argv[2]);
        return 2;
    }
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
        std::printf("{\"event\":\"ready\",\"registrar\":\"%s\",\"callee\":\"%s\"}\n",
                    registrar.hostPort().c_str(), kCalleeUser);
        std::fflush(stdout);
        int received = 0;
        sigwait(&stopSignals, &received);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orvanta-demo-peers: %s\n", error.what());
        return 1;
    }
    return 0;
}
