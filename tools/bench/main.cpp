// Measures the SIP engine on loopback: core start, registration and call
// set-up against Kamailio and baresip, and idle memory and CPU while
// registered. Prints the figures; the peers are started and stopped here.

#include "peers/EngineEvents.h"
#include "peers/SipPeers.h"
#include "telephony/EngineLibrary.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <numeric>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
using orvanta::test::EngineEvents;

namespace {

constexpr int kRounds = 5;
using Clock = std::chrono::steady_clock;

double ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

void printFigure(const char* name, std::vector<double> samples)
{
    if (samples.empty()) {
        std::printf("%-28s no samples\n", name);
        return;
    }
    std::sort(samples.begin(), samples.end());
    const double mean =
        std::accumulate(samples.begin(), samples.end(), 0.0) / static_cast<double>(samples.size());
    std::printf("%-28s mean %8.1f ms   min %8.1f   max %8.1f   (n=%zu)\n", name, mean,
                samples.front(), samples.back(), samples.size());
}

long residentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    }
    return -1;
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}

int main()
{
    setenv("ORVANTA_ENGINE_NULL_AUDIO", "1", 1);
    setenv("ORVANTA_ENGINE_BIND_ADDRESS", "127.0.0.1", 1);
    try {
        orvanta::EngineLibrary library;
        if (!library.load(std::filesystem::canonical("/proc/self/exe").parent_path() /
                          orvanta::EngineLibrary::kFileName)) {
            std::fprintf(stderr, "cannot load the engine: %s\n", library.error().c_str());
            return 1;
        }
        std::printf("engine loaded, RSS %ld kB\n", residentKb());
        const auto& api = library.api();
        EngineEvents::install(api);
        auto& events = EngineEvents::instance();

        orvanta::test::Kamailio proxy({{"alice", "alicepw"}, {"bob", "bobpw"}});
        orvanta::test::Baresip::Options peer;
        peer.user = "bob";
        peer.password = "bobpw";
        peer.registrar = proxy.hostPort();
        peer.autoAnswer = true;
        orvanta::test::Baresip bob(peer);

        std::vector<double> starts, stops, registrations, answered, connected;
        const std::string account = proxy.uri("alice");
        for (int round = 0; round < kRounds; ++round) {
            events.clear();
            auto t0 = Clock::now();
            if (api.init(0, 0) != 0) {
                std::fprintf(stderr, "dll_init failed\n");
                return 1;
            }
            starts.push_back(ms(Clock::now() - t0));

            t0 = Clock::now();
            const int accountId = api.registerAccount(account.c_str(), account.c_str(), "*",
                                                      "alice", "alicepw", nullptr, 1, 600, 0, 0);
            if (events.waitForRegistration(accountId, 5s) == 200)
                registrations.push_back(ms(Clock::now() - t0));

            t0 = Clock::now();
            const int callId = api.makeCall(accountId, bob.uri().c_str());
            if (events.waitForCallState(callId, ORVANTA_CALL_ANSWERING, 5s))
                answered.push_back(ms(Clock::now() - t0));
            if (events.waitForCallState(callId, ORVANTA_CALL_CONNECTED, 5s))
                connected.push_back(ms(Clock::now() - t0));
            api.releaseCall(callId);
            events.waitForCallState(callId, ORVANTA_CALL_DISCONNECTED, 5s);

            if (round == kRounds - 1) {
                std::this_thread::sleep_for(1s);
                const long rss = residentKb();
                const double cpuBefore = cpuSeconds();
                const auto idleStart = Clock::now();
                std::this_thread::sleep_for(5s);
                const double cpu =
                    (cpuSeconds() - cpuBefore) / (ms(Clock::now() - idleStart) / 1000.0) * 100.0;
                std::printf("registered idle: RSS %ld kB, CPU %.2f %% of one core\n", rss, cpu);
            }
            t0 = Clock::now();
            api.shutdown();
            stops.push_back(ms(Clock::now() - t0));
        }
        printFigure("core start (dll_init)", starts);
        printFigure("registration (200)", registrations);
        printFigure("call accepted (state 4)", answered);
        printFigure("call connected (state 5)", connected);
        printFigure("shutdown (dll_shutdown)", stops);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench failed: %s\n", error.what());
        return 1;
    }
    return 0;
}
