#include "FakeEngine.h"
#include "settings/SettingsFixture.h"

#include "records/RecordFile.h"
#include "settings/NetworkSettings.h"

namespace orvanta::test {
namespace {

class NetworkPage : public SettingsFixture {
protected:
    std::optional<NetworkRecord> stored()
    {
        NetworkRecord record;
        if (!loadDataFile(QLatin1String(kNetworkFileName), record).complete) {
            return std::nullopt;
        }
        return record;
    }
};

struct ApplyCase {
    const char* name;
    const char* stunPort;
    const char* sipPort;
    const char* mediaPort;
    std::optional<NetworkMessage> message;
    std::int32_t storedStun, storedSip, storedMedia;
};

TEST_F(NetworkPage, ChecksThePortTextsAndStoresTheirValues)
{
    const ApplyCase cases[] = {
        {"empty texts are 0", "", "", "", std::nullopt, 0, 0, 0},
        {"the media port is not checked", "3478", "5070", "abc", std::nullopt, 3478, 5070, 0},
        {"a media port keeps its leading digits", "1", "2", "7000x", std::nullopt, 1, 2, 7000},
        {"both wrong: the STUN port is named first", "34a", "x", "",
         NetworkMessage::StunPortNotNumeric, 0, 0, 0},
        {"a blank inside the SIP port", "", "50 60", "", NetworkMessage::SipPortNotNumeric, 0, 0,
         0},
        {"a long text is cut before it is converted", "", "000000000000000000005070", "",
         std::nullopt, 0, 0, 0},
        {"a huge port stops at the integer's maximum", "", "99999999999", "", std::nullopt, 0,
         2147483647, 0},
    };
    for (const ApplyCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(temp_ / "Orvanta" / "Network.bin");
        NetworkPageModel model;
        model.load();
        model.members().stunServer = QStringLiteral("stun.example.org");
        model.members().stunPortText = QString::fromLatin1(c.stunPort);
        model.members().sipPortText = QString::fromLatin1(c.sipPort);
        model.members().mediaPortText = QString::fromLatin1(c.mediaPort);
        model.markChanged();
        EXPECT_EQ(model.apply(), c.message);
        const std::optional<NetworkRecord> record = stored();
        ASSERT_EQ(record.has_value(), !c.message) << "refused values are not written";
        EXPECT_EQ(model.applyEnabled(), c.message.has_value());
        if (record) {
            EXPECT_EQ(record->stunPort, c.storedStun);
            EXPECT_EQ(record->localSipPort, c.storedSip);
            EXPECT_EQ(record->mediaPort, c.storedMedia);
            EXPECT_EQ(record->stunServer, QStringLiteral("stun.example.org"));
        }
    }
}

TEST_F(NetworkPage, ShowsWhatTheFileHoldsAndForgetsTheSpeed)
{
    ASSERT_TRUE(saveDataFile(QLatin1String(kNetworkFileName),
                             NetworkRecord{0, 3478, 10000, QStringLiteral("stun.x")}));
    NetworkPageModel model;
    model.load();
    EXPECT_EQ(model.members().sipPortText, QStringLiteral("0"));
    EXPECT_EQ(model.members().stunPortText, QStringLiteral("3478"));
    EXPECT_EQ(model.members().mediaPortText, QStringLiteral("10000"));
    EXPECT_EQ(model.members().stunServer, QStringLiteral("stun.x"));
    model.members().speed = ConnectionSpeed::LocalAreaNetwork;
    model.onShownOrHidden();
    EXPECT_EQ(model.members().speed, ConnectionSpeed::DialUp);

    writeFile(temp_ / "Orvanta" / "Network.bin", encodeRecord(NetworkRecord{5, 6, 7, {}}).left(9));
    model.load();
    EXPECT_TRUE(model.members().sipPortText.isEmpty()) << "a short file shows nothing";
}

struct PlanCase {
    const char* name;
    std::optional<NetworkRecord> file;
    std::vector<std::string> calls;  // the engine's, in order
};

TEST_F(NetworkPage, NextEngineStartTakesTheSetValues)
{
    const PlanCase cases[] = {
        {"no file: the start's own ports, no STUN",
         std::nullopt,
         {"sipPort(-1)", "mediaPort(-1)", "stun(\"\",0)"}},
        {"zeros leave the start's own ports",
         NetworkRecord{0, 0, 0, QString()},
         {"sipPort(-1)", "mediaPort(-1)", "stun(\"\",0)"}},
        {"set ports win; STUN on its standard port",
         NetworkRecord{5070, 0, 10000, QStringLiteral(" stun.example.org ")},
         {"sipPort(5070)", "mediaPort(10000)", "stun(\"stun.example.org\",3478)"}},
        {"ports out of range are not used",
         NetworkRecord{70000, 99999, 65536, QStringLiteral("s")},
         {"sipPort(-1)", "mediaPort(-1)", "stun(\"s\",3478)"}},
        {"a STUN port of its own",
         NetworkRecord{0, 19302, 0, QStringLiteral("stun.l")},
         {"sipPort(-1)", "mediaPort(-1)", "stun(\"stun.l\",19302)"}},
    };
    for (const PlanCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(temp_ / "Orvanta" / "Network.bin");
        if (c.file) {
            ASSERT_TRUE(saveDataFile(QLatin1String(kNetworkFileName), *c.file));
        }
        FakeEngine engine;
        engine.load();
        applyNetworkSettings(engine);
        EXPECT_EQ(engine.journal, c.calls);
    }
}

// A server the engine refuses must not leave the previous one in use.
TEST_F(NetworkPage, AStunServerTheEngineRefusesTurnsStunOff)
{
    ASSERT_TRUE(
        saveDataFile(QLatin1String(kNetworkFileName), NetworkRecord{0, 0, 0, QStringLiteral("x")}));
    FakeEngine unloaded;  // refuses every call
    applyNetworkSettings(unloaded);
    EXPECT_EQ(unloaded.callsTo("stun"),
              (std::vector<std::string>{"stun(\"x\",3478)", "stun(\"\",0)"}));
}

}
}
