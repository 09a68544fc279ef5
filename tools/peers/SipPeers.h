#pragma once

// Real SIP peers for integration tests, all on 127.0.0.1 on free ports, each
// in its own temporary folder, each stopped by its destructor:
//   SippRegistrar  - answers REGISTER with a chosen final reply
//   SippOfferCatcher - declines calls and shows their SDP offer
//   SilentUdpPeer  - a bound UDP port that never answers
//   Kamailio       - registrar and proxy with digest auth for given accounts
//   Baresip        - a scriptable SIP phone controlled over its TCP interface
//   StunServer     - coturn answering STUN binding requests

#include "peers/ChildProcess.h"
#include "peers/TempDir.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace orvanta::test {

constexpr const char* kLoopback = "127.0.0.1";

// A port nobody listens on at the moment of the call (UDP and TCP both free).
int freePort();

struct SipAccount {
    std::string user;      // letters and digits (Kamailio: or non-ASCII UTF-8 text)
    std::string password;  // letters and digits only
};

// Answers the first REGISTER of one dialog with reply; for Challenge it
// first answers 401 and then checks the digest of account: a valid one gets
// 200, a wrong one 403. Its scenario offers 200 to a later REGISTER too, but
// sipp was seen to leave the unregistration unanswered: do not rely on it.
class SippRegistrar {
public:
    enum class Reply { Ok, Challenge, Forbidden, NotFound, RequestTimeout, ServiceUnavailable };

    explicit SippRegistrar(Reply reply, SipAccount account = {"alice", "secret"});
    bool isRunning() { return process_.isRunning(); }
    int port() const { return port_; }
    // "127.0.0.1:<port>"
    std::string hostPort() const;
    std::string output() const { return process_.output(); }

private:
    TempDir dir_;
    int port_ = 0;
    ChildProcess process_;
};

// Declines every INVITE with 603 and notes the audio line of its offer.
class SippOfferCatcher {
public:
    SippOfferCatcher();
    int port() const { return port_; }
    std::string hostPort() const;
    struct Offer {
        std::string audioLine;             // "m=audio ..."; empty when no INVITE came
        std::string packetTime;            // the a=ptime value, if any
        std::vector<std::string> rtpMaps;  // "a=rtpmap:" values in order ("8 PCMA/8000")
    };
    // The offer of the first INVITE.
    Offer waitForOffer(std::chrono::milliseconds timeout);

private:
    TempDir dir_;
    int port_ = 0;
    ChildProcess process_;
};

// Reads nothing and answers nothing: a registrar that stays silent.
class SilentUdpPeer {
public:
    SilentUdpPeer();
    ~SilentUdpPeer();
    SilentUdpPeer(const SilentUdpPeer&) = delete;
    SilentUdpPeer& operator=(const SilentUdpPeer&) = delete;
    int port() const { return port_; }

private:
    int socket_ = -1;
    int port_ = 0;
};

// A STUN server (coturn, STUN only, UDP) on 127.0.0.1.
class StunServer {
public:
    StunServer();
    int port() const { return port_; }
    // How many STUN requests it has answered so far.
    int answered() const;

private:
    TempDir dir_;
    int port_ = 0;
    ChildProcess process_;
};

// A self-signed certificate and its key for 127.0.0.1, made with openssl.
struct TestCertificate {
    std::filesystem::path certificate;
    std::filesystem::path key;
    std::filesystem::path combined;  // certificate and key in one file
};
TestCertificate makeTestCertificate(const std::filesystem::path& dir);

// Registrar and stateful proxy. REGISTER needs digest auth with one of the
// accounts (realm 127.0.0.1); other requests to its own domain go to the
// registered contact (not for non-ASCII users: Kamailio cannot look those
// up), requests to other hosts are relayed. With tls it also
// listens for SIP over TLS (self-signed certificate) on tlsPort().
class Kamailio {
public:
    explicit Kamailio(std::vector<SipAccount> accounts, bool tls = false);
    bool isRunning() { return process_.isRunning(); }
    int port() const { return port_; }
    int tlsPort() const { return tlsPort_; }
    // "127.0.0.1:<tlsPort>"
    std::string tlsHostPort() const;
    // "127.0.0.1:<port>", the domain of every account.
    std::string hostPort() const;
    // "sip:<user>@127.0.0.1:<port>"
    std::string uri(const std::string& user) const;
    // Its log; each registration adds "registered <user> over <udp|tls> at
    // <seconds>" (the user part as the address carried it, escaped) and
    // each ACK of a call it routes "ack from <user> at <seconds>"
    // (wall-clock time with microseconds).
    std::string output() const { return process_.output(); }
    // Its log line may reach us after the reply it logs has reached the
    // client, so checks of the log wait for it.
    bool waitForOutput(const std::string& text,
                       std::chrono::milliseconds timeout = std::chrono::milliseconds(2000)) const;

private:
    TempDir dir_;
    int port_ = 0;
    int tlsPort_ = 0;
    ChildProcess process_;
};

// One baresip user agent with one account. Commands and events travel over
// its ctrl_tcp interface; what it prints is in output().
class Baresip {
public:
    struct Options {
        std::string user = "bob";
        std::string password = "secret";
        // "127.0.0.1:<port>" of a registrar to register with; empty: none
        // (the agent is reached directly at sip:<user>@127.0.0.1:<sipPort>).
        std::string registrar;
        bool autoAnswer = false;
        // G711 at 8 kHz, or opus at 48 kHz (the dialer's default offer has
        // no G711). The phone's tone source runs at the codec's rate.
        enum class Codec { G711, Opus } codec = Codec::G711;
        // Register over TLS (registrar is then the TLS address) and insist
        // on SRTP for media.
        bool tlsAndSrtp = false;
        // Where sendMessage() sends to ("sip:user@host:port").
        std::string messageTarget;
    };
    struct Event {
        std::string type;   // "CALL_INCOMING", "CALL_ESTABLISHED", ...
        std::string param;  // the event's parameter (caller, digit, reason)
        std::string peerUri;
    };
    struct Response {
        bool ok = false;
        std::string data;
    };

    explicit Baresip(Options options);
    ~Baresip();
    Baresip(const Baresip&) = delete;
    Baresip& operator=(const Baresip&) = delete;

    bool isReady() const { return connected_; }
    int pid() const { return process_.pid(); }
    // Wall-clock seconds when the agent was started.
    double startedAt() const { return process_.startedAt(); }
    int sipPort() const { return sipPort_; }
    // The agent's own address: via the registrar when it has one.
    std::string uri() const;
    // Address that reaches the agent directly.
    std::string directUri() const;

    // Runs a menu command ("dial", "hangup", "accept", "sndcode", ...).
    Response command(const std::string& name, const std::string& params = {},
                     std::chrono::milliseconds timeout = std::chrono::milliseconds(3000));
    // Waits for the next event of that type not yet taken; other events stay.
    std::optional<Event>
    waitForEvent(const std::string& type,
                 std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));
    // Sends a SIP MESSAGE to Options::messageTarget; true when it went out.
    bool sendMessage(const std::string& text);
    // Forgets the events not yet taken.
    void clearEvents();
    // Waits until the agent's output contains text.
    bool waitForOutput(const std::string& text,
                       std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));
    std::string output() const { return process_.output(); }

private:
    void stop();
    void readLoop();
    void handleMessage(const std::string& json);

    Options options_;
    TempDir dir_;
    int sipPort_ = 0;
    int controlPort_ = 0;
    ChildProcess process_;
    int socket_ = -1;
    bool connected_ = false;
    std::thread reader_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Event> events_;
    std::map<std::string, Response> responses_;
    int nextToken_ = 1;
};

// Writes a 16-bit mono 8 kHz WAV with a steady tone.
void writeToneWav(const std::filesystem::path& path, std::chrono::seconds length,
                  uint32_t rate = 8000, uint16_t channels = 1);

}
