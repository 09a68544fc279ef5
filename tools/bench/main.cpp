// orvanta-bench: the dialer, its engine on its own, linphonec and baresip
// measured side by side against one Kamailio, the service stand-in and an
// answering baresip phone, all started here on 127.0.0.1 and stopped at the
// end. Subjects take turns within each round so that every figure of a round
// was taken under the same load. See README ("Benchmark").

#include "EnginePeer.h"
#include "Probe.h"
#include "peers/SipPeers.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using orvanta::test::ChildProcess;

namespace {

constexpr const char* kCallee = "5551000";
constexpr const char* kCalleePassword = "answer5551000";
constexpr const char* kDialerUser = "demo";
constexpr const char* kDialerPassword = "demo1234";
constexpr const char* kDialerSipPassword = "demosip5521";

struct Options {
    int rounds = 3;
    int settleSeconds = 10;
    int idleSeconds = 30;
    int callSeconds = 20;
    int provisioningDelayMs = 3000;
    bool json = false;
    fs::path binDir;
    fs::path compareBinDir;  // a second build of the dialer and its engine
    std::vector<std::string> only;
};

// One figure's samples per subject.
using Samples = std::map<std::string, std::map<std::string, std::vector<double>>>;

struct Figure {
    const char* key;
    const char* label;
    const char* unit;
};
const Figure kFigures[] = {
    {"register", "exec -> REGISTER 200", "ms"},
    {"rss", "idle RSS", "MB"},
    {"pss", "idle PSS", "MB"},
    {"anon", "idle anonymous memory", "MB"},
    {"idleCpu", "idle CPU", "%"},
    {"idleSwitches", "idle voluntary switches", "/s"},
    {"setup", "call command -> ACK", "ms"},
    {"callCpu", "CPU in a call", "%"},
    {"stall", "longest GUI stall at sign-in", "ms"},
};

// Everything the subjects share.
struct Stage {
    Options options;
    orvanta::test::TempDir dir;
    std::unique_ptr<orvanta::test::Kamailio> proxy;
    std::unique_ptr<orvanta::test::Baresip> callee;
    ChildProcess service;
    ChildProcess delayedService;
    fs::path deployment;
    fs::path delayedDeployment;
    std::string calleeUri() const
    {
        return "sip:" + std::string(kCallee) + "@" + proxy->hostPort();
    }
};

// A running subject.
class Session {
public:
    virtual ~Session() = default;
    virtual int pid() = 0;
    virtual bool placeCall(const std::string& uri) = 0;
    virtual void hangUp() = 0;
};

class ProcessSession : public Session {
public:
    int pid() override { return process.pid(); }
    bool placeCall(const std::string& uri) override
    {
        return process.writeInput(callCommand + uri + "\n");
    }
    void hangUp() override { process.writeInput(hangUpCommand + "\n"); }
    ChildProcess process;
    std::string callCommand;
    std::string hangUpCommand;
};

class BaresipSession : public Session {
public:
    explicit BaresipSession(orvanta::test::Baresip::Options options) : phone(std::move(options)) {}
    int pid() override { return phone.pid(); }
    bool placeCall(const std::string& uri) override { return phone.command("dial", uri).ok; }
    void hangUp() override { phone.command("hangup"); }
    orvanta::test::Baresip phone;
};

struct Subject {
    std::string name;
    std::string user;  // its SIP user at Kamailio
    bool calls = false;
    // Starts the subject; exec is set to the wall-clock time of the start.
    std::function<std::unique_ptr<Session>(Stage&, double& exec, bool probeStalls)> start;
    bool stalls = false;
};

void writeFile(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::trunc) << text;
}

std::string readFile(const fs::path& path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool waitForLine(ChildProcess& process, const std::string& text, std::chrono::milliseconds timeout)
{
    return orvanta::test::waitUntil(
        [&] { return process.output().find(text) != std::string::npos; }, timeout);
}

std::string scenario(int provisioningDelayMs)
{
    std::string faults;
    if (provisioningDelayMs > 0)
        faults =
            ",\"faults\":{\"provisioning\":{\"delayMs\":" + std::to_string(provisioningDelayMs) +
            "}}";
    return std::string("{\"accounts\":[{\"user\":\"") + kDialerUser + "\",\"password\":\"" +
           kDialerPassword + "\",\"sipPassword\":\"" + kDialerSipPassword + "\"}]" + faults + "}";
}

bool startService(Stage& stage, ChildProcess& service, int delayMs, const std::string& name,
                  fs::path& deployment)
{
    const fs::path file = stage.dir / (name + ".json");
    writeFile(file, scenario(delayMs));
    deployment = stage.dir / (name + ".ini");
    return service.start((stage.options.binDir / "orvanta-service").string(),
                         {"--scenario", file.string(), "--registrar", stage.proxy->hostPort(),
                          "--write-deployment", deployment.string()},
                         stage.dir / (name + ".log")) &&
           waitForLine(service, "\"ready\"", 10s);
}

// The dialer as users run it: signed in automatically from a saved sign-in
// record, on the offscreen platform, against the service stand-in.
Subject dialerSubject(const std::string& name, fs::path binDir)
{
    Subject subject;
    subject.name = name;
    subject.user = kDialerUser;
    subject.stalls = true;
    subject.start = [binDir](Stage& stage, double& exec,
                             bool probeStalls) -> std::unique_ptr<Session> {
        static int serial = 0;
        const fs::path home = stage.dir / ("dialer-" + std::to_string(++serial));
        fs::create_directories(home / "data");
        fs::create_directories(home / "runtime");
        fs::permissions(home / "runtime", fs::perms::owner_all);
        ChildProcess records;
        records.start((stage.options.binDir / "orvanta-records").string(),
                      {"write-signin", (home / "data" / "account_Orvanta.bin").string(),
                       kDialerUser, kDialerPassword},
                      home / "records.log");
        records.waitForExit(10s);
        auto session = std::make_unique<ProcessSession>();
        std::vector<std::string> environment{
            "QT_QPA_PLATFORM=offscreen", "ORVANTA_DATA_DIR=" + (home / "data").string(),
            "XDG_RUNTIME_DIR=" + (home / "runtime").string(),
            "ORVANTA_DEPLOYMENT=" +
                (probeStalls ? stage.delayedDeployment : stage.deployment).string()};
        if (probeStalls)
            environment.push_back("ORVANTA_EVENT_LOOP_PROBE=" + (home / "probe.log").string());
        exec = orvanta::bench::wallClock();
        if (!session->process.start((binDir / "orvanta").string(), {}, home / "dialer.log",
                                    ChildProcess::Input::Null, environment))
            return nullptr;
        return session;
    };
    return subject;
}

// libOrvanta.so on its own, driven by this program in a child process.
Subject engineSubject(const std::string& name, fs::path binDir)
{
    Subject subject;
    subject.name = name;
    subject.user = "engine1";
    subject.calls = true;
    subject.start = [binDir, user = subject.user](Stage& stage, double& exec,
                                                  bool) -> std::unique_ptr<Session> {
        auto session = std::make_unique<ProcessSession>();
        session->callCommand = "call ";
        session->hangUpCommand = "hangup";
        exec = orvanta::bench::wallClock();
        if (!session->process.start(
                fs::canonical("/proc/self/exe").string(),
                {"--engine-peer", binDir.string(), stage.proxy->hostPort(), user, user + "pw"},
                stage.dir / (user + ".log"), ChildProcess::Input::OpenPipe))
            return nullptr;
        return session;
    };
    return subject;
}

Subject linphonecSubject()
{
    Subject subject;
    subject.name = "linphonec";
    subject.user = "linphonec1";
    subject.calls = true;
    subject.start = [user = subject.user](Stage& stage, double& exec,
                                          bool) -> std::unique_ptr<Session> {
        static int serial = 0;
        const fs::path home = stage.dir / ("linphonec-" + std::to_string(++serial));
        fs::create_directories(home / ".local" / "share" / "linphone");
        const std::string registrar = stage.proxy->hostPort();
        writeFile(home / "linphonerc",
                  "[sip]\nsip_port=-1\n[video]\nenabled=0\n[proxy_0]\nreg_proxy=<sip:" + registrar +
                      ">\nreg_identity=sip:" + user + "@" + registrar +
                      "\nreg_expires=600\nreg_sendregister=1\n[auth_info_0]\nusername=" + user +
                      "\npasswd=" + user + "pw\n");
        auto session = std::make_unique<ProcessSession>();
        session->callCommand = "call ";
        session->hangUpCommand = "terminate";
        exec = orvanta::bench::wallClock();
        if (!session->process.start(
                "env", {"HOME=" + home.string(), "linphonec", "-c", (home / "linphonerc").string()},
                home / "linphonec.log", ChildProcess::Input::OpenPipe))
            return nullptr;
        return session;
    };
    return subject;
}

Subject baresipSubject()
{
    Subject subject;
    subject.name = "baresip";
    subject.user = "baresip1";
    subject.calls = true;
    subject.start = [user = subject.user](Stage& stage, double& exec,
                                          bool) -> std::unique_ptr<Session> {
        orvanta::test::Baresip::Options options;
        options.user = user;
        options.password = user + "pw";
        options.registrar = stage.proxy->hostPort();
        options.codec = orvanta::test::Baresip::Options::Codec::Opus;
        auto session = std::make_unique<BaresipSession>(options);
        exec = session->phone.startedAt();
        return session;
    };
    return subject;
}

std::optional<double> waitForStamp(const std::function<std::optional<double>()>& find,
                                   std::chrono::milliseconds timeout)
{
    std::optional<double> stamp;
    orvanta::test::waitUntil([&] { return (stamp = find()).has_value(); }, timeout);
    return stamp;
}

// CPU % of one core and voluntary switches per second over a window.
std::optional<std::pair<double, double>> measureWindow(int pid, int seconds)
{
    const auto before = orvanta::bench::sampleProcess(pid);
    const auto started = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const auto after = orvanta::bench::sampleProcess(pid);
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (!before || !after)
        return std::nullopt;
    return std::make_pair((after->cpuSeconds - before->cpuSeconds) / elapsed * 100.0,
                          static_cast<double>(orvanta::bench::switchesBetween(*before, *after)) /
                              elapsed);
}

void runSession(Stage& stage, const Subject& subject, Samples& samples)
{
    auto& mine = samples[subject.name];
    double exec = 0;
    auto session = subject.start(stage, exec, false);
    if (!session) {
        std::fprintf(stderr, "bench: %s did not start\n", subject.name.c_str());
        return;
    }
    const auto registered = waitForStamp(
        [&] { return orvanta::bench::registeredAt(stage.proxy->output(), subject.user, exec); },
        20s);
    if (!registered) {
        std::fprintf(stderr, "bench: %s did not register\n", subject.name.c_str());
        return;
    }
    mine["register"].push_back((*registered - exec) * 1000.0);
    std::this_thread::sleep_for(std::chrono::seconds(stage.options.settleSeconds));
    if (const auto memory = orvanta::bench::sampleProcess(session->pid())) {
        mine["rss"].push_back(static_cast<double>(memory->rssKb) / 1024.0);
        mine["pss"].push_back(static_cast<double>(memory->pssKb) / 1024.0);
        mine["anon"].push_back(static_cast<double>(memory->anonymousKb) / 1024.0);
    }
    if (const auto idle = measureWindow(session->pid(), stage.options.idleSeconds)) {
        mine["idleCpu"].push_back(idle->first);
        mine["idleSwitches"].push_back(idle->second);
    }
    if (!subject.calls)
        return;
    const double command = orvanta::bench::wallClock();
    if (!session->placeCall(stage.calleeUri()))
        return;
    const auto acked = waitForStamp(
        [&] { return orvanta::bench::ackAt(stage.proxy->output(), subject.user, command); }, 10s);
    if (!acked) {
        std::fprintf(stderr, "bench: %s's call was not answered\n", subject.name.c_str());
        return;
    }
    mine["setup"].push_back((*acked - command) * 1000.0);
    std::this_thread::sleep_for(1s);
    if (const auto call = measureWindow(session->pid(), stage.options.callSeconds))
        mine["callCpu"].push_back(call->first);
    session->hangUp();
    std::this_thread::sleep_for(500ms);
}

// Sign-in with slow provisioning and the dialer's event-loop probe on.
void runStallSession(Stage& stage, const Subject& subject, Samples& samples)
{
    double exec = 0;
    auto session = subject.start(stage, exec, true);
    if (!session)
        return;
    const auto registered = waitForStamp(
        [&] { return orvanta::bench::registeredAt(stage.proxy->output(), subject.user, exec); },
        std::chrono::milliseconds(stage.options.provisioningDelayMs) + 20s);
    if (!registered)
        return;
    std::this_thread::sleep_for(1s);
    auto* process = dynamic_cast<ProcessSession*>(session.get());
    const fs::path probe = process->process.logFile().parent_path() / "probe.log";
    if (const auto stall = orvanta::bench::longestStallMs(readFile(probe), exec, *registered + 0.5))
        samples[subject.name]["stall"].push_back(*stall);
}

struct Summary {
    double min = 0, median = 0, max = 0;
    size_t count = 0;
};

std::optional<Summary> summarize(std::vector<double> values)
{
    if (values.empty())
        return std::nullopt;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return Summary{values.front(), median, values.back(), n};
}

std::string number(double value)
{
    char text[32];
    const double size = value < 0 ? -value : value;
    std::snprintf(text, sizeof(text), size >= 100 ? "%.0f" : size >= 10 ? "%.1f" : "%.2f", value);
    return text;
}

std::string cell(const std::optional<Summary>& summary)
{
    if (!summary)
        return "-";
    return number(summary->median) + " [" + number(summary->min) + "-" + number(summary->max) + "]";
}

void printTable(const Samples& samples, const std::vector<std::string>& subjects)
{
    auto summaryOf = [&](const std::string& subject, const char* figure) -> std::optional<Summary> {
        const auto found = samples.find(subject);
        if (found == samples.end() || !found->second.count(figure))
            return std::nullopt;
        return summarize(found->second.at(figure));
    };
    std::printf("%-30s", "median [min-max]");
    for (const auto& subject : subjects)
        std::printf(" | %-22s", subject.c_str());
    std::printf(" | ratios (median)\n");
    for (const auto& figure : kFigures) {
        const std::string label = std::string(figure.label) + " (" + figure.unit + ")";
        std::printf("%-30s", label.c_str());
        for (const auto& subject : subjects)
            std::printf(" | %-22s", cell(summaryOf(subject, figure.key)).c_str());
        std::string ratios;
        for (const auto& ours : subjects) {
            if (ours.rfind("dialer", 0) != 0 && ours.rfind("engine", 0) != 0)
                continue;
            for (const char* peer : {"linphonec", "baresip"}) {
                const auto a = summaryOf(ours, figure.key);
                const auto b = summaryOf(peer, figure.key);
                if (!a || !b || b->median <= 0)
                    continue;
                char text[96];
                std::snprintf(text, sizeof(text), " %s/%s %.2f", ours.c_str(), peer,
                              a->median / b->median);
                ratios += text;
            }
        }
        std::printf(" |%s\n", ratios.c_str());
    }
}

void printJson(const Samples& samples, const Options& options)
{
    std::printf("{\"rounds\":%d,\"idleSeconds\":%d,\"callSeconds\":%d,\"subjects\":{",
                options.rounds, options.idleSeconds, options.callSeconds);
    bool firstSubject = true;
    for (const auto& [subject, figures] : samples) {
        std::printf("%s\"%s\":{", firstSubject ? "" : ",", subject.c_str());
        firstSubject = false;
        bool firstFigure = true;
        for (const auto& [figure, values] : figures) {
            const auto summary = summarize(values);
            if (!summary)
                continue;
            std::printf("%s\"%s\":{\"min\":%.4f,\"median\":%.4f,\"max\":%.4f,\"n\":%zu}",
                        firstFigure ? "" : ",", figure.c_str(), summary->min, summary->median,
                        summary->max, summary->count);
            firstFigure = false;
        }
        std::printf("}");
    }
    std::printf("}}\n");
}

int usage()
{
    std::fprintf(stderr, "usage: orvanta-bench [--rounds N] [--idle-seconds S] [--call-seconds S]\n"
                         "                     [--settle-seconds S] [--provisioning-delay-ms MS]\n"
                         "                     [--only NAME,...] [--compare-bin DIR] [--json]\n"
                         "subjects: dialer, engine, linphonec, baresip (with --compare-bin also\n"
                         "dialer@DIR's build and engine@ that build)\n");
    return 2;
}

std::optional<Options> parse(int argc, char** argv)
{
    Options options;
    options.binDir = fs::canonical("/proc/self/exe").parent_path();
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto number = [&](int& into) {
            if (i + 1 >= argc)
                return false;
            into = std::atoi(argv[++i]);
            return into >= 0;
        };
        if (arg == "--json") {
            options.json = true;
        } else if (arg == "--rounds") {
            if (!number(options.rounds) || options.rounds < 1)
                return std::nullopt;
        } else if (arg == "--idle-seconds") {
            if (!number(options.idleSeconds) || options.idleSeconds < 1)
                return std::nullopt;
        } else if (arg == "--call-seconds") {
            if (!number(options.callSeconds) || options.callSeconds < 1)
                return std::nullopt;
        } else if (arg == "--settle-seconds") {
            if (!number(options.settleSeconds))
                return std::nullopt;
        } else if (arg == "--provisioning-delay-ms") {
            if (!number(options.provisioningDelayMs))
                return std::nullopt;
        } else if (arg == "--compare-bin" && i + 1 < argc) {
            options.compareBinDir = fs::absolute(argv[++i]);
        } else if (arg == "--only" && i + 1 < argc) {
            std::istringstream names(argv[++i]);
            std::string name;
            while (std::getline(names, name, ','))
                options.only.push_back(name);
        } else {
            return std::nullopt;
        }
    }
    return options;
}

}

int main(int argc, char** argv)
{
    if (argc == 6 && std::string(argv[1]) == "--engine-peer")
        return orvanta::bench::runEnginePeer(argv[2], argv[3], argv[4], argv[5]);
    const auto options = parse(argc, argv);
    if (!options)
        return usage();
    // Each subject gets its own of these.
    for (const char* name : {"QT_QPA_PLATFORM", "ORVANTA_DATA_DIR", "ORVANTA_DEPLOYMENT",
                             "ORVANTA_EVENT_LOOP_PROBE", "ORVANTA_ENGINE_NULL_AUDIO",
                             "ORVANTA_ENGINE_LOG", "http_proxy", "https_proxy", "no_proxy"})
        unsetenv(name);

    std::vector<Subject> subjects{dialerSubject("dialer", options->binDir),
                                  engineSubject("engine", options->binDir), linphonecSubject(),
                                  baresipSubject()};
    if (!options->compareBinDir.empty()) {
        subjects.insert(subjects.begin() + 1,
                        dialerSubject("dialer@before", options->compareBinDir));
        subjects.insert(subjects.begin() + 3,
                        engineSubject("engine@before", options->compareBinDir));
    }
    if (!options->only.empty())
        std::erase_if(subjects, [&](const Subject& s) {
            return std::find(options->only.begin(), options->only.end(), s.name) ==
                   options->only.end();
        });

    Samples samples;
    try {
        Stage stage;
        stage.options = *options;
        stage.proxy = std::make_unique<orvanta::test::Kamailio>(
            std::vector<orvanta::test::SipAccount>{{kDialerUser, kDialerSipPassword},
                                                   {kCallee, kCalleePassword},
                                                   {"engine1", "engine1pw"},
                                                   {"linphonec1", "linphonec1pw"},
                                                   {"baresip1", "baresip1pw"}});
        orvanta::test::Baresip::Options callee;
        callee.user = kCallee;
        callee.password = kCalleePassword;
        callee.registrar = stage.proxy->hostPort();
        callee.autoAnswer = true;
        callee.codec = orvanta::test::Baresip::Options::Codec::Opus;
        stage.callee = std::make_unique<orvanta::test::Baresip>(callee);
        if (!startService(stage, stage.service, 0, "service", stage.deployment) ||
            !startService(stage, stage.delayedService, options->provisioningDelayMs, "delayed",
                          stage.delayedDeployment)) {
            std::fprintf(stderr, "bench: the service stand-in did not start\n");
            return 1;
        }
        for (int round = 1; round <= options->rounds; ++round) {
            for (const auto& subject : subjects) {
                std::fprintf(stderr, "bench: round %d/%d: %s\n", round, options->rounds,
                             subject.name.c_str());
                runSession(stage, subject, samples);
                if (subject.stalls)
                    runStallSession(stage, subject, samples);
            }
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench failed: %s\n", error.what());
        return 1;
    }
    if (options->json) {
        printJson(samples, *options);
    } else {
        std::vector<std::string> names;
        for (const auto& subject : subjects)
            names.push_back(subject.name);
        std::printf("orvanta-bench: %d rounds; idle %d s after %d s settling; calls %d s; "
                    "sign-in stall with %d ms provisioning delay\n",
                    options->rounds, options->idleSeconds, options->settleSeconds,
                    options->callSeconds, options->provisioningDelayMs);
        printTable(samples, names);
    }
    return 0;
}
