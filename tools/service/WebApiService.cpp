// Web API server: /softphoneRequest.jsp with the friends list and the call
// records, answered in the XML-like form the dialer cuts with string
// searches. Friends are kept per subscriber; seqno is assigned here.
#include "ServiceContext.h"
#include "Services.h"

#include <algorithm>

namespace orvanta::service {

namespace {

// The text between the first <tag> and the following </tag>; empty when
// either is missing.
std::string element(std::string_view document, const std::string& tag)
{
    const std::string open = "<" + tag + ">";
    const std::string close = "</" + tag + ">";
    const auto start = document.find(open);
    if (start == std::string_view::npos)
        return {};
    const auto end = document.find(close, start + open.size());
    if (end == std::string_view::npos)
        return {};
    return std::string(document.substr(start + open.size(), end - start - open.size()));
}

// A document value with the XML entities the dialer escapes decoded, as an
// XML reader would give it; anything else stays as it is.
std::string unescaped(const std::string& value)
{
    static const std::pair<std::string_view, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string text;
    text.reserve(value.size());
    for (std::size_t i = 0; i < value.size();) {
        const auto entity =
            std::find_if(std::begin(kEntities), std::end(kEntities), [&](const auto& e) {
                return std::string_view(value).substr(i, e.first.size()) == e.first;
            });
        if (entity == std::end(kEntities)) {
            text += value[i++];
            continue;
        }
        text += entity->second;
        i += entity->first.size();
    }
    return text;
}

// A field of the request's document.
std::string documentValue(std::string_view document, const std::string& tag)
{
    return unescaped(element(document, tag));
}

std::string tagged(const std::string& tag, const std::string& value)
{
    return "<" + tag + ">" + value + "</" + tag + ">";
}

std::string replyText(bool ok, const std::string& records = {})
{
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?><response>") +
           tagged("status", ok ? "true" : "false") + records + "</response>";
}

// speeddial comes last: the dialer's record text ends at </speeddial>.
std::string friendRecord(const Friend& f)
{
    return "<data>" + tagged("name", f.name) + tagged("nickname", f.nickname) +
           tagged("pcphone", f.pcphone) + tagged("fax", f.fax) +
           tagged("seqno", std::to_string(f.seqno)) + tagged("speeddial", f.speeddial) + "</data>";
}

std::string callRecord(const LastCall& c)
{
    return "<data>" + tagged("originaldestinationalias", c.originaldestinationalias) +
           tagged("starttime", c.starttime) + tagged("endtime", c.endtime) +
           tagged("callduration", c.callduration) + tagged("callamount", c.callamount) + "</data>";
}

Friend friendFromDocument(const std::string& document)
{
    Friend f;
    f.name = documentValue(document, "name");
    f.nickname = documentValue(document, "nickname");
    f.pcphone = documentValue(document, "pcphone");
    f.fax = documentValue(document, "fax");
    f.speeddial = documentValue(document, "speeddial");
    return f;
}

std::vector<Friend>::iterator findSeqno(std::vector<Friend>& friends, const std::string& seqno)
{
    return std::find_if(friends.begin(), friends.end(),
                        [&](const Friend& f) { return std::to_string(f.seqno) == seqno; });
}

Reply answer(Scenario& scenario, const std::string& action, const std::string& subscriber,
             const std::string& document, LogFields& log)
{
    if (!scenario.findAccount(subscriber)) {
        log.emplace_back("error", "unknown subscriber");
        return Reply{200, replyText(false), "text/xml", {}};
    }
    std::vector<Friend>& friends = scenario.friends[subscriber];
    if (action == "retrieveFriendList") {
        std::string records;
        for (const Friend& f : friends)
            records += friendRecord(f);
        return Reply{200, replyText(true, records), "text/xml", {}};
    }
    if (action == "retrieveLastCalls") {
        std::string records;
        for (const LastCall& c : scenario.lastCalls[subscriber])
            records += callRecord(c);
        return Reply{200, replyText(true, records), "text/xml", {}};
    }
    if (action == "addFriendList") {
        Friend f = friendFromDocument(document);
        if (f.name.empty() || f.pcphone.empty()) {
            log.emplace_back("error", "name and pcphone required");
            return Reply{200, replyText(false), "text/xml", {}};
        }
        f.seqno = scenario.nextSeqno++;
        log.emplace_back("seqno", std::to_string(f.seqno));
        log.emplace_back("name", f.name);
        friends.push_back(std::move(f));
        return Reply{200, replyText(true), "text/xml", {}};
    }
    if (action == "updateFriendList" || action == "deleteFriendList") {
        const std::string seqno = documentValue(document, "seqno");
        const auto it = findSeqno(friends, seqno);
        if (it == friends.end()) {
            log.emplace_back("error", "unknown seqno");
            return Reply{200, replyText(false), "text/xml", {}};
        }
        if (action == "deleteFriendList") {
            friends.erase(it);
        } else {
            Friend changed = friendFromDocument(document);
            changed.seqno = it->seqno;
            log.emplace_back("name", changed.name);
            *it = std::move(changed);
        }
        return Reply{200, replyText(true), "text/xml", {}};
    }
    log.emplace_back("error", "unknown action");
    return Reply{200, replyText(false), "text/xml", {}};
}

}

void registerWebApi(httplib::Server& server, ServiceContext& context)
{
    server.Get("/softphoneRequest.jsp",
               [&context](const httplib::Request& request, httplib::Response& response) {
                   const FormFields query(queryOf(request.target));
                   const std::string action = query.value("actionId");
                   context.serve("webapi." + action, request, response, {},
                                 [&](Scenario& scenario, LogFields& log) {
                                     return answer(scenario, action, query.value("subscriberId"),
                                                   query.value("xmlData"), log);
                                 });
               });
}

}
