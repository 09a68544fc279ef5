#include "Scenario.h"

#include <rapidjson/error/en.h>

#include <algorithm>
#include <array>

namespace orvanta::service {

namespace {

constexpr std::size_t kMaxText = 1000;
constexpr std::size_t kMaxItems = 5000;
constexpr int kMaxDelayMs = 60000;

// Every key the dialer reads from the provisioning reply, with values that
// let it sign in against this process. The five addresses of this process
// are filled in once its ports are known.
const std::array<std::pair<const char*, const char*>, 31> kProvisioningDefaults{{
    {"status", "1"},
    {"ip", "127.0.0.1"},
    {"registrarip", "127.0.0.1"},
    {"vpn", "off"},
    {"newkey", "off"},
    {"oldkey", ""},
    {"prefix", "000-000-000"},
    {"size", "20"},
    {"sprt", "0"},
    {"rereg", "300"},
    {"rtrp", "0"},
    {"keep", "30"},
    {"fips", ""},
    {"fports", ""},
    {"header", ""},
    {"footer", ""},
    {"myaccounts", ""},
    {"balance", "on"},
    {"email", ""},
    {"orecharge", ""},
    {"webcdr", "off"},
    {"webcdr_url", ""},
    {"api_url", ""},
    {"sms_url", ""},
    {"sms", "on"},
    {"im", "off"},
    {"Signup_url", ""},
    {"connectiontype", "udp"},
    {"ivr", "off"},
    {"en_pref", ""},
    {"key", ""},
}};

const std::array<std::pair<const char*, FaultKind>, 6> kFaultNames{{
    {"none", FaultKind::None},
    {"empty", FaultKind::Empty},
    {"serverError", FaultKind::ServerErrorText},
    {"http500", FaultKind::Http500},
    {"closeMidReply", FaultKind::CloseMidReply},
    {"garbage", FaultKind::Garbage},
}};

// Reads JSON members into plain fields, remembering the first problem.
class Reader {
public:
    explicit Reader(std::string& error) : error_(error) {}

    bool ok() const { return error_.empty(); }

    bool fail(const std::string& where, const char* what)
    {
        if (error_.empty())
            error_ = where + ": " + what;
        return false;
    }

    // A string member; absent leaves target unchanged unless required.
    bool text(const rapidjson::Value& object, const char* name, std::string& target,
              const std::string& where, bool required = false)
    {
        const auto member = object.FindMember(name);
        if (member == object.MemberEnd())
            return required ? fail(where + "." + name, "missing") : true;
        return string(member->value, target, where + "." + name);
    }

    bool string(const rapidjson::Value& value, std::string& target, const std::string& where)
    {
        if (!value.IsString())
            return fail(where, "must be a string");
        if (value.GetStringLength() > kMaxText)
            return fail(where, "too long");
        target.assign(value.GetString(), value.GetStringLength());
        return true;
    }

    bool amount(const rapidjson::Value& object, const char* name, Amount& target,
                const std::string& where, bool required = false)
    {
        std::string text;
        bool present = object.HasMember(name);
        if (!this->text(object, name, text, where, required))
            return false;
        if (!present)
            return true;
        const auto parsed = parseAmount(text);
        if (!parsed)
            return fail(where + "." + name, "must be an amount such as \"12.50\"");
        target = *parsed;
        return true;
    }

    const rapidjson::Value* array(const rapidjson::Value& value, const std::string& where)
    {
        if (!value.IsArray())
            return fail(where, "must be an array"), nullptr;
        if (value.Size() > kMaxItems)
            return fail(where, "too many entries"), nullptr;
        return &value;
    }

    const rapidjson::Value* object(const rapidjson::Value& value, const std::string& where)
    {
        if (!value.IsObject())
            return fail(where, "must be an object"), nullptr;
        if (value.MemberCount() > kMaxItems)
            return fail(where, "too many members"), nullptr;
        return &value;
    }

private:
    std::string& error_;
};

std::string at(const std::string& where, rapidjson::SizeType index)
{
    return where + "[" + std::to_string(index) + "]";
}

void readAccounts(Reader& r, const rapidjson::Value& value, Scenario& s)
{
    if (!r.array(value, "accounts"))
        return;
    std::vector<Account> accounts;
    for (rapidjson::SizeType i = 0; i < value.Size() && r.ok(); ++i) {
        const std::string where = at("accounts", i);
        if (!r.object(value[i], where))
            return;
        Account a;
        a.idClient = std::to_string(1000 + i);
        a.aid = std::to_string(i + 1);
        r.text(value[i], "user", a.user, where, true) &&
            r.text(value[i], "password", a.password, where, true) &&
            r.text(value[i], "sipPassword", a.sipPassword, where, true) &&
            r.text(value[i], "idClient", a.idClient, where) &&
            r.text(value[i], "aid", a.aid, where) &&
            r.amount(value[i], "balance", a.balance, where) &&
            r.text(value[i], "currency", a.currency, where);
        if (r.ok() && a.user.empty())
            r.fail(where + ".user", "must not be empty");
        const bool duplicate =
            std::any_of(accounts.begin(), accounts.end(),
                        [&](const Account& other) { return other.user == a.user; });
        if (r.ok() && duplicate)
            r.fail(where + ".user", "used by an earlier account");
        accounts.push_back(std::move(a));
    }
    s.accounts = std::move(accounts);
}

void readProvisioning(Reader& r, const rapidjson::Value& value, Scenario& s)
{
    if (!r.object(value, "provisioning"))
        return;
    for (const auto& member : value.GetObject()) {
        std::string text;
        const std::string key(member.name.GetString(), member.name.GetStringLength());
        if (!r.string(member.value, text, "provisioning." + key))
            return;
        s.setProvisioningValue(key, std::move(text));
    }
}

void readRates(Reader& r, const rapidjson::Value& value, Scenario& s)
{
    if (!r.object(value, "rates"))
        return;
    auto readRate = [&](const rapidjson::Value& v, const std::string& where, Rate& rate) {
        if (!r.string(v, rate.text, where))
            return;
        const auto parsed = parseAmount(rate.text);
        if (!parsed || *parsed == 0)
            r.fail(where, "must be a rate above zero such as \"0.02\"");
        else
            rate.perMinute = *parsed;
    };
    if (value.HasMember("default"))
        readRate(value["default"], "rates.default", s.defaultRate);
    if (value.HasMember("numbers") && r.object(value["numbers"], "rates.numbers")) {
        s.rates.clear();
        for (const auto& member : value["numbers"].GetObject()) {
            const std::string number(member.name.GetString(), member.name.GetStringLength());
            readRate(member.value, "rates.numbers." + number, s.rates[number]);
        }
    }
}

void readVouchers(Reader& r, const rapidjson::Value& value, Scenario& s)
{
    if (!r.array(value, "vouchers"))
        return;
    s.vouchers.clear();
    for (rapidjson::SizeType i = 0; i < value.Size() && r.ok(); ++i) {
        const std::string where = at("vouchers", i);
        if (!r.object(value[i], where))
            return;
        Voucher v;
        r.text(value[i], "code", v.code, where, true) &&
            r.amount(value[i], "amount", v.amount, where, true);
        if (value[i].HasMember("used")) {
            if (!value[i]["used"].IsBool())
                r.fail(where + ".used", "must be true or false");
            else
                v.used = value[i]["used"].GetBool();
        }
        s.vouchers.push_back(std::move(v));
    }
}

void readFriends(Reader& r, const rapidjson::Value& value, Scenario& s)
{
    if (!r.object(value, "friends"))
        return;
    for (const auto& member : value.GetObject()) {
        const std::string subscriber(member.name.GetString(), member.name.GetStringLength());
        const std::string base = "friends." + subscriber;
        if (!r.array(member.value, base))
            return;
        std::vector<Friend> list;
        for (rapidjson::SizeType i = 0; i < member.value.Size() && r.ok(); ++i) {
            const std::string where = at(base, i);
            const rapidjson::Value& v = member.value[i];
            if (!r.object(v, where))
                return;
            Friend f;
            r.text(v, "name", f.name, where, true) && r.text(v, "nickname", f.nickname, where) &&
                r.text(v, "pcphone", f.pcphone, where) && r.text(v, "fax", f.fax, where) &&
                r.text(v, "speeddial", f.speeddial, where);
            f.seqno = s.nextSeqno++;
            list.push_back(std::move(f));
        }
        s.friends[subscriber] = std::move(list);
    }
}

void readLastCalls(Reader& r, const rapidjson::Value& value, Scenario& s)
{
    if (!r.object(value, "lastCalls"))
        return;
    for (const auto& member : value.GetObject()) {
        const std::string subscriber(member.name.GetString(), member.name.GetStringLength());
        const std::string base = "lastCalls." + subscriber;
        if (!r.array(member.value, base))
            return;
        std::vector<LastCall> list;
        for (rapidjson::SizeType i = 0; i < member.value.Size() && r.ok(); ++i) {
            const std::string where = at(base, i);
            const rapidjson::Value& v = member.value[i];
            if (!r.object(v, where))
                return;
            LastCall c;
            r.text(v, "originaldestinationalias", c.originaldestinationalias, where, true) &&
                r.text(v, "starttime", c.starttime, where) &&
                r.text(v, "endtime", c.endtime, where) &&
                r.text(v, "callduration", c.callduration, where) &&
                r.text(v, "callamount", c.callamount, where);
            list.push_back(std::move(c));
        }
        s.lastCalls[subscriber] = std::move(list);
    }
}

void readFaults(Reader& r, const rapidjson::Value& value, Scenario& s)
{
    if (!r.object(value, "faults"))
        return;
    for (const auto& member : value.GetObject()) {
        const std::string endpoint(member.name.GetString(), member.name.GetStringLength());
        const std::string where = "faults." + endpoint;
        if (!r.object(member.value, where))
            return;
        Fault fault;
        std::string kind = "none";
        if (!r.text(member.value, "reply", kind, where))
            return;
        const auto named = std::find_if(kFaultNames.begin(), kFaultNames.end(),
                                        [&](const auto& entry) { return kind == entry.first; });
        if (named == kFaultNames.end()) {
            r.fail(where + ".reply",
                   "must be none, empty, serverError, http500, closeMidReply or garbage");
            return;
        }
        fault.kind = named->second;
        for (const auto& [name, target, low, high] :
             {std::tuple{"delayMs", &fault.delayMs, 0, kMaxDelayMs},
              std::tuple{"times", &fault.times, -1, 1000000}}) {
            if (!member.value.HasMember(name))
                continue;
            const rapidjson::Value& number = member.value[name];
            if (!number.IsInt() || number.GetInt() < low || number.GetInt() > high) {
                r.fail(where + "." + name, "out of range");
                return;
            }
            *target = number.GetInt();
        }
        if (fault.kind == FaultKind::None && fault.delayMs == 0)
            s.faults.erase(endpoint);
        else
            s.faults[endpoint] = fault;
    }
}

}

Scenario::Scenario()
{
    for (const auto& [key, value] : kProvisioningDefaults)
        provisioning.emplace_back(key, value);
    defaultRate = Rate{"0.05", 500};
    smsPrice = 500;
}

Account* Scenario::findAccount(const std::string& user)
{
    const auto it = std::find_if(accounts.begin(), accounts.end(),
                                 [&](const Account& a) { return a.user == user; });
    return it == accounts.end() ? nullptr : &*it;
}

const std::string* Scenario::provisioningValue(const std::string& key) const
{
    for (const auto& [k, v] : provisioning) {
        if (k == key)
            return &v;
    }
    return nullptr;
}

void Scenario::setProvisioningValue(const std::string& key, std::string value)
{
    for (auto& [k, v] : provisioning) {
        if (k == key) {
            v = std::move(value);
            return;
        }
    }
    provisioning.emplace_back(key, std::move(value));
}

bool applyScenario(Scenario& scenario, const rapidjson::Value& document, std::string& error)
{
    error.clear();
    Reader r(error);
    if (!document.IsObject())
        return r.fail("scenario", "must be a JSON object");
    using Section = void (*)(Reader&, const rapidjson::Value&, Scenario&);
    const std::array<std::pair<const char*, Section>, 7> sections{{
        {"accounts", readAccounts},
        {"provisioning", readProvisioning},
        {"rates", readRates},
        {"vouchers", readVouchers},
        {"friends", readFriends},
        {"lastCalls", readLastCalls},
        {"faults", readFaults},
    }};
    for (const auto& member : document.GetObject()) {
        const std::string name(member.name.GetString(), member.name.GetStringLength());
        if (name == "smsPrice") {
            std::string text;
            if (r.string(member.value, text, name)) {
                const auto parsed = parseAmount(text);
                if (!parsed)
                    r.fail(name, "must be an amount such as \"0.05\"");
                else
                    scenario.smsPrice = *parsed;
            }
        } else {
            const auto section = std::find_if(sections.begin(), sections.end(),
                                              [&](const auto& s) { return name == s.first; });
            if (section == sections.end())
                r.fail(name, "unknown member");
            else
                section->second(r, member.value, scenario);
        }
        if (!r.ok())
            return false;
    }
    return true;
}

bool applyScenarioText(Scenario& scenario, const std::string& text, std::string& error)
{
    if (text.size() > kMaxScenarioBytes) {
        error = "scenario larger than 1 MiB";
        return false;
    }
    rapidjson::Document document;
    document.Parse(text.c_str(), text.size());
    if (document.HasParseError()) {
        error = std::string("JSON error at offset ") + std::to_string(document.GetErrorOffset()) +
                ": " + rapidjson::GetParseError_En(document.GetParseError());
        return false;
    }
    return applyScenario(scenario, document, error);
}

const char* faultName(FaultKind kind)
{
    for (const auto& [name, k] : kFaultNames) {
        if (k == kind)
            return name;
    }
    return "none";
}

}
