#include "EnginePeer.h"

#include "telephony/EngineLibrary.h"

#include <cstdio>
#include <iostream>
#include <mutex>
#include <string>

namespace orvanta::bench {

namespace {

std::mutex outputMutex;

void say(const std::string& line)
{
    std::lock_guard lock(outputMutex);
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

int onRegistration(int, int code)
{
    say("registered " + std::to_string(code));
    return 1;
}

int onCallState(int, int state)
{
    say("call " + std::to_string(state));
    return 1;
}

}

int runEnginePeer(const std::string& binDir, const std::string& registrar, const std::string& user,
                  const std::string& password)
{
    EngineLibrary library;
    if (!library.load(std::string(binDir) + "/" + EngineLibrary::kFileName)) {
        std::fprintf(stderr, "cannot load the engine: %s\n", library.error().c_str());
        return 1;
    }
    const EngineApi& api = library.api();
    api.setRegStateCallback(&onRegistration);
    api.setCallStateCallback(&onCallState);
    if (api.init(0, 0) != 0) {
        std::fprintf(stderr, "dll_init failed\n");
        return 1;
    }
    const std::string account = "sip:" + user + "@" + registrar;
    const int accountId = api.registerAccount(account.c_str(), account.c_str(), "*", user.c_str(),
                                              password.c_str(), nullptr, 1, 600, 0, 0);
    int callId = -1;
    std::string line;
    while (std::getline(std::cin, line)) {
        if (line.rfind("call ", 0) == 0)
            callId = api.makeCall(accountId, line.substr(5).c_str());
        else if (line == "hangup" && callId > 0)
            api.releaseCall(callId);
        else if (line == "quit")
            break;
    }
    api.shutdown();
    return 0;
}

}
