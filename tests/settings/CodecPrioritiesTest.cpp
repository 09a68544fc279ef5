#include "FakeEngine.h"
#include "settings/SettingsFixture.h"

#include "settings/CodecFile.h"
#include "settings/EngineCodecs.h"
#include "settings/SettingsRecords.h"

namespace orvanta::test {
namespace {

using Calls = std::vector<FakeCodecEngine::Call>;

const Calls kKnownCodecs = {
    {"G729/8000/1", 255}, {"G723/8000/1", 0}, {"PCMU/8000/1", 0}, {"PCMA/8000/1", 0}};

Calls operator+(Calls first, const Calls& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

struct SequenceCase {
    const char* name;
    std::optional<QByteArray> file;
    Calls expected;
};

using CodecPriorities = SettingsFixture;

TEST_F(CodecPriorities, EngineGetsTheKnownCodecsThenTheFileInOrder)
{
    const QByteArray truncated =
        codecFileBytes({"G722/8000/1", "PCMU/8000/1"}, {"opus/48000/2", "GSM/8000/1"});
    std::vector<const char*> thirtyOne(31, "L16/44100/1");
    thirtyOne.front() = "G722/8000/1";
    Calls thirtyCalls = kKnownCodecs + Calls{{"G722/8000/1", 255}};
    for (int priority = 254; priority >= 226; --priority) {
        thirtyCalls.push_back({"L16/44100/1", priority});
    }
    const SequenceCase cases[] = {
        {"no file: the known codecs twice", std::nullopt, kKnownCodecs + kKnownCodecs},
        {"enabled PCMA then G729", codecFileBytes({"PCMA/8000/1", "G729/8000/1"}, {}),
         kKnownCodecs + Calls{{"PCMA/8000/1", 255}, {"G729/8000/1", 254}}},
        {"cut inside the disabled list: what was read, then the known codecs",
         truncated.left(truncated.size() - 2),
         kKnownCodecs + Calls{{"G722/8000/1", 255}, {"PCMU/8000/1", 254}, {"opus/48000/2", 0}} +
             kKnownCodecs},
        {"nothing enabled: G729 keeps its 255 unless disabled", codecFileBytes({}, {"G729/8000/1"}),
         kKnownCodecs + Calls{{"G729/8000/1", 0}}},
        {"past thirty names nothing more is offered", codecFileBytes(thirtyOne, {}), thirtyCalls},
    };
    for (const SequenceCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(recordPath(kCodecRecordKind));
        if (c.file) {
            writeRaw(kCodecRecordKind, *c.file);
        }
        FakeCodecEngine engine;
        ApplyCodecPriorities(engine);
        EXPECT_EQ(engine.calls, c.expected);
    }
}

// An engine that knows three codecs, one with a name longer than any
// buffer, and keeps the priorities it is given.
struct CodecEngine : test::FakeEngine {
    std::vector<std::pair<std::string, int>> priorities;
    int getNumOfCodecs() override { return 3; }
    int getCodec(int index, char* buffer, int capacity) override
    {
        const std::string names[] = {"opus/48000/2", std::string(80, 'x'), "PCMA/8000/1"};
        const std::string& name = names[index];
        std::snprintf(buffer, static_cast<size_t>(capacity), "%s", name.c_str());
        return static_cast<int>(name.size());
    }
    int setCodecPriority(const char* name, int priority) override
    {
        priorities.emplace_back(name, priority);
        return 0;
    }
};

TEST(EngineCodecs, ListsWhatTheEngineNamesAndSkipsWhatDoesNotFit)
{
    test::FakeEngine none;
    EXPECT_TRUE(EngineCodecs(none).availableCodecs().isEmpty());

    CodecEngine engine;
    EngineCodecs codecs(engine);
    EXPECT_EQ(codecs.availableCodecs(),
              (QStringList{QStringLiteral("opus/48000/2"), QStringLiteral("PCMA/8000/1")}));
    codecs.setCodecPriority("PCMA/8000/1", 254);
    EXPECT_EQ(engine.priorities, (std::vector<std::pair<std::string, int>>{{"PCMA/8000/1", 254}}));
}

}
}
