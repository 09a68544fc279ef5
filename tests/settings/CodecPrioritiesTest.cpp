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

// A loaded engine library's codec entry points; the engine here knows three
// codecs, one with a name longer than any buffer.
struct FakeLibrary {
    static inline std::vector<std::pair<std::string, int>> priorities;
    static int count() { return 3; }
    static int codec(int index, char* buffer, int capacity)
    {
        const std::string names[] = {"opus/48000/2", std::string(80, 'x'), "PCMA/8000/1"};
        const std::string& name = names[index];
        std::snprintf(buffer, static_cast<size_t>(capacity), "%s", name.c_str());
        return static_cast<int>(name.size());
    }
    static int set(const char* name, int priority)
    {
        priorities.emplace_back(name, priority);
        return 0;
    }
};

TEST(EngineCodecs, ListsWhatTheEngineNamesAndSkipsNoEntryPoint)
{
    EngineApi api;
    EngineCodecs unloaded(api);
    EXPECT_TRUE(unloaded.availableCodecs().isEmpty());
    unloaded.setCodecPriority("PCMA/8000/1", 255);  // no entry point: nothing happens

    api.getNumOfCodecs = &FakeLibrary::count;
    api.getCodec = &FakeLibrary::codec;
    api.setCodecPriority = &FakeLibrary::set;
    EngineCodecs loaded(api);
    EXPECT_EQ(loaded.availableCodecs(),
              (QStringList{QStringLiteral("opus/48000/2"), QStringLiteral("PCMA/8000/1")}));
    loaded.setCodecPriority("PCMA/8000/1", 254);
    EXPECT_EQ(FakeLibrary::priorities,
              (std::vector<std::pair<std::string, int>>{{"PCMA/8000/1", 254}}));
}

}
}
