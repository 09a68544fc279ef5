#include "engine/EngineFixture.h"
#include "settings/CodecPage.h"
#include "settings/EngineCodecs.h"
#include "settings/SettingsFixture.h"
#include "settings/SettingsRecords.h"

#include <map>
#include <sstream>

namespace orvanta::test {
namespace {

// The codecs of an offer in the order of its media line ("PCMA/8000"),
// without telephone events. Static payload types carry no rtpmap line.
std::vector<std::string> offeredCodecs(const SippOfferCatcher::Offer& offer)
{
    std::map<std::string, std::string> names{{"0", "PCMU/8000"},
                                             {"3", "GSM/8000"},
                                             {"8", "PCMA/8000"},
                                             {"9", "G722/8000"},
                                             {"18", "G729/8000"}};
    for (const std::string& map : offer.rtpMaps) {
        const auto blank = map.find(' ');
        names[map.substr(0, blank)] = map.substr(blank + 1);
    }
    std::istringstream formats(offer.audioLine.substr(offer.audioLine.find("RTP/AVP") + 7));
    std::vector<std::string> codecs;
    for (std::string type; formats >> type;) {
        const std::string name = names.count(type) ? names[type] : "payload " + type;
        if (name.rfind("telephone-event", 0) != 0) {
            codecs.push_back(name);
        }
    }
    return codecs;
}

bool offers(const std::vector<std::string>& codecs, const std::string& name)
{
    return std::find(codecs.begin(), codecs.end(), name) != codecs.end();
}

// The real engine calls a sipp callee through Kamailio; the callee records
// the offer. Each case starts a fresh engine and hands it the codec file.
class CodecOffer : public EngineFixture {
public:
    static void SetUpTestSuite()
    {
        EngineFixture::SetUpTestSuite();
        try {
            proxy = new Kamailio(std::vector<test::SipAccount>{{"alice", "alicepw"}});
        } catch (const std::exception& error) {
            FAIL() << error.what();
        }
    }
    static void TearDownTestSuite()
    {
        delete proxy;
        proxy = nullptr;
    }

protected:
    void SetUp() override
    {
        if (!proxy)
            GTEST_FAIL() << "Kamailio did not start";
        setenv("ORVANTA_DATA_DIR", (data_ / "Orvanta").c_str(), 1);
        EngineFixture::SetUp();
    }

    // The codecs of a call placed after the codec file was handed over.
    std::vector<std::string> offerAfterApplying()
    {
        EngineCodecs codecs(engine());
        ApplyCodecPriorities(codecs);
        EXPECT_EQ(registerAt(proxy->hostPort(), "alice", "alicepw"), 200) << proxy->output();
        SippOfferCatcher callee;
        const int callId = api().makeCall(accountId_, ("sip:x@" + callee.hostPort()).c_str());
        const SippOfferCatcher::Offer offer = callee.waitForOffer(5s);
        EXPECT_TRUE(events().waitForCallState(callId, ORVANTA_CALL_DISCONNECTED, 5s));
        return offeredCodecs(offer);
    }

    void writeCodecFile(const QByteArray& bytes)
    {
        std::filesystem::create_directories(data_ / "Orvanta");
        QFile file(data_ / "Orvanta" / "codec_Orvanta.bin");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    TempDir data_;
    static Kamailio* proxy;
};

Kamailio* CodecOffer::proxy = nullptr;

TEST_F(CodecOffer, WithoutAFileG729LeadsAndG711IsOff)
{
    const std::vector<std::string> codecs = offerAfterApplying();
    ASSERT_FALSE(codecs.empty());
    EXPECT_EQ(codecs.front(), "G729/8000");
    // The rest is the engine's: codecs in neither list keep their state.
    EXPECT_FALSE(offers(codecs, "PCMU/8000"));
    EXPECT_FALSE(offers(codecs, "PCMA/8000"));
}

TEST_F(CodecOffer, EnabledCodecsLeadInTheFilesOrder)
{
    writeCodecFile(codecFileBytes({"PCMA/8000/1", "G729/8000/1"}, {}));
    const std::vector<std::string> codecs = offerAfterApplying();
    ASSERT_GE(codecs.size(), 2u);
    EXPECT_EQ(codecs[0], "PCMA/8000");
    EXPECT_EQ(codecs[1], "G729/8000");
    EXPECT_FALSE(offers(codecs, "PCMU/8000"));
}

TEST_F(CodecOffer, AFileSavedByThePageOffersExactlyTheEnabledCodecs)
{
    EngineCodecs codecs(engine());
    FakeRegistration notRegistered;
    CodecPageModel page(codecs, codecs, notRegistered);
    page.load();
    page.moveAllToDisabled();
    for (const char* wanted : {"G722/8000/1", "opus/48000/2"}) {
        const int index = static_cast<int>(page.disabled().indexOf(QLatin1String(wanted)));
        ASSERT_GE(index, 0) << wanted << " is not among the engine's codecs";
        page.moveToEnabled({index});
    }
    ASSERT_TRUE(page.SaveCodecLists());
    EXPECT_EQ(offerAfterApplying(), (std::vector<std::string>{"G722/8000", "opus/48000/2"}));
}

}
}
