#include "engine/EngineFixture.h"

#include <algorithm>
#include <arpa/inet.h>
#include <dlfcn.h>
#include <fstream>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace orvanta::test {
namespace {

// A phone of user with password "<user>pw" registered at registrar.
Baresip::Options peer(const std::string& user, const std::string& registrar)
{
    Baresip::Options options;
    options.user = user;
    options.password = user + "pw";
    options.registrar = registrar;
    return options;
}

// One Kamailio and two baresip phones (bob, carol) serve the whole suite;
// the engine signs in as alice before each test.
class EngineCalls : public EngineFixture {
public:
    static void SetUpTestSuite()
    {
        EngineFixture::SetUpTestSuite();
        try {
            proxy = new Kamailio({{"alice", "alicepw"},
                                  {"bob", "bobpw"},
                                  {"carol", "carolpw"},
                                  {"dave", "davepw"},
                                  {"erin", "erinpw"}},
                                 true);
            bob = new Baresip(peer("bob", proxy->hostPort()));
            auto carolOptions = peer("carol", proxy->hostPort());
            carolOptions.messageTarget = proxy->uri("alice");
            carol = new Baresip(carolOptions);
        } catch (const std::exception& error) {
            TearDownTestSuite();
            FAIL() << error.what();
        }
    }
    static void TearDownTestSuite()
    {
        delete carol;
        delete bob;
        delete proxy;
        carol = bob = nullptr;
        proxy = nullptr;
    }

protected:
    void SetUp() override
    {
        if (!carol)
            GTEST_FAIL() << "peers did not start";
        EngineFixture::SetUp();
        bob->clearEvents();
        carol->clearEvents();
        bob->command("answermode", "manual");
        ASSERT_EQ(registerAt(proxy->hostPort(), "alice", "alicepw"), 200) << proxy->output();
    }

    void TearDown() override
    {
        EngineFixture::TearDown();
        bob->command("hangup");
        carol->command("hangup");
        // Every call the engine knew ended exactly once.
        for (int id : knownCalls()) {
            const auto states = events().callStates(id);
            EXPECT_EQ(std::count(states.begin(), states.end(), ORVANTA_CALL_DISCONNECTED), 1)
                << "call " << id;
        }
    }

    std::vector<int> knownCalls()
    {
        std::vector<int> ids;
        for (const auto& e : events().all()) {
            if (e.kind == EngineEvents::Kind::CallState &&
                std::find(ids.begin(), ids.end(), e.id) == ids.end())
                ids.push_back(e.id);
        }
        return ids;
    }

    // An outgoing call from alice that the peer answers at once.
    int connectedCallTo(Baresip& peer)
    {
        peer.command("answermode", "auto");
        const int callId = api().makeCall(accountId_, peer.uri().c_str());
        EXPECT_GT(callId, 0);
        EXPECT_TRUE(events().waitForCallState(callId, ORVANTA_CALL_CONNECTED, 5s))
            << proxy->output();
        EXPECT_TRUE(peer.waitForEvent("CALL_ESTABLISHED"));
        return callId;
    }

    static Kamailio* proxy;
    static Baresip* bob;
    static Baresip* carol;
};

Kamailio* EngineCalls::proxy = nullptr;
Baresip* EngineCalls::bob = nullptr;
Baresip* EngineCalls::carol = nullptr;

TEST_F(EngineCalls, OutgoingCallGoesThroughCallingRingingAnsweringConnected)
{
    const int callId = api().makeCall(accountId_, bob->uri().c_str());
    ASSERT_GT(callId, 0);
    ASSERT_TRUE(bob->waitForEvent("CALL_INCOMING")) << bob->output();
    ASSERT_TRUE(events().waitForCallState(callId, ORVANTA_CALL_RINGING, 3s));
    EXPECT_TRUE(bob->command("accept").ok);
    ASSERT_TRUE(events().waitForCallState(callId, ORVANTA_CALL_CONNECTED, 5s));
    EXPECT_EQ(events().callStates(callId), (std::vector<int>{1, 3, 4, 5}));

    EXPECT_EQ(api().releaseCall(callId), 0);
    EXPECT_TRUE(bob->waitForEvent("CALL_CLOSED"));
    EXPECT_TRUE(events().waitForCallState(callId, ORVANTA_CALL_DISCONNECTED, 3s));

    const auto testThread = std::this_thread::get_id();
    for (const auto& e : events().all())
        EXPECT_NE(e.thread, testThread) << "callback ran inside an entry point";
}

TEST_F(EngineCalls, RemoteHangUpEndsTheCallOnce)
{
    const int callId = connectedCallTo(*bob);
    EXPECT_TRUE(bob->command("hangup").ok);
    EXPECT_TRUE(events().waitForCallState(callId, ORVANTA_CALL_DISCONNECTED, 3s));
    EXPECT_TRUE(events().quietFor(300ms));
}

TEST_F(EngineCalls, UnknownTargetEndsTheCall)
{
    const int callId = api().makeCall(accountId_, proxy->uri("nobody").c_str());
    ASSERT_GT(callId, 0);
    EXPECT_TRUE(events().waitForCallState(callId, ORVANTA_CALL_DISCONNECTED, 3s));
}

TEST_F(EngineCalls, PeerDecliningEndsTheCall)
{
    const int callId = api().makeCall(accountId_, bob->uri().c_str());
    ASSERT_TRUE(bob->waitForEvent("CALL_INCOMING"));
    EXPECT_TRUE(bob->command("hangup").ok);
    EXPECT_TRUE(events().waitForCallState(callId, ORVANTA_CALL_DISCONNECTED, 3s));
    EXPECT_FALSE(events().waitForCallState(callId, ORVANTA_CALL_ANSWERING, 10ms));
}

TEST_F(EngineCalls, DtmfTravelsBothWays)
{
    const int callId = connectedCallTo(*bob);
    EXPECT_EQ(api().dialDtmf(callId, "5", 1), 0);
    const auto received = bob->waitForEvent("CALL_DTMF_START");
    ASSERT_TRUE(received) << bob->output();
    EXPECT_EQ(received->param, "5");

    EXPECT_TRUE(bob->command("sndcode", "7").ok);
    const auto digit = events().waitFor(EngineEvents::Kind::Dtmf, 3s);
    ASSERT_TRUE(digit);
    EXPECT_EQ(digit->id, callId);
    EXPECT_EQ(digit->value, '7');
}

TEST_F(EngineCalls, HoldIsConfirmedAndRetrieveKeepsTheCall)
{
    const int callId = connectedCallTo(*bob);
    EXPECT_EQ(api().holdCall(callId), 0);
    const auto held = events().waitFor(EngineEvents::Kind::HoldConfirmed, 3s);
    ASSERT_TRUE(held);
    EXPECT_EQ(held->id, callId);
    EXPECT_EQ(api().retrieveCall(callId), 0);
    EXPECT_FALSE(events().waitForCallState(callId, ORVANTA_CALL_DISCONNECTED, 500ms));
    // Still a working call: DTMF gets through after retrieving.
    EXPECT_EQ(api().dialDtmf(callId, "9", 1), 0);
    EXPECT_TRUE(bob->waitForEvent("CALL_DTMF_START"));
}

TEST_F(EngineCalls, IncomingCallIsAnnouncedAndAnswered)
{
    EXPECT_TRUE(bob->command("dial", proxy->uri("alice")).ok);
    const auto incoming = events().waitFor(EngineEvents::Kind::Incoming, 5s);
    ASSERT_TRUE(incoming) << proxy->output();
    EXPECT_EQ(incoming->text, "sip:bob@127.0.0.1");
    ASSERT_TRUE(events().waitForCallState(incoming->id, ORVANTA_CALL_INCOMING, 1s));
    EXPECT_EQ(api().answerCall(incoming->id, 200), 0);
    ASSERT_TRUE(events().waitForCallState(incoming->id, ORVANTA_CALL_CONNECTED, 5s));
    EXPECT_EQ(events().callStates(incoming->id), (std::vector<int>{2, 4, 5}));
    EXPECT_TRUE(bob->waitForEvent("CALL_ESTABLISHED"));
    EXPECT_EQ(api().releaseCall(incoming->id), 0);
    EXPECT_TRUE(bob->waitForEvent("CALL_CLOSED"));
}

TEST_F(EngineCalls, IncomingCallCanBeRejected)
{
    EXPECT_TRUE(bob->command("dial", proxy->uri("alice")).ok);
    const auto incoming = events().waitFor(EngineEvents::Kind::Incoming, 5s);
    ASSERT_TRUE(incoming);
    EXPECT_EQ(api().releaseCall(incoming->id), 0);
    EXPECT_TRUE(bob->waitForEvent("CALL_CLOSED"));
    EXPECT_TRUE(events().waitForCallState(incoming->id, ORVANTA_CALL_DISCONNECTED, 3s));
}

TEST_F(EngineCalls, CallerGivingUpEndsTheIncomingCall)
{
    EXPECT_TRUE(bob->command("dial", proxy->uri("alice")).ok);
    const auto incoming = events().waitFor(EngineEvents::Kind::Incoming, 5s);
    ASSERT_TRUE(incoming);
    EXPECT_TRUE(bob->command("hangup").ok);
    EXPECT_TRUE(events().waitForCallState(incoming->id, ORVANTA_CALL_DISCONNECTED, 3s));
}

TEST_F(EngineCalls, BlindTransferReportsANewLegAndEndsTheFirstCall)
{
    const int callId = connectedCallTo(*bob);
    carol->command("answermode", "auto");
    EXPECT_EQ(api().xferCall(callId, carol->uri().c_str()), 0);
    const auto leg = events().waitForAnyCallState(ORVANTA_CALL_CALLING, {callId}, 2s);
    ASSERT_TRUE(leg);
    EXPECT_TRUE(events().waitForCallState(*leg, ORVANTA_CALL_CONNECTED, 5s)) << bob->output();
    EXPECT_TRUE(events().waitForCallState(callId, ORVANTA_CALL_DISCONNECTED, 3s));
    EXPECT_TRUE(carol->waitForEvent("CALL_ESTABLISHED")) << carol->output();
    const auto legStates = events().callStates(*leg);
    ASSERT_GE(legStates.size(), 3u);
    EXPECT_EQ(std::vector<int>(legStates.begin(), legStates.begin() + 3),
              (std::vector<int>{1, 4, 5}));
}

TEST_F(EngineCalls, FailedTransferEndsTheNewLeg)
{
    const int callId = connectedCallTo(*bob);
    EXPECT_EQ(api().xferCall(callId, proxy->uri("nobody").c_str()), 0);
    const auto leg = events().waitForAnyCallState(ORVANTA_CALL_CALLING, {callId}, 2s);
    ASSERT_TRUE(leg);
    EXPECT_TRUE(events().waitForCallState(*leg, ORVANTA_CALL_DISCONNECTED, 8s));
    EXPECT_FALSE(events().waitForCallState(*leg, ORVANTA_CALL_CONNECTED, 10ms));
}

TEST_F(EngineCalls, ConferenceJoinsBothCallsAndSurvivesAMemberLeaving)
{
    const int first = connectedCallTo(*bob);
    const int second = connectedCallTo(*carol);
    const auto sofar = events().all();
    EXPECT_TRUE(std::none_of(sofar.begin(), sofar.end(), [](const auto& e) {
        return e.kind == EngineEvents::Kind::HoldConfirmed;
    })) << "a new call put the first on hold";
    bob->clearEvents();
    carol->clearEvents();
    EXPECT_EQ(api().callConference(second), 0);
    // Joining the conference renegotiates each member's media.
    EXPECT_TRUE(bob->waitForEvent("CALL_REMOTE_SDP"));
    EXPECT_TRUE(carol->waitForEvent("CALL_REMOTE_SDP"));
    EXPECT_FALSE(events().waitForCallState(first, ORVANTA_CALL_DISCONNECTED, 500ms));
    EXPECT_TRUE(bob->command("hangup").ok);
    EXPECT_TRUE(events().waitForCallState(first, ORVANTA_CALL_DISCONNECTED, 3s));
    EXPECT_FALSE(events().waitForCallState(second, ORVANTA_CALL_DISCONNECTED, 500ms));
    EXPECT_EQ(api().releaseCall(second), 0);
    EXPECT_TRUE(events().waitForCallState(second, ORVANTA_CALL_DISCONNECTED, 3s));
}

TEST_F(EngineCalls, RecordingWritesAnEightKilohertzWav)
{
    TempDir dir;
    const auto wav = dir / "call.wav";
    const int callId = connectedCallTo(*bob);
    EXPECT_EQ(api().callRecordingStart(callId, wav.c_str()), 0);
    std::this_thread::sleep_for(1500ms);  // let some audio arrive
    EXPECT_EQ(api().callRecordingStop(), 0);
    ASSERT_TRUE(waitUntil([&] { return std::filesystem::exists(wav); }, 3s));
    std::ifstream in(wav, std::ios::binary);
    std::string header(44, '\0');
    in.read(header.data(), 44);
    ASSERT_EQ(in.gcount(), 44);
    EXPECT_EQ(header.substr(0, 4), "RIFF");
    EXPECT_EQ(header.substr(8, 4), "WAVE");
    const auto byte = [&](size_t i) {
        return static_cast<unsigned>(static_cast<unsigned char>(header[i]));
    };
    EXPECT_EQ(byte(24) | byte(25) << 8 | byte(26) << 16 | byte(27) << 24, 8000u);
    EXPECT_GT(std::filesystem::file_size(wav), 44u + 8000u);
}

TEST_F(EngineCalls, MessagesTravelBothWays)
{
    EXPECT_EQ(api().sendMessage(accountId_, bob->uri().c_str(), "hello bob"), 0);
    EXPECT_TRUE(bob->waitForOutput("hello bob")) << bob->output();

    ASSERT_TRUE(carol->sendMessage("hello alice")) << carol->output();
    const auto message = events().waitFor(EngineEvents::Kind::Message, 3s);
    ASSERT_TRUE(message) << carol->output();
    EXPECT_EQ(message->text, "sip:carol@127.0.0.1");
    EXPECT_EQ(message->body, "hello alice");
}

TEST_F(EngineCalls, CodecPrioritiesDecideTheOfferOrder)
{
    SippOfferCatcher callee;
    EXPECT_EQ(api().setCodecPriority("PCMU/8000/1", 0), 0);
    EXPECT_EQ(api().setCodecPriority("G722/8000/1", 200), 0);
    EXPECT_EQ(api().setCodecPriority("PCMA/8000/1", 255), 0);
    EXPECT_EQ(api().setCodecPriority("G723/8000/1", 0), 0);  // not in this build: ignored
    // This account also asks for RTP ports from 41000 on.
    const std::string uri = proxy->uri("erin");
    const int account = api().registerAccount(uri.c_str(), uri.c_str(), "*", "erin", "erinpw",
                                              nullptr, 1, 600, 41000, 0);
    ASSERT_EQ(events().waitForRegistration(account, 5s), 200);
    const int callId = api().makeCall(account, ("sip:x@" + callee.hostPort()).c_str());
    const std::string offer = callee.waitForOffer(5s).audioLine;
    ASSERT_FALSE(offer.empty());
    // "m=audio <port> RTP/AVP 8 9 ..." : PCMA, then G722, and no PCMU.
    const int rtpPort = std::stoi(offer.substr(8));
    EXPECT_GE(rtpPort, 41000);
    EXPECT_LE(rtpPort, 41200);
    const auto formats = offer.substr(offer.find("RTP/AVP") + 8) + " ";
    EXPECT_EQ(formats.rfind("8 9 ", 0), 0u) << offer;
    EXPECT_EQ(formats.find(" 0 "), std::string::npos) << offer;
    EXPECT_TRUE(events().waitForCallState(callId, ORVANTA_CALL_DISCONNECTED, 3s));
}

TEST_F(EngineCalls, PacketTimeIsOffered)
{
    ASSERT_EQ(api().shutdown(), 0);
    running_ = false;
    ASSERT_EQ(api().init(40, sipPort_), 0);
    running_ = true;
    ASSERT_EQ(registerAt(proxy->hostPort(), "alice", "alicepw"), 200);
    SippOfferCatcher callee;
    const int callId = api().makeCall(accountId_, ("sip:x@" + callee.hostPort()).c_str());
    EXPECT_EQ(callee.waitForOffer(5s).packetTime, "40");
    EXPECT_TRUE(events().waitForCallState(callId, ORVANTA_CALL_DISCONNECTED, 3s));
}

TEST_F(EngineCalls, ShutdownEndsCallsAndAllowsANewStart)
{
    const int callId = connectedCallTo(*bob);
    ASSERT_EQ(api().shutdown(), 0);
    running_ = false;
    EXPECT_EQ(events().callStates(callId).back(), ORVANTA_CALL_DISCONNECTED);
    EXPECT_TRUE(bob->waitForEvent("CALL_CLOSED"));
    EXPECT_TRUE(events().quietFor(500ms)) << "callback after shutdown";
    EXPECT_EQ(api().makeCall(accountId_, bob->uri().c_str()), -1);

    ASSERT_EQ(api().init(0, sipPort_), 0);
    running_ = true;
    EXPECT_EQ(registerAt(proxy->hostPort(), "alice", "alicepw"), 200);
    const int next = connectedCallTo(*bob);
    EXPECT_NE(next, callId);
}

TEST_F(EngineCalls, EncryptionGivesTlsSignallingAndMandatorySrtp)
{
    auto daveOptions = peer("dave", proxy->tlsHostPort());
    daveOptions.tlsAndSrtp = true;
    daveOptions.autoAnswer = true;
    Baresip dave(daveOptions);
    EXPECT_EQ(api().setSipEncryption2(1, "key"), 0);
    const std::string uri = proxy->uri("erin");
    const std::string tlsProxy = "sip:" + proxy->tlsHostPort();
    const int account = api().registerAccount(uri.c_str(), uri.c_str(), "*", "erin", "erinpw",
                                              tlsProxy.c_str(), 1, 600, 0, 0);
    ASSERT_EQ(events().waitForRegistration(account, 5s), 200) << proxy->output();
    EXPECT_TRUE(proxy->waitForOutput("registered erin over tls")) << proxy->output();

    const int secured = api().makeCall(account, dave.uri().c_str());
    EXPECT_TRUE(events().waitForCallState(secured, ORVANTA_CALL_CONNECTED, 5s)) << dave.output();
    EXPECT_TRUE(dave.waitForEvent("CALL_ESTABLISHED"));
    EXPECT_EQ(api().releaseCall(secured), 0);
    EXPECT_TRUE(events().waitForCallState(secured, ORVANTA_CALL_DISCONNECTED, 3s));

    // A peer without SRTP cannot take the call.
    bob->command("answermode", "auto");
    const int plain = api().makeCall(account, bob->uri().c_str());
    EXPECT_TRUE(events().waitForCallState(plain, ORVANTA_CALL_DISCONNECTED, 5s));
    EXPECT_FALSE(events().waitForCallState(plain, ORVANTA_CALL_CONNECTED, 10ms));
}

TEST_F(EngineCalls, WrongPasswordIsRejectedByTheRegistrar)
{
    const std::string uri = proxy->uri("carol");
    const int account = api().registerAccount(uri.c_str(), uri.c_str(), "*", "carol", "wrong",
                                              nullptr, 1, 600, 0, 0);
    ASSERT_GT(account, 0);
    EXPECT_EQ(events().waitForRegistration(account, 5s), 401);
}

// ---- network settings for the next start ----

// The setters are newer than the dialer's binding, so they are looked up by
// name in the loaded engine.
template <typename Function>
Function engineFunction(const char* name)
{
    const auto path = binDir() / EngineLibrary::kFileName;
    void* handle = dlopen(path.c_str(), RTLD_LAZY | RTLD_NOLOAD);
    auto function = handle ? reinterpret_cast<Function>(dlsym(handle, name)) : nullptr;
    if (handle)
        dlclose(handle);
    return function;
}

bool udpPortTaken(int port)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool taken = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0;
    ::close(fd);
    return taken;
}

class EngineNetworkSettings : public EngineCalls {
protected:
    void TearDown() override
    {
        // Later tests start with the dll_init values again.
        setSipPort(-1);
        setMediaPort(-1);
        setStun(nullptr, 0);
        EngineCalls::TearDown();
    }

    // Stops the engine and starts it again with dll_init(0, initPort).
    void restart(int initPort)
    {
        ASSERT_EQ(api().shutdown(), 0);
        running_ = false;
        ASSERT_EQ(api().init(0, initPort), 0);
        running_ = true;
        ASSERT_EQ(registerAt(proxy->hostPort(), "alice", "alicepw"), 200) << proxy->output();
    }

    decltype(&::dll_setLocalSipPort) setSipPort =
        engineFunction<decltype(&::dll_setLocalSipPort)>("dll_setLocalSipPort");
    decltype(&::dll_setFirstMediaPort) setMediaPort =
        engineFunction<decltype(&::dll_setFirstMediaPort)>("dll_setFirstMediaPort");
    decltype(&::dll_setStunServer) setStun =
        engineFunction<decltype(&::dll_setStunServer)>("dll_setStunServer");
};

TEST_F(EngineNetworkSettings, RefusesValuesOutOfRange)
{
    struct Case {
        const char* what;
        int result;
        int expected;
    };
    ASSERT_TRUE(setSipPort && setMediaPort && setStun);
    for (const auto& [what, result, expected] : {
             Case{"SIP port 65536", setSipPort(65536), -1},
             Case{"SIP port -2", setSipPort(-2), -1},
             Case{"SIP port 0 (any)", setSipPort(0), 0},
             Case{"media port 70000", setMediaPort(70000), -1},
             Case{"media port 0 (any)", setMediaPort(0), 0},
             Case{"STUN port 65536", setStun("127.0.0.1", 65536), -1},
             Case{"STUN host with a port", setStun("127.0.0.1:3478", 3478), -1},
             Case{"STUN host with a space", setStun("stun example", 3478), -1},
             Case{"STUN off", setStun("", 0), 0},
         })
        EXPECT_EQ(result, expected) << what;
}

// The settings wait for the next start, then win over dll_init's port and
// the registration's first RTP port; -1 gives dll_init its say back.
TEST_F(EngineNetworkSettings, SipAndMediaPortsApplyAtTheNextStart)
{
    ASSERT_TRUE(setSipPort && setMediaPort);
    const int chosenSip = freePort();
    const int initPort = freePort();
    const int firstMedia = (freePort() & ~1) > 1024 ? (freePort() & ~1) : 40000;
    ASSERT_EQ(setSipPort(chosenSip), 0);
    ASSERT_EQ(setMediaPort(firstMedia), 0);
    EXPECT_FALSE(udpPortTaken(chosenSip)) << "applied before the next start";

    restart(initPort);
    EXPECT_TRUE(udpPortTaken(chosenSip));
    EXPECT_FALSE(udpPortTaken(initPort));
    auto mediaPortsTaken = [&] {
        int taken = 0;
        for (int port = firstMedia; port <= firstMedia + 200; ++port)
            taken += udpPortTaken(port) ? 1 : 0;
        return taken;
    };
    const int takenBefore = mediaPortsTaken();
    const int callId = connectedCallTo(*bob);
    EXPECT_GE(mediaPortsTaken(), takenBefore + 2)
        << "the call's RTP and RTCP ports are not in the range of the first media port";
    api().releaseCall(callId);
    EXPECT_TRUE(events().waitForCallState(callId, ORVANTA_CALL_DISCONNECTED, 3s));

    ASSERT_EQ(setSipPort(-1), 0);
    restart(initPort);
    EXPECT_TRUE(udpPortTaken(initPort));
    EXPECT_FALSE(udpPortTaken(chosenSip));
}

TEST_F(EngineNetworkSettings, CallsAskTheStunServerForTheirMediaAddress)
{
    ASSERT_TRUE(setStun);
    StunServer stun;
    ASSERT_EQ(setStun("127.0.0.1", stun.port()), 0);
    restart(0);
    const int callId = connectedCallTo(*bob);
    EXPECT_TRUE(waitUntil([&] { return stun.answered() > 0; }, 3s))
        << "no STUN request reached the server";
    api().releaseCall(callId);
    EXPECT_TRUE(events().waitForCallState(callId, ORVANTA_CALL_DISCONNECTED, 3s));
}

}
}
