#include "telephony/EngineSetup.h"
#include "FakeEngine.h"

#include <gtest/gtest.h>

namespace {

using namespace orvanta;
using Lines = std::vector<std::string>;

struct EncryptionCase {
    const char* name;
    bool encryption;
    bool keyOff;
    int dashes;
    Lines expected;
};

TEST(EngineSetup, EncryptionSettersFollowTheSwitchAndTheKeyForm)
{
    const EncryptionCase cases[] = {
        {"off", false, false, 2, {"sip2(0,\"\")", "rtp(0,0,0,0,0,0,0)"}},
        {"two dashes",
         true,
         false,
         2,
         {"newSip(1,222,111,333)", "newRtp(1,222,111,333,1,555,666,444)"}},
        {"one dash", true, false, 1, {"sip(1,222,111)", "rtp(1,222,111,1,555,666,444)"}},
        {"no dash", true, false, 0, {}},
        {"three dashes", true, false, 3, {}},
        {"numeric key off",
         true,
         true,
         0,
         {"rtp(0,0,0,0,0,0,0)", "sip2(1,\"txt\")", "rtp2(1,\"txt\")"}},
    };
    for (const EncryptionCase& c : cases) {
        SCOPED_TRACE(c.name);
        EngineConfiguration config;
        config.encryption = c.encryption;
        config.numericKeyOff = c.keyOff;
        config.numericKeyDashes = c.dashes;
        config.numericKey = {111, 222, 333};
        config.prefix = {444, 555, 666};
        config.textKey = "txt";
        test::FakeEngine engine;
        engine.load();
        configureEncryption(engine, config);
        EXPECT_EQ(engine.journal, c.expected);
    }
}

TEST(EngineSetup, RegistrationUsesTheProxyOnlyWithEncryption)
{
    EngineConfiguration config;
    config.registrarHost = QStringLiteral("sip.example");
    config.proxyHost = QStringLiteral("10.1.1.1:5061");
    config.expiry = 600;
    config.rtpPort = 10000;
    config.keepAlive = 30;
    for (bool encryption : {false, true}) {
        config.encryption = encryption;
        test::FakeEngine engine;
        engine.load();
        engine.init(0, 0);
        engine.journal.clear();
        EXPECT_EQ(registerSipAccount(engine, config, QStringLiteral("1001"), QStringLiteral("pw")),
                  11);
        const std::string proxy = encryption ? "\"sip:10.1.1.1:5061\"" : "null";
        EXPECT_EQ(engine.journal,
                  Lines{"registerAccount(\"sip:1001@sip.example\",\"sip:1001@sip.example\",\"*\","
                        "\"1001\",\"pw\"," +
                        proxy + ",1,600,10000,30)"});
    }
}

}
