#include "CallFixture.h"

#include <QDir>
#include <QTemporaryDir>

namespace orvanta::test {
namespace {

using Journal = std::vector<std::string>;

class CallFeaturesTest : public CallFixture {};

TEST_F(CallFeaturesTest, HoldTogglesTheSelectedCall)
{
    phone.features().Hold();
    EXPECT_TRUE(journal().empty());
    EXPECT_FALSE(view.toggles[Toggle::Hold]);

    connectOutgoing(QStringLiteral("200"));
    journal().clear();
    phone.features().Hold();
    EXPECT_EQ(journal(), (Journal{"holdCall(7)"}));
    EXPECT_EQ(view.status, "On Hold...");
    EXPECT_TRUE(view.toggles[Toggle::Hold]);
    EXPECT_EQ(view.tooltips[0], "ON HOLD");
    phone.features().Hold();
    EXPECT_EQ(journal().back(), "retrieveCall(7)");
    EXPECT_EQ(view.status, "Connected...");
    EXPECT_FALSE(view.toggles[Toggle::Hold]);
    EXPECT_EQ(view.tooltips[0], "Line1");
}

TEST_F(CallFeaturesTest, BlindTransferShowsEachStepInTheBanner)
{
    struct Case {
        const char* name;
        std::function<void(CallRig&)> afterRequest;
        QStringList banners;
        bool stillConnected;
    };
    const Case cases[] = {
        {"target answers",
         [](CallRig& t) {
             t.events(9, {ORVANTA_CALL_CALLING, ORVANTA_CALL_ANSWERING});
             EXPECT_EQ(t.journal().back(), "releaseCall(7)");
             t.event(9, ORVANTA_CALL_CONNECTED);
             t.event(7, ORVANTA_CALL_DISCONNECTED);
         },
         {"Transfering...", "Transfer Succed...", "Enter Number + Press Call"},
         true},
        {"target fails",
         [](CallRig& t) {
             t.events(9, {ORVANTA_CALL_CALLING, ORVANTA_CALL_DISCONNECTED});
         },
         {"Transfering...", "Transfer Failed...", "Enter Number + Press Call"},
         true},
        {"our call ends before the target answers",
         [](CallRig& t) {
             t.events(9, {ORVANTA_CALL_CALLING, ORVANTA_CALL_ANSWERING});
             t.event(7, ORVANTA_CALL_DISCONNECTED);
             EXPECT_EQ(t.line(0).callId, 9);
             t.events(9, {ORVANTA_CALL_CONNECTED, ORVANTA_CALL_DISCONNECTED});
         },
         {"Transfering...", "Transfering...", "", "Call Transfered"},
         false},
        {"call ends before any leg",
         [](CallRig& t) { t.event(7, ORVANTA_CALL_DISCONNECTED); },
         {"", "Call Transfered"},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CallRig rig;
        rig.connectOutgoing(QStringLiteral("200"));
        rig.phone.features().ToggleTransfer();
        EXPECT_EQ(rig.view.banner, "Enter Number + Press Call");
        EXPECT_EQ(rig.view.number, "");
        EXPECT_TRUE(rig.view.toggles[Toggle::Transfer]);
        rig.setNextCallIdAfterTransfer();
        rig.type(QStringLiteral("2000"));
        rig.journal().clear();
        rig.phone.entry().MakeCall();
        EXPECT_EQ(rig.journal(), (Journal{"xferCall(7,\"sip:2000@sip.example\")"}));
        EXPECT_EQ(rig.view.banner, "Transferring...");
        EXPECT_FALSE(rig.state().transferMode);

        rig.view.bannerHistory.clear();
        c.afterRequest(rig);
        EXPECT_EQ(rig.view.bannerHistory, c.banners);
        EXPECT_EQ(rig.line(0).connected(), c.stillConnected);
    }
}

TEST_F(CallFeaturesTest, CancellingTransferModeShowsTheConnectedNumberAgain)
{
    connectOutgoing(QStringLiteral("200"));
    phone.features().ToggleTransfer();
    type(QStringLiteral("555"));
    EXPECT_EQ(view.number, "555");
    phone.features().ToggleTransfer();
    EXPECT_FALSE(state().transferMode);
    EXPECT_EQ(view.number, "200");
    EXPECT_EQ(state().number, "200");
    journal().clear();
    phone.entry().MakeCall();
    EXPECT_TRUE(journal().empty()) << "no transfer to the digits typed before cancelling";
}

TEST_F(CallFeaturesTest, ConferenceOfLinesOneAndThreeAndItsEnd)
{
    connectOutgoing(QStringLiteral("200"));
    phone.lines().SelectLine(2);
    connectOutgoing(QStringLiteral("300"));
    journal().clear();

    phone.features().Conference();
    EXPECT_EQ(view.status, "Conference Line (1:3)");
    EXPECT_EQ(journal(), (Journal{"retrieveCall(7)", "retrieveCall(8)", "callConference(8)"}));
    EXPECT_TRUE(state().conferenceActive);
    EXPECT_FALSE(view.timerVisible);
    EXPECT_TRUE(view.toggles[Toggle::Conference]);
    EXPECT_EQ(view.tooltips[0], "On Conference");
    EXPECT_EQ(view.tooltips[2], "On Conference");

    // Line 3, the selected member, hangs up: line 1 is left alone.
    event(8, ORVANTA_CALL_DISCONNECTED);
    EXPECT_EQ(state().conferenceText, "Conference Line (1)");
    EXPECT_EQ(state().currentLine, 0);
    EXPECT_FALSE(state().conferenceActive);
    EXPECT_FALSE(line(0).inConference);
    EXPECT_FALSE(view.toggles[Toggle::Conference]);
    EXPECT_EQ(view.status, "Connected...");
    EXPECT_EQ(view.tooltips[0], "Line1");
    EXPECT_EQ(view.tooltips[2], "Line3");
    EXPECT_EQ(log.entries.size(), 1u);
}

TEST_F(CallFeaturesTest, MemberRemovalEditsTheConferenceText)
{
    const struct {
        int line;
        const char* text;
    } cases[] = {
        {0, "Conference Line (2:3)"}, {1, "Conference Line (1:3)"}, {2, "Conference Line (1:2)"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        CallRig rig;
        for (int n = 0; n < 3; ++n) {
            rig.phone.lines().SelectLine(n);
            rig.connectOutgoing(QString::number(100 + n));
        }
        rig.phone.features().Conference();
        EXPECT_EQ(rig.view.status, "Conference Line (1:2:3)");
        rig.phone.lines().SelectLine(c.line);
        rig.event(7 + c.line, ORVANTA_CALL_DISCONNECTED);
        EXPECT_EQ(rig.state().conferenceText, c.text);
        EXPECT_TRUE(rig.state().conferenceActive);
        EXPECT_EQ(rig.view.status, c.text);
        EXPECT_FALSE(rig.line(c.line).inConference);
    }
}

TEST_F(CallFeaturesTest, PressingConferenceAgainEndsItAndHoldsTheOthers)
{
    connectOutgoing(QStringLiteral("200"));
    phone.lines().SelectLine(1);
    connectOutgoing(QStringLiteral("300"));
    phone.features().Conference();
    EXPECT_EQ(view.status, "Conference Line (1:2)");
    journal().clear();
    phone.features().Conference();
    EXPECT_EQ(journal(), (Journal{"holdCall(7)"}));
    EXPECT_FALSE(state().conferenceActive);
    EXPECT_EQ(view.status, "Connected...");
    EXPECT_EQ(view.tooltips[0], "ON HOLD");
    EXPECT_TRUE(view.timerVisible);

    // Hanging up during a conference releases every member.
    phone.features().Conference();
    journal().clear();
    phone.calls().EndCall();
    EXPECT_EQ(journal(), (Journal{"releaseCall(7)", "releaseCall(8)"}));
}

TEST_F(CallFeaturesTest, ConferenceNeedsTwoConnectedLines)
{
    connectOutgoing(QStringLiteral("200"));
    journal().clear();
    phone.features().Conference();
    EXPECT_TRUE(journal().empty());
    EXPECT_FALSE(state().conferenceActive);
    EXPECT_FALSE(view.toggles[Toggle::Conference]);
}

TEST_F(CallFeaturesTest, RecordingFileNameUsesATwelveHourClock)
{
    const struct {
        QTime time;
        const char* name;
    } cases[] = {
        {QTime(9, 30, 5), "SoftphoneRecording_06122026_093005_AM_.wav"},
        {QTime(12, 30, 5), "SoftphoneRecording_06122026_003005_AM_.wav"},
        {QTime(13, 15, 30), "SoftphoneRecording_06122026_011530_PM.wav"},
        {QTime(0, 0, 1), "SoftphoneRecording_06122026_000001_AM_.wav"},
        {QTime(23, 59, 59), "SoftphoneRecording_06122026_115959_PM.wav"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(recordingFileName(QDateTime(QDate(2026, 12, 6), c.time)), c.name);
    }
}

TEST_F(CallFeaturesTest, RecordingStartsInTheFolderAndStopsWithTheLastCall)
{
    now = QDateTime(QDate(2026, 12, 6), QTime(12, 30, 5));
    phone.features().setRecordingFolder(QStringLiteral("/rec"));
    connectOutgoing(QStringLiteral("200"));
    journal().clear();
    phone.features().Record();
    EXPECT_EQ(
        journal(),
        (Journal{"callRecordingStart(7,\"/rec/SoftphoneRecording_06122026_003005_AM_.wav\")"}));
    EXPECT_TRUE(view.toggles[Toggle::Record]);
    event(7, ORVANTA_CALL_DISCONNECTED);
    EXPECT_EQ(journal().back(), "callRecordingStop()");
    EXPECT_FALSE(view.toggles[Toggle::Record]);
    EXPECT_FALSE(state().recording);

    // Without a folder the recording goes to the default folder, here the
    // data folder's (this home has no music folder), never the working one.
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("ORVANTA_DATA_DIR", home.filePath(QStringLiteral("data")).toLocal8Bit());
    phone.features().setRecordingFolder({});
    connectOutgoing(QStringLiteral("300"));
    phone.features().Record();
    const std::string expected = "callRecordingStart(8,\"" + home.path().toStdString() + "/data" +
                                 "/recordings/SoftphoneRecording_06122026_003005_AM_.wav\")";
    EXPECT_EQ(journal().back(), expected);
    phone.features().Record();
    EXPECT_EQ(journal().back(), "callRecordingStop()");
}

}
}
