#include "settings/SettingsFixture.h"

#include "settings/CodecPage.h"
#include "settings/SettingsRecords.h"

namespace orvanta::test {
namespace {

class CodecPage : public SettingsFixture {
protected:
    CodecPageModel& openPage(std::optional<QByteArray> file = std::nullopt)
    {
        if (file) {
            writeRaw(kCodecRecordKind, *file);
        }
        page = std::make_unique<CodecPageModel>(engine, catalog, registration);
        page->load();
        return *page;
    }

    FakeCodecEngine engine;
    FakeCodecCatalog catalog;
    FakeRegistration registration;
    std::unique_ptr<CodecPageModel> page;
};

struct LoadCase {
    const char* name;
    std::optional<QByteArray> file;
    QStringList engineCodecs;
    QStringList enabled;
    QStringList disabled;
};

TEST_F(CodecPage, OpensWithTheFileTheFallbacksAndTheEnginesOtherCodecs)
{
    const QByteArray cut = codecFileBytes({"G729/8000/1"}, {"GSM/8000/1", "G722/8000/1"});
    const QStringList engineCodecs{"opus/48000/2", "PCMU/8000/1", "PCMA/8000/1", "G729/8000/1"};
    const LoadCase cases[] = {
        {"no file, no engine", std::nullopt, {}, {"G729/8000/1", "G723/8000/1"}, {}},
        {"no file, engine running",
         std::nullopt,
         engineCodecs,
         {"G729/8000/1", "G723/8000/1"},
         {"opus/48000/2", "PCMU/8000/1", "PCMA/8000/1"}},
        {"enabled PCMA then G729",
         codecFileBytes({"PCMA/8000/1", "G729/8000/1"}, {}),
         engineCodecs,
         {"PCMA/8000/1", "G729/8000/1"},
         {"opus/48000/2", "PCMU/8000/1"}},
        {"cut in the disabled list: G729 is not listed twice",
         cut.left(cut.size() - 1),
         {},
         {"G729/8000/1", "G723/8000/1"},
         {"GSM/8000/1"}},
        {"shown names in the file become engine names",
         codecFileBytes({"G711 uLaw"}, {"G711 aLaw", "OPUS/48000/2"}),
         engineCodecs,
         {"PCMU/8000/1"},
         {"PCMA/8000/1", "OPUS/48000/2", "G729/8000/1"}},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(recordPath(kCodecRecordKind));
        catalog.codecs = c.engineCodecs;
        CodecPageModel& model = openPage(c.file);
        EXPECT_EQ(model.enabled(), c.enabled);
        EXPECT_EQ(model.disabled(), c.disabled);
        EXPECT_FALSE(model.applyEnabled());
    }
}

enum class Button { Enable, Disable, EnableAll, DisableAll, Up, Down };

struct MoveCase {
    const char* name;
    Button button;
    QList<int> selection;
    QStringList enabled;
    QStringList disabled;
    std::optional<int> selectedAfter;  // for "^" and "\/"
};

TEST_F(CodecPage, MoveButtonsFollowTheirRules)
{
    const MoveCase cases[] = {
        {"> moves the selection in index order",
         Button::Enable,
         {2, 0},
         {"A", "B", "C", "E", "G"},
         {"F"},
         std::nullopt},
        {"> with one selected",
         Button::Enable,
         {1},
         {"A", "B", "C", "F"},
         {"E", "G"},
         std::nullopt},
        {"> with nothing selected",
         Button::Enable,
         {},
         {"A", "B", "C"},
         {"E", "F", "G"},
         std::nullopt},
        {"< moves to the end of the disabled list",
         Button::Disable,
         {0, 2},
         {"B"},
         {"E", "F", "G", "A", "C"},
         std::nullopt},
        {">> moves everything",
         Button::EnableAll,
         {},
         {"A", "B", "C", "E", "F", "G"},
         {},
         std::nullopt},
        {"<< moves everything",
         Button::DisableAll,
         {},
         {},
         {"E", "F", "G", "A", "B", "C"},
         std::nullopt},
        {"^ swaps with the one above", Button::Up, {2}, {"A", "C", "B"}, {"E", "F", "G"}, 1},
        {"^ on the first does nothing",
         Button::Up,
         {0},
         {"A", "B", "C"},
         {"E", "F", "G"},
         std::nullopt},
        {"^ with two selected does nothing",
         Button::Up,
         {1, 2},
         {"A", "B", "C"},
         {"E", "F", "G"},
         std::nullopt},
        {"\\/ swaps with the one below", Button::Down, {0}, {"B", "A", "C"}, {"E", "F", "G"}, 1},
        {"\\/ on the last does nothing",
         Button::Down,
         {2},
         {"A", "B", "C"},
         {"E", "F", "G"},
         std::nullopt},
        {"an index past the list is ignored",
         Button::Enable,
         {7},
         {"A", "B", "C"},
         {"E", "F", "G"},
         std::nullopt},
    };
    for (const MoveCase& c : cases) {
        SCOPED_TRACE(c.name);
        CodecPageModel& model = openPage(codecFileBytes({"A", "B", "C"}, {"E", "F", "G"}));
        std::optional<int> selectedAfter;
        switch (c.button) {
        case Button::Enable:
            model.moveToEnabled(c.selection);
            break;
        case Button::Disable:
            model.moveToDisabled(c.selection);
            break;
        case Button::EnableAll:
            model.moveAllToEnabled();
            break;
        case Button::DisableAll:
            model.moveAllToDisabled();
            break;
        case Button::Up:
            selectedAfter = model.moveUp(c.selection);
            break;
        case Button::Down:
            selectedAfter = model.moveDown(c.selection);
            break;
        }
        EXPECT_EQ(model.enabled(), c.enabled);
        EXPECT_EQ(model.disabled(), c.disabled);
        EXPECT_EQ(selectedAfter, c.selectedAfter);
        EXPECT_TRUE(model.applyEnabled()) << "every button enables Apply";
    }
}

TEST_F(CodecPage, AListStopsGrowingAtThirty)
{
    std::vector<std::string> names;
    for (int i = 0; i < 32; ++i) {
        names.push_back("C" + std::to_string(i));
    }
    std::vector<const char*> enabled;
    for (int i = 0; i < 29; ++i) {
        enabled.push_back(names[static_cast<size_t>(i)].c_str());
    }
    CodecPageModel& model =
        openPage(codecFileBytes(enabled, {names[29].c_str(), names[30].c_str(), "X"}));
    model.moveAllToEnabled();
    EXPECT_EQ(model.enabled().size(), 30);
    EXPECT_EQ(model.enabled().back(), QStringLiteral("C29"));
    EXPECT_EQ(model.disabled(), (QStringList{"C30", "X"})) << "what did not fit stays";
}

TEST_F(CodecPage, SavingWritesEngineNamesAndOkReachesARegisteredEngine)
{
    CodecPageModel& model = openPage(codecFileBytes({"G711 aLaw"}, {"G729/8000/1"}));
    model.moveToEnabled({0});
    ASSERT_TRUE(model.SaveCodecLists());
    EXPECT_FALSE(model.applyEnabled());
    EXPECT_EQ(readRaw(kCodecRecordKind), codecFileBytes({"PCMA/8000/1", "G729/8000/1"}, {}));
    EXPECT_TRUE(engine.calls.empty()) << "Apply does not tell the engine";

    model.ok();
    EXPECT_TRUE(engine.calls.empty()) << "not registered: the next engine start takes it";
    registration.registered = true;
    model.ok();
    ASSERT_EQ(engine.calls.size(), 6u);
    EXPECT_EQ(engine.calls[4], (FakeCodecEngine::Call{"PCMA/8000/1", 255}));
    EXPECT_EQ(engine.calls[5], (FakeCodecEngine::Call{"G729/8000/1", 254}));
}

TEST_F(CodecPage, WithoutADataFolderApplyStaysOn)
{
    CodecPageModel& model = openPage();
    model.moveAllToDisabled();
    breakDataFolder();
    EXPECT_FALSE(model.SaveCodecLists());
    EXPECT_TRUE(model.applyEnabled());
}

TEST_F(CodecPage, NamesEnabledCodecsTheEngineLacks)
{
    catalog.codecs = {"PCMU/8000/1", "G729/8000/1"};
    EXPECT_EQ(openPage().unavailableCodecs(), (QStringList{"G723/8000/1"}));
    catalog.codecs.clear();
    EXPECT_TRUE(openPage().unavailableCodecs().isEmpty()) << "unknown while the engine is off";
}

}
}
