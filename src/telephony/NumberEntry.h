#pragma once

#include "telephony/CallContext.h"
#include "telephony/CallFeatures.h"
#include "telephony/CallStateMachine.h"
#include "telephony/LineSelector.h"

namespace orvanta {

// A key press as the window sees it, free of any widget toolkit.
struct KeyPress {
    enum class Kind { Character, Backspace, Delete, Enter, Escape, Function, Tab, BackTab };
    Kind kind = Kind::Character;
    QChar character;   // Character only
    int function = 0;  // Function only: 1 for F1 ... 6 for F6

    static KeyPress of(QChar c) { return {Kind::Character, c, 0}; }
    static KeyPress of(Kind k) { return {k, QChar(), 0}; }
    static KeyPress functionKey(int n) { return {Kind::Function, QChar(), n}; }
};

enum class KeyResult {
    Handled,      // the window drops the key
    PassOn,       // the window handles the key as usual
    ConfirmQuit,  // the window asks whether to quit
};

// The entered number and what the dial pad, the keyboard and the call,
// Clear, Back and redial buttons do with it.
class NumberEntry {
public:
    static constexpr int kMaxDigits = 25;

    NumberEntry(CallContext& context, LineSelector& selector, CallStateMachine& calls,
                CallFeatures& features, MicrophoneProbe* microphone = nullptr);

    // Dial pad key '0'-'9', '*' or '#'.
    void pressDialKey(QChar key);
    KeyResult keyPress(const KeyPress& key);
    // The call button: answers, transfers, dials, or fills in the last number.
    void MakeCall();
    void Clear();
    void Back();
    void Redial();

    static bool isDialKey(QChar key);
    // "Dtmf-1.wav" ... "Dtmf-star.wav", "Dtmf-pound.wav"
    static QString toneFile(QChar key);
    // Characters that cannot appear in the user part of the target URI.
    static bool isValidNumber(const QString& number);

private:
    KeyResult keyPressSignedIn(const KeyPress& key);
    bool acceptsDigits() const;
    void removeLastDigit();
    void sendDtmf(QChar key);

    CallContext& c_;
    LineSelector& selector_;
    CallStateMachine& calls_;
    CallFeatures& features_;
    MicrophoneProbe* microphone_;
};

}
