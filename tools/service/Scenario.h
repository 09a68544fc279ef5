#pragma once

#include "Amount.h"

#include <rapidjson/document.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace orvanta::service {

struct Account {
    std::string user;
    std::string password;
    std::string sipPassword;
    std::string idClient;
    std::string aid;
    Amount balance = 0;
    std::string currency = "USD";
};

struct Friend {
    std::string name;
    std::string nickname;
    std::string pcphone;
    std::string fax;
    std::string speeddial;
    unsigned seqno = 0;
};

struct LastCall {
    std::string originaldestinationalias;
    std::string starttime;
    std::string endtime;
    std::string callduration;
    std::string callamount;
};

struct Voucher {
    std::string code;
    Amount amount = 0;
    bool used = false;
};

struct Rate {
    std::string text;  // as the scenario wrote it, which is what the client shows
    Amount perMinute = 0;
};

enum class FaultKind { None, Empty, ServerErrorText, Http500, CloseMidReply, Garbage };

struct Fault {
    FaultKind kind = FaultKind::None;
    int delayMs = 0;
    int times = -1;  // requests it still applies to; -1 for all
};

// Everything the stand-in answers with; also its live state (balances,
// vouchers used, friends). Guarded by the caller.
struct Scenario {
    std::vector<Account> accounts;
    // Provisioning reply values, in the order they are sent.
    std::vector<std::pair<std::string, std::string>> provisioning;
    Rate defaultRate;
    std::map<std::string, Rate> rates;  // by exact number
    Amount smsPrice = 0;
    std::vector<Voucher> vouchers;
    std::map<std::string, std::vector<Friend>> friends;      // by subscriber
    std::map<std::string, std::vector<LastCall>> lastCalls;  // by subscriber
    std::map<std::string, Fault> faults;                     // by endpoint name
    unsigned nextSeqno = 1;

    Scenario();

    Account* findAccount(const std::string& user);
    const std::string* provisioningValue(const std::string& key) const;
    bool hasProvisioningValue(const std::string& key) const
    {
        return provisioningValue(key) != nullptr;
    }
    void setProvisioningValue(const std::string& key, std::string value);
};

// Applies a scenario document (the whole file, or a fragment sent to the
// control endpoint): each member present replaces its part; "provisioning"
// and "faults" are merged key by key. On error returns false with a message
// and leaves the scenario partly changed: callers work on a copy.
bool applyScenario(Scenario& scenario, const rapidjson::Value& document, std::string& error);

// Parses JSON text (at most kMaxScenarioBytes) and applies it.
inline constexpr std::size_t kMaxScenarioBytes = 1 << 20;
bool applyScenarioText(Scenario& scenario, const std::string& text, std::string& error);

const char* faultName(FaultKind kind);

}
