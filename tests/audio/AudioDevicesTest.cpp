#include "audio/AudioDeviceChoice.h"
#include "audio/AudioPageModel.h"
#include "audio/PulseVolume.h"
#include "audio/VoiceTestModel.h"
#include "records/RecordFile.h"
#include "support/DataFolderFixture.h"
#include "support/EventWait.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

namespace orvanta::test {
namespace {

using namespace std::chrono_literals;
using platform::SoundServerState;
using platform::SoundServerView;

SoundServerView serverWith(std::vector<std::string> outputs, std::vector<std::string> inputs)
{
    SoundServerView view;
    view.state = SoundServerState::Ready;
    for (auto& name : outputs) {
        view.outputs.push_back({name, "Out " + name});
    }
    for (auto& name : inputs) {
        view.inputs.push_back({name, "In " + name});
    }
    view.defaultOutput = view.outputs.empty() ? "" : view.outputs.front().name;
    view.defaultInput = view.inputs.empty() ? "" : view.inputs.front().name;
    return view;
}

SoundServerView noServer()
{
    SoundServerView view;
    view.state = SoundServerState::NotAvailable;
    return view;
}

AudioChoices chosen(std::string input, std::string output, std::string ringer)
{
    AudioChoices c;
    c[AudioRole::Input] = {input, input.empty() ? "" : "Headset mic"};
    c[AudioRole::Output] = {output, output.empty() ? "" : "Headset"};
    c[AudioRole::Ringer] = {ringer, ringer.empty() ? "" : "Loudspeaker"};
    return c;
}

using Notices = std::vector<std::pair<AudioRole, AudioNoticeKind>>;

// The server's views one after the other: where each role goes after each,
// and what the user is told.
TEST(AudioRouting, FallsBackWhenAChosenDeviceGoesAndReturnsWhenItComes)
{
    const struct {
        const char* name;
        AudioChoices choices;
        std::vector<SoundServerView> views;
        std::vector<std::string> outputAfter;  // output route after each view
        std::vector<RouteStatus> outputStatus;
        Notices notices;  // over the whole run
    } cases[] = {
        {"nothing chosen",
         chosen("", "", ""),
         {serverWith({"spk"}, {"mic"})},
         {""},
         {RouteStatus::SystemDefault},
         {}},
        {"chosen and there",
         chosen("", "usb", ""),
         {serverWith({"spk", "usb"}, {"mic"})},
         {"usb"},
         {RouteStatus::Chosen},
         {}},
        {"chosen and missing from the start, told once",
         chosen("", "usb", ""),
         {serverWith({"spk"}, {"mic"}), serverWith({"spk"}, {"mic"})},
         {"", ""},
         {RouteStatus::FallenBack, RouteStatus::FallenBack},
         {{AudioRole::Output, AudioNoticeKind::FellBack}}},
        {"unplugged and plugged in again",
         chosen("", "usb", ""),
         {serverWith({"spk", "usb"}, {}), serverWith({"spk"}, {}), serverWith({"usb", "spk"}, {})},
         {"usb", "", "usb"},
         {RouteStatus::Chosen, RouteStatus::FallenBack, RouteStatus::Chosen},
         {{AudioRole::Output, AudioNoticeKind::FellBack},
          {AudioRole::Output, AudioNoticeKind::Returned}}},
        {"server gone: nothing is known, nothing changes",
         chosen("", "usb", ""),
         {serverWith({"spk", "usb"}, {}), noServer()},
         {"usb", "usb"},
         {RouteStatus::Chosen, RouteStatus::Chosen},
         {}},
        {"an input is looked for among inputs only",
         chosen("usb", "", ""),
         {serverWith({"usb"}, {"mic"})},
         {""},
         {RouteStatus::SystemDefault},
         {{AudioRole::Input, AudioNoticeKind::FellBack}}},
        {"speaker and ringer on one device both fall back",
         chosen("", "usb", "usb"),
         {serverWith({"spk", "usb"}, {}), serverWith({"spk"}, {})},
         {"usb", ""},
         {RouteStatus::Chosen, RouteStatus::FallenBack},
         {{AudioRole::Output, AudioNoticeKind::FellBack},
          {AudioRole::Ringer, AudioNoticeKind::FellBack}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AudioRoutes routes = initialRoutes(c.choices);
        Notices notices;
        for (std::size_t i = 0; i < c.views.size(); ++i) {
            const RoutingOutcome outcome = routeDevices(c.choices, c.views[i], routes);
            routes = outcome.routes;
            for (const AudioDeviceNotice& n : outcome.notices) {
                notices.emplace_back(n.role, n.kind);
            }
            EXPECT_EQ(routeOf(routes, AudioRole::Output).device, c.outputAfter[i]) << i;
            EXPECT_EQ(routeOf(routes, AudioRole::Output).status, c.outputStatus[i]) << i;
        }
        EXPECT_EQ(notices, c.notices);
    }
}

TEST(AudioRouting, DeviceListsStartWithTheSystemDefaultAndKeepAMissingChoice)
{
    const SoundServerView view = serverWith({"spk", "usb"}, {"mic"});
    const struct {
        const char* name;
        AudioRole role;
        ChosenDevice selected;
        std::vector<DeviceEntry> entries;
    } cases[] = {
        {"outputs", AudioRole::Output, {}, {{}, {"spk", "Out spk"}, {"usb", "Out usb"}}},
        {"ringer lists the outputs",
         AudioRole::Ringer,
         {"usb", "Out usb"},
         {{}, {"spk", "Out spk"}, {"usb", "Out usb"}}},
        {"inputs", AudioRole::Input, {}, {{}, {"mic", "In mic"}}},
        {"a chosen input that is not plugged in",
         AudioRole::Input,
         {"bt", "Earbuds"},
         {{}, {"mic", "In mic"}, {"bt", "Earbuds", false}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(deviceEntries(c.role, view, c.selected), c.entries);
    }
}

TEST(VolumeScale, RoundTripsEverySliderPosition)
{
    for (int v = 0; v <= kVolumeMaximum; ++v) {
        ASSERT_EQ(fromServerVolume(toServerVolume(v)), v) << v;
    }
    EXPECT_EQ(toServerVolume(kVolumeMaximum), platform::kNormalVolume);
    EXPECT_EQ(toServerVolume(0), 0u);
    EXPECT_EQ(fromServerVolume(platform::kNormalVolume / 2), 32768);
    EXPECT_EQ(fromServerVolume(platform::kNormalVolume * 3 / 2), kVolumeMaximum);
}

// No sound server at all: everything says so at once and nothing waits.
class NoSoundServer : public DataFolderFixture {
protected:
    NoSoundServer() : server("unix:" + (temp_ / "no-such-socket").string()) {}
    platform::SoundServer server;
};

TEST_F(NoSoundServer, VolumesAreNotAvailable)
{
    ASSERT_TRUE(eventually([&] { return server.view().state == SoundServerState::NotAvailable; }));
    CVolumeOutWave speaker(server);
    CVolumeInXXX microphone(server);
    for (IVolume* control : {static_cast<IVolume*>(&speaker), static_cast<IVolume*>(&microphone)}) {
        EXPECT_FALSE(control->IsAvailable());
        EXPECT_EQ(control->GetVolume(), -1);
        EXPECT_EQ(control->GetMaximum(), -1);
        control->SetVolume(1000);
        control->EnableLine();
        EXPECT_EQ(control->GetVolume(), -1);
    }
}

TEST_F(NoSoundServer, TheVoiceTestRunsWithoutSoundAndSaysWhy)
{
    const auto begin = std::chrono::steady_clock::now();
    CVolumeOutWave speaker(server);
    CVolumeInXXX microphone(server);
    VoiceTestThreads threads(server.devices(), temp_ / "sound.wav");
    VoiceTestModel model(threads, speaker, microphone);
    std::vector<SoundProblem> shown;
    QObject::connect(&model, &VoiceTestModel::problem,
                     [&](const SoundProblem& p) { shown.push_back(p); });

    model.pressRecord();
    model.tickRecordClock();
    model.pressRecord();
    ASSERT_TRUE(threads.capture().waitUntilIdle(5s));
    EXPECT_FALSE(std::filesystem::exists(temp_ / "sound.wav"));  // nothing captured

    // A recording of silence, so that play has something to open.
    platform::WavWriter writer;
    ASSERT_TRUE(writer.open(temp_ / "sound.wav", platform::pcmFormat(8000, 1, 16), {true, {}}));
    writer.append(std::vector<char>(8000, 0));
    writer.close();
    model.pressPlay();
    ASSERT_TRUE(eventually([&] { return !shown.empty(); }));
    EXPECT_EQ(shown[0].kind, SoundProblemKind::OutputNotOpened);
    EXPECT_FALSE(shown[0].error.text.empty());
    model.pressPlay();
    ASSERT_TRUE(threads.filePlayer().waitUntilIdle(5s));
    EXPECT_LT(std::chrono::steady_clock::now() - begin, 3s);
}

// The choice survives a restart through its record file, which the record
// tool can read.
TEST_F(NoSoundServer, ChoicesAreKeptInTheirRecordFile)
{
    const AudioChoices choice = chosen("usb-mic", "usb-out", "");
    {
        AudioDeviceChoice devices(server);
        EXPECT_EQ(devices.choices(), AudioChoices{});
        devices.setChoices(choice);
        // Until the server says otherwise, the chosen devices are used.
        EXPECT_EQ(devices.route(AudioRole::Output), (AudioRoute{"usb-out", RouteStatus::Chosen}));
    }
    AudioDeviceChoice restarted(server);
    EXPECT_EQ(restarted.choices(), AudioChoices{}) << "read on load(), not before";
    restarted.load();
    EXPECT_EQ(restarted.choices(), choice);

    QProcess tool;
    tool.start(QString::fromStdString((binDir() / "orvanta-records").string()),
               {"show", QString::fromStdString(recordPath(kAudioDeviceRecordKind).string())});
    ASSERT_TRUE(tool.waitForFinished(10000));
    EXPECT_EQ(tool.exitCode(), 0);
    const QJsonArray fields =
        QJsonDocument::fromJson(tool.readAllStandardOutput()).object().value("fields").toArray();
    ASSERT_EQ(fields.size(), 6);
    EXPECT_EQ(fields[2].toObject().value("value").toString(), "usb-out");
}

TEST_F(NoSoundServer, UnusableNamesInTheFileMeanTheSystemDefault)
{
    AudioDeviceRecord record;
    record.inputDevice = QString(AudioDeviceChoice::kMaxNameLength + 1, 'x');
    record.outputDevice = "usb-out";
    record.outputDescription = QString(AudioDeviceChoice::kMaxNameLength + 1, 'y');
    record.ringerDevice = "ring";
    ASSERT_TRUE(saveRecordFile(kAudioDeviceRecordKind, record));
    AudioDeviceChoice devices(server);
    devices.load();
    EXPECT_EQ(devices.choices()[AudioRole::Input], ChosenDevice{});
    EXPECT_EQ(devices.choices()[AudioRole::Output], ChosenDevice{});
    EXPECT_EQ(devices.choices()[AudioRole::Ringer], (ChosenDevice{"ring", ""}));
}

TEST_F(NoSoundServer, AudioPageAppliesOnlyWhatTheUserConfirms)
{
    enum class Act { Show, Pick, Apply, Ok, Cancel, Hide };
    const struct {
        const char* name;
        std::vector<Act> acts;
        bool applyEnabled;
        bool committed;                    // the pick reached the choice
        std::optional<bool> finishedWith;  // Ok: true, Cancel: false
    } cases[] = {
        {"shown", {Act::Show}, false, false, std::nullopt},
        {"a pick enables Apply", {Act::Show, Act::Pick}, true, false, std::nullopt},
        {"Apply keeps the pick", {Act::Show, Act::Pick, Act::Apply}, false, true, std::nullopt},
        {"Ok keeps the pick and closes", {Act::Show, Act::Pick, Act::Ok}, false, true, true},
        {"Cancel drops the pick and closes",
         {Act::Show, Act::Pick, Act::Cancel},
         false,
         false,
         false},
        {"Cancel after Apply keeps what was applied",
         {Act::Show, Act::Pick, Act::Apply, Act::Cancel},
         false,
         true,
         false},
        {"showing again disables Apply",
         {Act::Show, Act::Pick, Act::Hide, Act::Show},
         false,
         false,
         std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AudioDeviceChoice devices(server);
        devices.setChoices(chosen("", "usb-out", ""));
        AudioPageModel page(devices);
        std::optional<bool> finished;
        QObject::connect(&page, &AudioPageModel::finished, [&](bool ok) { finished = ok; });
        for (Act act : c.acts) {
            switch (act) {
            case Act::Show:
                page.shown();
                break;
            case Act::Hide:
                page.hidden();
                break;
            case Act::Pick:
                // No server: the list is the system default and the missing choice.
                ASSERT_EQ(page.entries(AudioRole::Output).size(), 2u);
                EXPECT_EQ(page.selectedIndex(AudioRole::Output), 1);
                page.select(AudioRole::Output, 0);
                break;
            case Act::Apply:
                page.apply();
                break;
            case Act::Ok:
                page.ok();
                break;
            case Act::Cancel:
                page.cancel();
                break;
            }
        }
        EXPECT_EQ(page.applyEnabled(), c.applyEnabled);
        EXPECT_EQ(devices.choices()[AudioRole::Output].name.empty(), c.committed);
        EXPECT_EQ(finished, c.finishedWith);
    }
}

}
}
