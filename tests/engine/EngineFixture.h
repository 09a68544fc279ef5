#pragma once

#include "peers/EngineEvents.h"
#include "peers/SipPeers.h"
#include "support/TestEnvironment.h"
#include "telephony/EngineHost.h"
#include "telephony/EngineLibrary.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace orvanta::test {

using namespace std::chrono_literals;

// Loads the real engine once per process and starts a fresh engine for each
// test on a known SIP port; shuts it down after the test.
class EngineFixture : public ::testing::Test {
public:
    static constexpr auto kRegisterTimeout = 1500ms;

    static void SetUpTestSuite()
    {
        setenv("ORVANTA_ENGINE_NULL_AUDIO", "1", 1);
        setenv("ORVANTA_ENGINE_BIND_ADDRESS", "127.0.0.1", 1);
        setenv("ORVANTA_ENGINE_REGISTER_TIMEOUT_MS", "1500", 1);
        if (!library().isLoaded()) {
            ASSERT_TRUE(library().load(binDir() / EngineLibrary::kFileName)) << library().error();
        }
        EngineEvents::install(api());
    }

    static EngineLibrary& library()
    {
        static EngineLibrary engine;
        return engine;
    }
    static const EngineApi& api() { return library().api(); }
    // The same loaded library behind the dialer's engine interface, for
    // code that takes an Engine; the fixture starts and stops it.
    static Engine& engine()
    {
        static EngineHost* host = [] {
            auto* loaded = new EngineHost(binDir() / EngineLibrary::kFileName);
            loaded->load();
            return loaded;
        }();
        return *host;
    }

protected:
    void SetUp() override
    {
        EngineEvents::instance().clear();
        sipPort_ = freePort();
        ASSERT_EQ(api().init(0, sipPort_), 0);
        running_ = true;
    }

    void TearDown() override
    {
        if (running_)
            api().shutdown();
        running_ = false;
    }

    EngineEvents& events() { return EngineEvents::instance(); }

    // Registers user at the registrar and waits for the result code.
    int registerAt(const std::string& registrarHostPort, const std::string& user,
                   const std::string& password, std::chrono::milliseconds timeout = 5s)
    {
        const std::string uri = "sip:" + user + "@" + registrarHostPort;
        accountId_ = api().registerAccount(uri.c_str(), uri.c_str(), "*", user.c_str(),
                                           password.c_str(), nullptr, 1, 600, 0, 0);
        if (accountId_ <= 0)
            return -1;
        return events().waitForRegistration(accountId_, timeout).value_or(-2);
    }

    // "sip:<user>@127.0.0.1:<engine port>": the engine reached directly.
    std::string engineUri(const std::string& user) const
    {
        return "sip:" + user + "@127.0.0.1:" + std::to_string(sipPort_);
    }

    int sipPort_ = 0;
    int accountId_ = 0;
    bool running_ = false;
};

}
