#include "peers/SipPeers.h"

#include <rapidjson/document.h>

#include <algorithm>
#include <arpa/inet.h>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <netinet/in.h>
#include <sstream>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace orvanta::test {

namespace {

constexpr auto kStartTimeout = std::chrono::milliseconds(8000);
constexpr size_t kMaxControlMessage = 64 * 1024;

sockaddr_in loopbackAddress(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

int boundPort(int type)
{
    const int fd = ::socket(AF_INET, type, 0);
    if (fd < 0)
        return 0;
    sockaddr_in address = loopbackAddress(0);
    socklen_t length = sizeof(address);
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

bool portTaken(int type, int port)
{
    const int fd = ::socket(AF_INET, type, 0);
    if (fd < 0)
        return false;
    sockaddr_in address = loopbackAddress(port);
    const bool taken = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0;
    ::close(fd);
    return taken;
}

void writeFile(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

bool plainWord(const std::string& text)
{
    if (text.empty() || text.size() > 64)
        return false;
    for (char c : text) {
        if (!std::isalnum(static_cast<unsigned char>(c)))
            return false;
    }
    return true;
}

// A user part as an address carries it, in lower case: letters and digits
// stay, other bytes become %hh.
std::string escapedLowerCase(const std::string& user)
{
    std::string escaped;
    for (char c : user) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte)) {
            escaped += static_cast<char>(std::tolower(byte));
        } else {
            static const char kHex[] = "0123456789abcdef";
            escaped += {'%', kHex[byte >> 4], kHex[byte & 0x0F]};
        }
    }
    return escaped;
}

// The name Kamailio keeps a registration under: its registrar refuses to
// unescape non-ASCII user parts, so those are kept as their escaped form
// with "_" for "%".
std::string storedName(const std::string& user)
{
    if (plainWord(user))
        return user;
    std::string name = escapedLowerCase(user);
    std::replace(name.begin(), name.end(), '%', '_');
    return name;
}

// Letters and digits, or bytes of non-ASCII UTF-8 text: safe inside a
// quoted string of a Kamailio configuration.
bool accountName(const std::string& text)
{
    if (text.empty() || text.size() > 64)
        return false;
    for (char c : text) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && static_cast<unsigned char>(c) < 0x80)
            return false;
    }
    return true;
}

std::string jsonEscaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '"' || c == '\\')
            out.push_back('\\');
        out.push_back(c);
    }
    return out;
}

const char* kResponseHead = R"(
SIP/2.0 %CODE%
[last_Via:]
[last_From:]
[last_To:];tag=[pid]SIPpTag01[call_number]
[last_Call-ID:]
[last_CSeq:]
)";

std::string sippReply(const std::string& status, const std::string& extraHeaders = {})
{
    std::string head = kResponseHead;
    head.replace(head.find("%CODE%"), 6, status);
    return "  <send><![CDATA[" + head + extraHeaders + "Content-Length: 0\n\n]]></send>\n";
}

std::string registrarScenario(SippRegistrar::Reply reply, const SipAccount& account)
{
    const std::string ok = sippReply("200 OK", "[last_Contact:];expires=3600\nExpires: 3600\n");
    std::string body = "  <recv request=\"REGISTER\" crlf=\"true\"/>\n";
    switch (reply) {
    case SippRegistrar::Reply::Ok:
        body += ok;
        break;
    case SippRegistrar::Reply::Challenge:
        body += sippReply("401 Unauthorized", "WWW-Authenticate: Digest realm=\"127.0.0.1\", "
                                              "nonce=\"4f9c2e7a1b3d5f60\", algorithm=MD5\n");
        body += "  <recv request=\"REGISTER\" check_it=\"true\">\n"
                "    <action><verifyauth assign_to=\"authvalid\" username=\"" +
                account.user + "\" password=\"" + account.password +
                "\"/></action>\n"
                "  </recv>\n"
                "  <nop test=\"authvalid\" next=\"goodauth\"/>\n" +
                sippReply("403 Forbidden") +
                "  <nop next=\"end\"/>\n"
                "  <label id=\"goodauth\"/>\n" +
                ok;
        break;
    case SippRegistrar::Reply::Forbidden:
        body += sippReply("403 Forbidden");
        break;
    case SippRegistrar::Reply::NotFound:
        body += sippReply("404 Not Found");
        break;
    case SippRegistrar::Reply::RequestTimeout:
        body += sippReply("408 Request Timeout");
        break;
    case SippRegistrar::Reply::ServiceUnavailable:
        body += sippReply("503 Service Unavailable");
        break;
    }
    // The unregistration at shutdown.
    body += "  <recv request=\"REGISTER\"/>\n" + sippReply("200 OK", "Expires: 0\n") +
            "  <label id=\"end\"/>\n";
    return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<scenario name=\"registrar\">\n" +
           body + "</scenario>\n";
}

bool waitForUdpPort(ChildProcess& process, int port)
{
    return waitUntil([&] { return !process.isRunning() || portTaken(SOCK_DGRAM, port); },
                     kStartTimeout) &&
           process.isRunning();
}

}

int freePort()
{
    for (int attempt = 0; attempt < 50; ++attempt) {
        const int port = boundPort(SOCK_DGRAM);
        if (port > 0 && !portTaken(SOCK_STREAM, port) && !portTaken(SOCK_DGRAM, port + 1))
            return port;
    }
    throw std::runtime_error("no free port");
}

// ---- sipp ----

SippRegistrar::SippRegistrar(Reply reply, SipAccount account) : port_(freePort())
{
    const auto scenario = dir_ / "registrar.xml";
    writeFile(scenario, registrarScenario(reply, account));
    const bool started = process_.start(
        "sipp",
        {"-sf", scenario.string(), "-i", kLoopback, "-p", std::to_string(port_), "-nostdin"},
        dir_ / "sipp.log");
    if (!started || !waitForUdpPort(process_, port_))
        throw std::runtime_error("sipp registrar did not start:\n" + process_.output());
}

std::string SippRegistrar::hostPort() const
{
    return std::string(kLoopback) + ":" + std::to_string(port_);
}

namespace {

// The "a=rtpmap:" values of the first SDP body in a sipp message trace.
std::vector<std::string> rtpMapsOfFirstMessage(const std::filesystem::path& trace)
{
    std::ifstream in(trace);
    std::vector<std::string> maps;
    bool seenBody = false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.rfind("v=0", 0) == 0) {
            if (seenBody)
                break;
            seenBody = true;
        }
        if (seenBody && line.rfind("a=rtpmap:", 0) == 0)
            maps.push_back(line.substr(9));
    }
    return maps;
}

}

SippOfferCatcher::SippOfferCatcher() : port_(freePort())
{
    const auto scenario = dir_ / "callee.xml";
    writeFile(scenario,
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<scenario name=\"callee\">\n"
              "  <recv request=\"INVITE\">\n"
              "    <action>\n"
              "      <ereg regexp=\"m=audio [^\r\n]*\" search_in=\"body\" assign_to=\"mline\"/>\n"
              "      <ereg regexp=\"a=ptime:[0-9]+\" search_in=\"body\" assign_to=\"ptime\"/>\n"
              "      <log message=\"OFFER [$mline] [$ptime] END\"/>\n"
              "    </action>\n"
              "  </recv>\n" +
                  sippReply("603 Decline") +
                  "  <recv request=\"ACK\"/>\n"
                  "</scenario>\n");
    const bool started =
        process_.start("sipp",
                       {"-sf", scenario.string(), "-i", kLoopback, "-p", std::to_string(port_),
                        "-nostdin", "-trace_logs", "-log_file", (dir_ / "offer.log").string(),
                        "-trace_msg", "-message_file", (dir_ / "messages.log").string()},
                       dir_ / "sipp.log");
    if (!started || !waitForUdpPort(process_, port_))
        throw std::runtime_error("sipp callee did not start:\n" + process_.output());
}

std::string SippOfferCatcher::hostPort() const
{
    return std::string(kLoopback) + ":" + std::to_string(port_);
}

SippOfferCatcher::Offer SippOfferCatcher::waitForOffer(std::chrono::milliseconds timeout)
{
    Offer offer;
    waitUntil(
        [&] {
            std::ifstream in(dir_ / "offer.log");
            std::ostringstream text;
            text << in.rdbuf();
            const std::string log = text.str();
            const auto start = log.find("OFFER ");
            const auto end = log.find(" END", start == std::string::npos ? 0 : start);
            if (start == std::string::npos || end == std::string::npos)
                return false;
            const std::string found = log.substr(start + 6, end - start - 6);
            const auto split = found.rfind(" ");
            offer.audioLine = found.substr(0, split);
            if (split != std::string::npos && found.compare(split + 1, 8, "a=ptime:") == 0)
                offer.packetTime = found.substr(split + 9);
            offer.rtpMaps = rtpMapsOfFirstMessage(dir_ / "messages.log");
            return true;
        },
        timeout);
    return offer;
}

SilentUdpPeer::SilentUdpPeer()
{
    socket_ = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address = loopbackAddress(0);
    socklen_t length = sizeof(address);
    if (socket_ < 0 ||
        ::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("cannot bind a silent UDP port");
    port_ = ntohs(address.sin_port);
}

SilentUdpPeer::~SilentUdpPeer()
{
    if (socket_ >= 0)
        ::close(socket_);
}

// ---- coturn ----

StunServer::StunServer() : port_(freePort())
{
    const bool started =
        process_.start("turnserver",
                       {"-n", "--listening-ip", kLoopback, "--listening-port",
                        std::to_string(port_), "--stun-only", "--no-tls", "--no-dtls", "--no-tcp",
                        "--no-cli", "-V", "--log-file", "stdout", "--pidfile",
                        (dir_ / "turnserver.pid").string(), "--userdb", (dir_ / "turndb").string()},
                       dir_ / "turnserver.log");
    if (!started || !waitForUdpPort(process_, port_))
        throw std::runtime_error("turnserver did not start:\n" + process_.output());
}

int StunServer::answered() const
{
    // Its verbose log names every reply it writes.
    const std::string log = process_.output();
    int count = 0;
    const std::string marker = "write_client_connection: prepare to write";
    for (auto at = log.find(marker); at != std::string::npos; at = log.find(marker, at + 1))
        ++count;
    return count;
}

// ---- Kamailio ----

TestCertificate makeTestCertificate(const std::filesystem::path& dir)
{
    TestCertificate files{dir / "cert.pem", dir / "key.pem", dir / "combined.pem"};
    ChildProcess openssl;
    const bool made =
        openssl.start("openssl",
                      {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                       "-nodes", "-keyout", files.key.string(), "-out", files.certificate.string(),
                       "-days", "2", "-subj", "/CN=127.0.0.1"},
                      dir / "openssl.log") &&
        openssl.waitForExit(std::chrono::milliseconds(10000)) == 0;
    if (!made)
        throw std::runtime_error("openssl could not make a certificate:\n" + openssl.output());
    std::ifstream certificate(files.certificate), key(files.key);
    std::ostringstream both;
    both << certificate.rdbuf() << key.rdbuf();
    writeFile(files.combined, both.str());
    return files;
}

Kamailio::Kamailio(std::vector<SipAccount> accounts, bool tls)
        : port_(freePort()), tlsPort_(tls ? freePort() : 0)
{
    std::string passwords;
    for (const auto& account : accounts) {
        if (!accountName(account.user) || !plainWord(account.password))
            throw std::invalid_argument(
                "account names must be letters, digits or non-ASCII text; passwords letters and "
                "digits");
        passwords += "    case \"" + account.user + "\": $var(password) = \"" + account.password +
                     "\"; $var(user) = \"" + escapedLowerCase(account.user) + "\"; $var(aor) = \"" +
                     storedName(account.user) + "\"; break;\n";
    }
    const std::string listen = std::string(kLoopback) + ":" + std::to_string(port_);
    std::string tlsSettings = "disable_tcp=yes\n";
    if (tls) {
        const auto files = makeTestCertificate(dir_.path());
        writeFile(dir_ / "tls.cfg",
                  "[server:default]\nmethod = TLSv1.2+\nverify_certificate = no\n"
                  "require_certificate = no\nprivate_key = " +
                      files.key.string() + "\ncertificate = " + files.certificate.string() +
                      "\n\n[client:default]\nmethod = TLSv1.2+\nverify_certificate = no\n"
                      "require_certificate = no\n");
        const std::string tlsListen = std::string(kLoopback) + ":" + std::to_string(tlsPort_);
        tlsSettings = "enable_tls=yes\ntcp_children=2\nlisten=tls:" + tlsListen + "\nalias=\"" +
                      tlsListen +
                      "\"\nloadmodule \"/usr/lib/x86_64-linux-gnu/kamailio/modules/tls.so\"\n"
                      "modparam(\"tls\", \"config\", \"" +
                      (dir_ / "tls.cfg").string() + "\")\n";
    }
    const std::string config = R"KAM(#!KAMAILIO
debug=1
log_stderror=yes
children=2
auto_aliases=no
listen=udp:)KAM" + listen + R"KAM(
alias=")KAM" + listen + R"KAM("
)KAM" + tlsSettings + R"KAM(
mpath="/usr/lib/x86_64-linux-gnu/kamailio/modules/"
loadmodule "tm.so"
loadmodule "sl.so"
loadmodule "rr.so"
loadmodule "pv.so"
loadmodule "maxfwd.so"
loadmodule "textops.so"
loadmodule "siputils.so"
loadmodule "xlog.so"
loadmodule "usrloc.so"
loadmodule "registrar.so"
loadmodule "auth.so"
modparam("usrloc", "db_mode", 0)
# GRUUs would name this host without its port.
modparam("registrar", "gruu_enabled", 0)
modparam("tm", "fr_timer", 5000)
modparam("tm", "fr_inv_timer", 20000)

request_route {
  if (!mf_process_maxfwd_header("10")) { sl_send_reply("483", "Too Many Hops"); exit; }
  if (is_method("CANCEL")) { if (t_check_trans()) t_relay(); exit; }
  if (has_totag()) {
    if (is_method("ACK")) xlog("L_ERR", "ack from $fU at $TV(Sn)\n");
    if (loose_route()) { t_relay(); exit; }
    if (is_method("ACK")) { if (t_check_trans()) t_relay(); exit; }
    sl_send_reply("404", "Not here");
    exit;
  }
  t_check_trans();
  if (is_method("REGISTER")) {
    route(AUTH);
    if (!save("location", "0", "sip:$var(aor)@$td")) { sl_reply_error(); exit; }
    xlog("L_ERR", "registered $tU over $pr at $TV(Sn)\n");
    exit;
  }
  # A pre-loaded Route naming this proxy is consumed here.
  loose_route();
  if (is_method("INVITE|SUBSCRIBE|REFER")) record_route();
  # Some clients drop the port of a target in this domain.
  if (uri == myself || ($rd == "127.0.0.1" && $(ru{uri.port}) == "")) {
    if (!lookup("location")) { sl_send_reply("404", "Not Found"); exit; }
  }
  if (!t_relay()) sl_reply_error();
}

route[AUTH] {
  $var(password) = "";
  $var(user) = "";
  $var(aor) = "";
  switch ($au) {
)KAM" + passwords + R"KAM(    default: break;
  }
  if ($var(password) == "" || !pv_www_authenticate("$td", "$var(password)", "0")) {
    www_challenge("$td", "0");
    exit;
  }
  # The digest user name is plain text, the address's user part escaped
  # (hex digits in either case); $var(user) is the account's escaped form.
  if ($(tU{s.tolower}) != $var(user)) { sl_send_reply("403", "Forbidden"); exit; }
  consume_credentials();
}
)KAM";
    const auto file = dir_ / "kamailio.cfg";
    writeFile(file, config);
    const bool started = process_.start("kamailio",
                                        {"-DD", "-E", "-f", file.string(), "-w",
                                         dir_.path().string(), "-Y", dir_.path().string(), "-P",
                                         (dir_ / "kamailio.pid").string(), "-m", "32", "-M", "8"},
                                        dir_ / "kamailio.log");
    if (!started || !waitForUdpPort(process_, port_))
        throw std::runtime_error("kamailio did not start:\n" + process_.output());
}

bool Kamailio::waitForOutput(const std::string& text, std::chrono::milliseconds timeout) const
{
    return waitUntil([&] { return process_.output().find(text) != std::string::npos; }, timeout);
}

std::string Kamailio::tlsHostPort() const
{
    return std::string(kLoopback) + ":" + std::to_string(tlsPort_);
}

std::string Kamailio::hostPort() const
{
    return std::string(kLoopback) + ":" + std::to_string(port_);
}

std::string Kamailio::uri(const std::string& user) const
{
    return "sip:" + user + "@" + hostPort();
}

// ---- baresip ----

void writeToneWav(const std::filesystem::path& path, std::chrono::seconds length, uint32_t rate,
                  uint16_t channels)
{
    const uint32_t frames = rate * static_cast<uint32_t>(length.count());
    const uint32_t frameBytes = 2u * channels;
    const uint32_t dataBytes = frames * frameBytes;
    std::string wav;
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            wav.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
    };
    auto put16 = [&](uint16_t v) {
        wav.push_back(static_cast<char>(v & 0xff));
        wav.push_back(static_cast<char>(v >> 8));
    };
    wav += "RIFF";
    put32(36 + dataBytes);
    wav += "WAVEfmt ";
    put32(16);
    put16(1);
    put16(channels);
    put32(rate);
    put32(rate * frameBytes);
    put16(static_cast<uint16_t>(frameBytes));
    put16(16);
    wav += "data";
    put32(dataBytes);
    for (uint32_t i = 0; i < frames; ++i) {
        const auto sample = static_cast<uint16_t>(
            static_cast<int16_t>(8000 * std::sin(2 * M_PI * 440.0 * i / rate)));
        for (uint16_t channel = 0; channel < channels; ++channel)
            put16(sample);
    }
    writeFile(path, wav);
}

Baresip::Baresip(Options options)
        : options_(std::move(options)), sipPort_(freePort()), controlPort_(freePort())
{
    if (!plainWord(options_.user) || !plainWord(options_.password))
        throw std::invalid_argument("baresip user and password must be letters and digits");
    const auto tone = dir_ / "tone.wav";
    const bool opus = options_.codec == Options::Codec::Opus;
    writeToneWav(tone, std::chrono::seconds(20), opus ? 48000 : 8000, opus ? 2 : 1);
    std::string tlsSettings;
    if (options_.tlsAndSrtp)
        tlsSettings =
            "sip_certificate " + makeTestCertificate(dir_.path()).combined.string() + "\n";
    const std::string rtpFirst = std::to_string(freePort() & ~1);
    writeFile(dir_ / "config", "poll_method epoll\n"
                               "sip_listen " +
                                   std::string(kLoopback) + ":" + std::to_string(sipPort_) +
                                   "\n"
                                   "audio_player aubridge,nil\n"
                                   "audio_alert aubridge,nil\n"
                                   "audio_source aufile," +
                                   tone.string() +
                                   "\n"
                                   "rtp_ports " +
                                   rtpFirst + "-" + std::to_string(std::stoi(rtpFirst) + 20) +
                                   "\n"
                                   "module_path /usr/lib/baresip/modules\n" +
                                   tlsSettings + (opus ? "module opus.so\n" : "module g711.so\n") +
                                   "module aufile.so\n"
                                   "module aubridge.so\n"
                                   "module srtp.so\n"
                                   // stdio shows what other modules print through the UI, such as
                                   // received messages.
                                   "module stdio.so\n"
                                   "module_app account.so\n"
                                   "module_app menu.so\n"
                                   "module_app ctrl_tcp.so\n"
                                   "module_app contact.so\n"
                                   "ctrl_tcp_listen " +
                                   std::string(kLoopback) + ":" + std::to_string(controlPort_) +
                                   "\n");
    std::string account = options_.registrar.empty()
                              ? "<sip:" + options_.user + "@" + kLoopback + ":" +
                                    std::to_string(sipPort_) + ">;regint=0"
                              : "<sip:" + options_.user + "@" + options_.registrar +
                                    (options_.tlsAndSrtp ? ";transport=tls" : "") +
                                    ">;auth_pass=" + options_.password + ";regint=600";
    if (options_.tlsAndSrtp)
        account += ";mediaenc=srtp-mand";
    account += options_.autoAnswer ? ";answermode=auto" : ";answermode=manual";
    writeFile(dir_ / "accounts", account + "\n");
    // The contact module sends messages to its current contact.
    if (options_.messageTarget.empty()) {
        writeFile(dir_ / "contacts", "");
    } else {
        writeFile(dir_ / "contacts", "<" + options_.messageTarget + ">\n");
        writeFile(dir_ / "current_contact", options_.messageTarget + "\n");
    }

    if (!process_.start(
            "stdbuf", {"-oL", "-eL", "baresip", "-4", "-n", kLoopback, "-f", dir_.path().string()},
            dir_ / "baresip.log", ChildProcess::Input::OpenPipe))
        throw std::runtime_error("baresip did not start");
    const bool listening = waitUntil(
        [&] {
            if (!process_.isRunning())
                return true;
            const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in address = loopbackAddress(controlPort_);
            if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0) {
                socket_ = fd;
                return true;
            }
            ::close(fd);
            return false;
        },
        kStartTimeout);
    if (!listening || socket_ < 0)
        throw std::runtime_error("baresip control port did not open:\n" + process_.output());
    connected_ = true;
    reader_ = std::thread([this] { readLoop(); });
    // The registration may finish before the control connection exists, so
    // its printed result is what counts.
    if (!options_.registrar.empty() &&
        !waitForOutput("} 200 OK", std::chrono::milliseconds(5000))) {
        const std::string output = process_.output();
        stop();
        throw std::runtime_error("baresip did not register:\n" + output);
    }
}

Baresip::~Baresip()
{
    stop();
}

void Baresip::stop()
{
    if (socket_ >= 0)
        ::shutdown(socket_, SHUT_RDWR);
    if (reader_.joinable())
        reader_.join();
    if (socket_ >= 0)
        ::close(socket_);
    socket_ = -1;
    process_.stop();
}

std::string Baresip::uri() const
{
    return options_.registrar.empty() ? directUri()
                                      : "sip:" + options_.user + "@" + options_.registrar;
}

std::string Baresip::directUri() const
{
    return "sip:" + options_.user + "@" + kLoopback + ":" + std::to_string(sipPort_);
}

// Netstrings: "<length>:<json>,".
void Baresip::readLoop()
{
    std::string buffer;
    char chunk[4096];
    for (;;) {
        const ssize_t got = ::recv(socket_, chunk, sizeof(chunk), 0);
        if (got <= 0)
            break;
        buffer.append(chunk, static_cast<size_t>(got));
        for (;;) {
            const auto colon = buffer.find(':');
            if (colon == std::string::npos || colon > 7)
                break;
            size_t length = 0;
            try {
                length = std::stoul(buffer.substr(0, colon));
            } catch (const std::exception&) {
                buffer.clear();
                break;
            }
            if (length > kMaxControlMessage) {
                buffer.clear();
                break;
            }
            if (buffer.size() < colon + 1 + length + 1)
                break;
            handleMessage(buffer.substr(colon + 1, length));
            buffer.erase(0, colon + 1 + length + 1);
        }
    }
    std::lock_guard lock(mutex_);
    connected_ = false;
    changed_.notify_all();
}

void Baresip::handleMessage(const std::string& json)
{
    rapidjson::Document document;
    document.Parse(json.c_str(), json.size());
    if (document.HasParseError() || !document.IsObject())
        return;
    auto text = [&](const char* name) {
        const auto member = document.FindMember(name);
        return member != document.MemberEnd() && member->value.IsString()
                   ? std::string(member->value.GetString())
                   : std::string();
    };
    auto flag = [&](const char* name) {
        const auto member = document.FindMember(name);
        return member != document.MemberEnd() && member->value.IsBool() && member->value.GetBool();
    };
    std::lock_guard lock(mutex_);
    if (flag("event"))
        events_.push_back(Event{text("type"), text("param"), text("peeruri")});
    else if (flag("response"))
        responses_[text("token")] = Response{flag("ok"), text("data")};
    changed_.notify_all();
}

Baresip::Response Baresip::command(const std::string& name, const std::string& params,
                                   std::chrono::milliseconds timeout)
{
    std::string token;
    {
        std::lock_guard lock(mutex_);
        token = std::to_string(nextToken_++);
    }
    const std::string json = "{\"command\":\"" + jsonEscaped(name) + "\",\"params\":\"" +
                             jsonEscaped(params) + "\",\"token\":\"" + token + "\"}";
    const std::string frame = std::to_string(json.size()) + ":" + json + ",";
    if (::send(socket_, frame.data(), frame.size(), MSG_NOSIGNAL) !=
        static_cast<ssize_t>(frame.size()))
        return {};
    std::unique_lock lock(mutex_);
    if (!changed_.wait_for(lock, timeout, [&] { return responses_.count(token) > 0; }))
        return {};
    Response response = responses_[token];
    responses_.erase(token);
    return response;
}

std::optional<Baresip::Event> Baresip::waitForEvent(const std::string& type,
                                                    std::chrono::milliseconds timeout)
{
    std::unique_lock lock(mutex_);
    std::optional<Event> found;
    changed_.wait_for(lock, timeout, [&] {
        for (auto it = events_.begin(); it != events_.end(); ++it) {
            if (it->type == type) {
                found = *it;
                events_.erase(it);
                return true;
            }
        }
        return false;
    });
    return found;
}

bool Baresip::sendMessage(const std::string& text)
{
    return command("message", text).ok;
}

void Baresip::clearEvents()
{
    std::lock_guard lock(mutex_);
    events_.clear();
}

bool Baresip::waitForOutput(const std::string& text, std::chrono::milliseconds timeout)
{
    return waitUntil([&] { return process_.output().find(text) != std::string::npos; }, timeout);
}

}
