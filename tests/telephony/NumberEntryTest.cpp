#include "CallFixture.h"

namespace orvanta::test {
namespace {

using Journal = std::vector<std::string>;
using Kind = KeyPress::Kind;

class NumberEntryTest : public CallFixture {};

TEST_F(NumberEntryTest, TwentySixthDigitIsRefusedAndBackspaceStillWorks)
{
    const QString limit = QStringLiteral("You can enter upto 25 digits");
    const QString digits = QStringLiteral("1234567890123456789012345");
    const struct {
        const char* name;
        std::function<void(CallRig&, QChar)> press;
    } inputs[] = {
        {"dial pad", [](CallRig& t, QChar c) { t.phone.entry().pressDialKey(c); }},
        {"keyboard", [](CallRig& t, QChar c) { t.phone.entry().keyPress(KeyPress::of(c)); }},
    };
    for (const auto& input : inputs) {
        SCOPED_TRACE(input.name);
        CallRig rig;
        for (QChar c : digits) {
            input.press(rig, c);
        }
        EXPECT_TRUE(rig.view.messages.isEmpty());
        input.press(rig, QLatin1Char('6'));
        EXPECT_EQ(rig.view.messages, QStringList{limit});
        EXPECT_EQ(rig.view.number, digits);
        EXPECT_GE(rig.view.dialPanelShown, 1);

        rig.phone.entry().keyPress(KeyPress::of(Kind::Backspace));
        EXPECT_EQ(rig.view.number, digits.chopped(1));
        input.press(rig, QLatin1Char('6'));
        EXPECT_EQ(rig.view.number, digits.chopped(1) + QLatin1Char('6'));
        EXPECT_EQ(rig.view.messages.size(), 1);
    }
}

TEST_F(NumberEntryTest, KeysPlayTheirToneFiles)
{
    const QString keys = QStringLiteral("0123456789*#");
    for (QChar c : keys) {
        phone.entry().pressDialKey(c);
    }
    EXPECT_EQ(sounds.events,
              (QStringList{"Dtmf-0.wav", "Dtmf-1.wav", "Dtmf-2.wav", "Dtmf-3.wav", "Dtmf-4.wav",
                           "Dtmf-5.wav", "Dtmf-6.wav", "Dtmf-7.wav", "Dtmf-8.wav", "Dtmf-9.wav",
                           "Dtmf-star.wav", "Dtmf-pound.wav"}));
    EXPECT_EQ(view.number, keys);
    EXPECT_EQ(view.callTooltip, "Dial");
    EXPECT_TRUE(view.hangUpEnabled);
}

TEST_F(NumberEntryTest, DigitsDuringACallGoOutAsDtmfAndNotIntoTheNumber)
{
    connectOutgoing(QStringLiteral("200"));
    journal().clear();
    sounds.events.clear();
    type(QStringLiteral("1#"));
    phone.entry().pressDialKey(QLatin1Char('*'));
    EXPECT_EQ(journal(),
              (Journal{"dialDtmf(7,\"1\",1)", "dialDtmf(7,\"#\",1)", "dialDtmf(7,\"*\",1)"}));
    EXPECT_EQ(sounds.events, (QStringList{"Dtmf-1.wav", "Dtmf-pound.wav", "Dtmf-star.wav"}));
    EXPECT_EQ(view.number, "200");

    // In transfer mode the digits make up the transfer target as well.
    phone.features().ToggleTransfer();
    type(QStringLiteral("30"));
    EXPECT_EQ(view.number, "30");
    EXPECT_EQ(journal().size(), 5u);
}

TEST_F(NumberEntryTest, KeysStaySilentWhileTheFarEndRings)
{
    type(QStringLiteral("200"));
    phone.entry().MakeCall();
    events(7, {ORVANTA_CALL_CALLING, ORVANTA_CALL_RINGING});
    journal().clear();
    sounds.events.clear();
    type(QStringLiteral("5"));
    EXPECT_TRUE(journal().empty());
    EXPECT_TRUE(sounds.events.isEmpty());
    EXPECT_EQ(view.number, "200");
}

TEST_F(NumberEntryTest, CallWithoutNumberFillsInTheLastNumberOfLineOne)
{
    phone.entry().MakeCall();
    EXPECT_EQ(view.messages, QStringList{"Please Enter Phone Number"});
    EXPECT_TRUE(journal().empty());

    connectOutgoing(QStringLiteral("5551234"));
    event(7, ORVANTA_CALL_DISCONNECTED);
    journal().clear();
    view.callTooltipHistory.clear();
    phone.entry().MakeCall();
    EXPECT_EQ(view.number, "5551234");
    EXPECT_EQ(view.callTooltipHistory, (QStringList{"ReDial", "Dial"}));
    EXPECT_TRUE(journal().empty());

    phone.entry().MakeCall();
    EXPECT_EQ(journal(), (Journal{"makeCall(11,\"sip:5551234@sip.example\")"}));
}

TEST_F(NumberEntryTest, NumbersWithUriCharactersAreRefused)
{
    for (const char* number : {"12.3", "a@b", "1 2", "1:2", "<1>", "1,2", "1^2", "1\\2"}) {
        SCOPED_TRACE(number);
        CallRig rig;
        rig.phone.state().number = QString::fromLatin1(number);
        rig.phone.entry().MakeCall();
        EXPECT_EQ(rig.view.messages, QStringList{"Please enter a valid Phone Number"});
        EXPECT_TRUE(rig.journal().empty());
    }
    EXPECT_TRUE(NumberEntry::isValidNumber(QStringLiteral("+44*123#")));
}

TEST_F(NumberEntryTest, AnOpenMessageBoxSwallowsFurtherMessages)
{
    type(QStringLiteral("1234567890123456789012345"));
    view.whileMessageOpen = [this] {
        phone.entry().pressDialKey(QLatin1Char('1'));
        phone.entry().keyPress(KeyPress::of(QLatin1Char('2')));
        EXPECT_EQ(phone.checkQuit(), CallController::QuitCheck::Ignore);
    };
    phone.entry().pressDialKey(QLatin1Char('1'));
    EXPECT_EQ(view.messages.size(), 1);
    view.whileMessageOpen = nullptr;
    phone.entry().pressDialKey(QLatin1Char('1'));
    EXPECT_EQ(view.messages.size(), 2);
}

TEST_F(NumberEntryTest, KeyboardCommands)
{
    EXPECT_EQ(phone.entry().keyPress(KeyPress::of(Kind::Escape)), KeyResult::Handled);
    EXPECT_EQ(phone.entry().keyPress(KeyPress::functionKey(3)), KeyResult::Handled);
    EXPECT_EQ(view.marked, 2);
    EXPECT_EQ(state().currentLine, 0);  // F keys move only the mark
    EXPECT_EQ(phone.entry().keyPress(KeyPress::of(QLatin1Char('x'))), KeyResult::PassOn);
    EXPECT_EQ(phone.entry().keyPress(KeyPress::of(QLatin1Char(' '))), KeyResult::Handled);
    EXPECT_EQ(view.number, "");

    type(QStringLiteral("42"));
    EXPECT_EQ(phone.entry().keyPress(KeyPress::of(Kind::Enter)), KeyResult::Handled);
    EXPECT_EQ(journal(), (Journal{"makeCall(11,\"sip:42@sip.example\")"}));
    event(7, ORVANTA_CALL_CALLING);
    phone.entry().keyPress(KeyPress::of(Kind::Enter));
    EXPECT_EQ(journal().back(), "releaseCall(7)");
}

TEST_F(NumberEntryTest, KeysBeforeSignInBelongToTheSignInFields)
{
    phone.calls().ResetLines();
    EXPECT_EQ(phone.entry().keyPress(KeyPress::of(Kind::Escape)), KeyResult::ConfirmQuit);
    EXPECT_EQ(phone.entry().keyPress(KeyPress::functionKey(4)), KeyResult::ConfirmQuit);
    EXPECT_EQ(phone.entry().keyPress(KeyPress::of(Kind::Enter)), KeyResult::Handled);
    EXPECT_EQ(phone.entry().keyPress(KeyPress::of(Kind::Tab)), KeyResult::PassOn);
    EXPECT_EQ(phone.entry().keyPress(KeyPress::of(QLatin1Char('7'))), KeyResult::PassOn);
    EXPECT_EQ(phone.entry().keyPress(KeyPress::of(Kind::BackTab)), KeyResult::Handled);
    EXPECT_EQ(view.messages, QStringList{"Shif+Tab is not working on this registration page"});
    phone.entry().pressDialKey(QLatin1Char('7'));
    EXPECT_EQ(view.number, "");
    EXPECT_TRUE(journal().empty());
}

TEST_F(NumberEntryTest, ClearBackAndRedial)
{
    type(QStringLiteral("123"));
    view.rate = QStringLiteral("0.02");
    phone.entry().Back();
    EXPECT_EQ(view.number, "12");
    EXPECT_EQ(view.rate, "");
    EXPECT_EQ(view.callTooltip, "Dial");
    phone.entry().Clear();
    EXPECT_EQ(view.number, "");
    phone.entry().Back();
    EXPECT_EQ(view.callTooltip, "ReDial");

    connectOutgoing(QStringLiteral("77"));
    phone.entry().Clear();
    EXPECT_EQ(view.number, "77");  // a busy line keeps its number
    event(7, ORVANTA_CALL_DISCONNECTED);
    journal().clear();
    phone.lines().SelectLine(0);
    phone.entry().Redial();
    EXPECT_EQ(journal(), (Journal{"makeCall(11,\"sip:77@sip.example\")"}));
}

}
}
