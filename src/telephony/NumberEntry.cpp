#include "telephony/NumberEntry.h"

#include "telephony/EngineSetup.h"

namespace orvanta {

NumberEntry::NumberEntry(CallContext& context, LineSelector& selector, CallStateMachine& calls,
                         CallFeatures& features, MicrophoneProbe* microphone)
        : c_(context), selector_(selector), calls_(calls), features_(features),
          microphone_(microphone)
{
}

bool NumberEntry::isDialKey(QChar key)
{
    return (key >= QLatin1Char('0') && key <= QLatin1Char('9')) || key == QLatin1Char('*') ||
           key == QLatin1Char('#');
}

QString NumberEntry::toneFile(QChar key)
{
    if (key == QLatin1Char('*')) {
        return QStringLiteral("Dtmf-star.wav");
    }
    if (key == QLatin1Char('#')) {
        return QStringLiteral("Dtmf-pound.wav");
    }
    return QStringLiteral("Dtmf-") + key + QStringLiteral(".wav");
}

bool NumberEntry::isValidNumber(const QString& number)
{
    static const QString forbidden = QStringLiteral("\\><\":[]{}|,` @.^");
    for (QChar c : number) {
        if (forbidden.contains(c)) {
            return false;
        }
    }
    return true;
}

// A busy line keeps its number; in transfer mode the target is typed instead.
bool NumberEntry::acceptsDigits() const
{
    return !c_.state.selected().busy() || c_.state.transferMode;
}

void NumberEntry::removeLastDigit()
{
    const qsizetype before = c_.state.number.size();
    c_.setNumber(c_.state.number.chopped(before > 0 ? 1 : 0));
    if (before >= 2 && before <= 4) {
        c_.view.setRateText({});
    }
}

void NumberEntry::sendDtmf(QChar key)
{
    const QByteArray digit = QString(key).toLatin1();
    c_.engine.dialDtmf(c_.state.selected().callId, digit.constData(), 1);
}

void NumberEntry::pressDialKey(QChar key)
{
    if (!isDialKey(key)) {
        return;
    }
    c_.view.setCallTooltip(texts::dial);
    if (!c_.state.callsAllowed) {
        return;
    }
    const LineState& l = c_.state.selected();
    if (l.connected()) {
        sendDtmf(key);
    }
    c_.view.setHangUpEnabled(true);
    if (!acceptsDigits()) {
        c_.sounds.playTone(toneFile(key));
        return;
    }
    if (c_.state.number.size() >= kMaxDigits) {
        c_.view.showDialPanel();
        c_.showGuardedMessage(texts::digitLimit);
        return;
    }
    c_.setNumber(c_.state.number + key);
    c_.sounds.playTone(toneFile(key));
    if (c_.state.markedLine < 0) {
        selector_.markLine(0);
    }
}

KeyResult NumberEntry::keyPress(const KeyPress& key)
{
    using Kind = KeyPress::Kind;
    if (c_.state.callsAllowed) {
        return keyPressSignedIn(key);
    }
    // The window's own sign-in fields have the keyboard.
    switch (key.kind) {
    case Kind::Escape:
        return KeyResult::ConfirmQuit;
    case Kind::Function:
        return key.function == 4 ? KeyResult::ConfirmQuit : KeyResult::PassOn;
    case Kind::BackTab:
        c_.showGuardedMessage(texts::shiftTabRefused);
        return KeyResult::Handled;
    case Kind::Enter:
        return KeyResult::Handled;
    default:
        return KeyResult::PassOn;
    }
}

KeyResult NumberEntry::keyPressSignedIn(const KeyPress& key)
{
    using Kind = KeyPress::Kind;
    const LineState& l = c_.state.selected();
    switch (key.kind) {
    case Kind::Escape:
        return KeyResult::Handled;
    case Kind::Function:
        if (key.function >= 1 && key.function <= PhoneState::kLineCount) {
            selector_.markLine(key.function - 1);
            return KeyResult::Handled;
        }
        return KeyResult::PassOn;
    case Kind::Enter:
        if (!l.engaged()) {
            MakeCall();
        } else if (!c_.state.hangUpPressed) {
            calls_.EndCall();
        }
        return KeyResult::Handled;
    case Kind::Backspace:
        if (acceptsDigits()) {
            removeLastDigit();
        }
        return KeyResult::Handled;
    case Kind::Character:
        break;
    default:
        return KeyResult::PassOn;
    }

    const QChar c = key.character;
    if (c_.state.number.size() >= kMaxDigits) {
        c_.view.showDialPanel();
        c_.showGuardedMessage(texts::digitLimit);
        return KeyResult::Handled;
    }
    if (c == QLatin1Char(' ')) {
        return KeyResult::Handled;
    }
    if (!isDialKey(c)) {
        return KeyResult::PassOn;
    }
    if (acceptsDigits()) {
        c_.setNumber(c_.state.number + c);
    }
    // While the far end rings, keys stay silent.
    if (l.phase != LinePhase::Ringing) {
        if (l.connected()) {
            sendDtmf(c);
        }
        c_.sounds.playTone(toneFile(c));
        c_.view.setHangUpEnabled(true);
    }
    return KeyResult::Handled;
}

void NumberEntry::MakeCall()
{
    if (microphone_ && !microphone_->microphoneAvailable()) {
        c_.showGuardedMessage(texts::noMicrophone);
    }
    c_.view.setHangUpEnabled(true);
    if (!c_.state.callsAllowed) {
        c_.showGuardedMessage(texts::notRegistered);
        return;
    }
    LineState& l = c_.state.selected();
    if (l.incoming() && !l.connected()) {
        c_.engine.answerCall(l.callId, 200);
        return;
    }
    if (c_.state.transferMode && !c_.state.number.isEmpty()) {
        features_.BlindTransfer(c_.state.number);
    }
    if (c_.state.number.isEmpty()) {
        if (c_.state.messageBoxOpen) {
            return;
        }
        c_.view.showDialPanel();
        const QString& last = c_.state.line(0).dialledNumber;
        if (last.isEmpty()) {
            c_.view.setCallTooltip(texts::dial);
            c_.showGuardedMessage(texts::enterNumber);
        } else {
            // Filled in, not dialled: the next press of call dials it.
            c_.view.setCallTooltip(texts::redial);
            c_.setNumber(last);
            c_.view.setCallTooltip(texts::dial);
        }
        return;
    }
    if (!isValidNumber(c_.state.number)) {
        c_.showGuardedMessage(texts::invalidNumber);
        return;
    }
    const QByteArray uri = sipUri(c_.state.number, c_.state.registrarHost);
    if (l.callId == -1) {
        c_.view.showDialPanel();
        l.callId = c_.engine.makeCall(c_.state.accountHandle, uri.constData());
        l.dialledNumber = c_.state.number;
    }
}

void NumberEntry::Clear()
{
    if (acceptsDigits()) {
        c_.setNumber({});
    }
}

void NumberEntry::Back()
{
    if (acceptsDigits()) {
        removeLastDigit();
    }
    c_.view.setCallTooltip(c_.state.number.isEmpty() ? texts::redial : texts::dial);
}

void NumberEntry::Redial()
{
    const LineState& l = c_.state.selected();
    if (!l.dialledNumber.isEmpty() && !l.outgoing()) {
        c_.setNumber(l.dialledNumber);
        MakeCall();
    }
}

}
