#include "Probe.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace orvanta::bench {

namespace {

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

long fieldKb(const std::string& text, const std::string& name)
{
    const auto at = text.find("\n" + name + ":");
    if (at == std::string::npos)
        return -1;
    return std::atol(text.c_str() + at + name.size() + 2);
}

// Lines "<prefix><user> ... at <seconds>", the first at or after notBefore.
std::optional<double> stampAfter(const std::string& log, const std::string& prefix,
                                 double notBefore)
{
    std::istringstream lines(log);
    std::string line;
    while (std::getline(lines, line)) {
        const auto start = line.find(prefix);
        const auto at = line.rfind(" at ");
        if (start == std::string::npos || at == std::string::npos || at < start)
            continue;
        const double stamp = std::atof(line.c_str() + at + 4);
        if (stamp >= notBefore)
            return stamp;
    }
    return std::nullopt;
}

}

double wallClock()
{
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::optional<ProcessSample> sampleProcess(int pid)
{
    const std::filesystem::path proc = "/proc/" + std::to_string(pid);
    const std::string stat = readFile(proc / "stat");
    const auto close = stat.rfind(')');
    if (close == std::string::npos)
        return std::nullopt;
    // Fields after the command name: state is field 3; utime and stime are
    // fields 14 and 15.
    std::istringstream fields(stat.substr(close + 2));
    std::string field;
    long utime = 0, stime = 0;
    for (int index = 3; index <= 15 && fields >> field; ++index) {
        if (index == 14)
            utime = std::atol(field.c_str());
        if (index == 15)
            stime = std::atol(field.c_str());
    }
    ProcessSample sample;
    // Clock ticks are 10 ms: too coarse for an idle process. The scheduler's
    // own count (nanoseconds) of each live thread is used when present.
    sample.cpuSeconds =
        static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
    double scheduled = 0;
    bool haveSchedstat = true;
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator(proc / "task", error)) {
        const std::string schedstat = readFile(task.path() / "schedstat");
        if (schedstat.empty())
            haveSchedstat = false;
        scheduled += std::atof(schedstat.c_str()) / 1e9;
        const long switches =
            fieldKb("\n" + readFile(task.path() / "status"), "voluntary_ctxt_switches");
        if (switches >= 0)
            sample.voluntarySwitches[std::atoi(task.path().filename().c_str())] = switches;
    }
    if (haveSchedstat && scheduled > 0)
        sample.cpuSeconds = scheduled;
    sample.rssKb = fieldKb("\n" + readFile(proc / "status"), "VmRSS");
    const std::string rollup = "\n" + readFile(proc / "smaps_rollup");
    sample.pssKb = fieldKb(rollup, "Pss");
    sample.anonymousKb = fieldKb(rollup, "Anonymous");
    return sample;
}

long switchesBetween(const ProcessSample& before, const ProcessSample& after)
{
    long total = 0;
    for (const auto& [thread, switches] : after.voluntarySwitches) {
        const auto earlier = before.voluntarySwitches.find(thread);
        total += switches - (earlier == before.voluntarySwitches.end() ? 0 : earlier->second);
    }
    return total;
}

std::optional<double> registeredAt(const std::string& kamailioLog, const std::string& user,
                                   double notBefore)
{
    return stampAfter(kamailioLog, "registered " + user + " over ", notBefore);
}

std::optional<double> ackAt(const std::string& kamailioLog, const std::string& user,
                            double notBefore)
{
    return stampAfter(kamailioLog, "ack from " + user + " ", notBefore);
}

std::optional<double> longestStallMs(const std::string& probeLog, double from, double to)
{
    std::istringstream lines(probeLog);
    std::string word;
    double stamp = 0, stall = 0;
    std::optional<double> longest;
    while (lines >> word >> stamp >> stall) {
        if (word == "stall" && stamp >= from && stamp <= to && (!longest || stall > *longest))
            longest = stall;
    }
    return longest;
}

}
