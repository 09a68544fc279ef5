#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orvanta::bench {

// Wall-clock seconds, comparable with Kamailio's $TV(Sn) time stamps.
double wallClock();

// What /proc tells about one running process, all its threads included.
struct ProcessSample {
    double cpuSeconds = 0;
    std::map<int, long> voluntarySwitches;  // per live thread
    long rssKb = 0;
    long pssKb = 0;
    long anonymousKb = 0;
};
std::optional<ProcessSample> sampleProcess(int pid);
// Switches between two samples: threads that started meanwhile count in
// full, threads that ended meanwhile are lost (they cannot be read).
long switchesBetween(const ProcessSample& before, const ProcessSample& after);

// Time stamps Kamailio logged: REGISTER answered 200 for a user, and the ACK
// a user sent for a call.
std::optional<double> registeredAt(const std::string& kamailioLog, const std::string& user,
                                   double notBefore);
std::optional<double> ackAt(const std::string& kamailioLog, const std::string& user,
                            double notBefore);

// The longest event-loop stall the dialer's probe logged in [from, to].
std::optional<double> longestStallMs(const std::string& probeLog, double from, double to);

}
