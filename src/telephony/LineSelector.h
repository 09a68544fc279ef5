#pragma once

#include "telephony/CallContext.h"

#include <functional>

namespace orvanta {

// The line buttons: which line is selected, how each button looks, and
// which calls are held so that only the selected line talks.
class LineSelector {
public:
    explicit LineSelector(CallContext& context) : c_(context) {}

    // What the call button does; runs when auto answer meets an incoming call.
    void setCallButtonAction(std::function<void()> action) { callButton_ = std::move(action); }
    void pressCallButton();

    // Line button n (0-5).
    void SelectLine(int n);
    // Face and tooltip of line n's button.
    void ShowLine(int n);
    // Moves only the selection mark (F1-F6); the selected line stays.
    void markLine(int n);

    void holdLine(int n);
    void retrieveLine(int n);
    // Shows the line's number, or clears it when the line has none.
    void showLineNumber(int n);

private:
    void selectConferenceMember(int n);
    void selectHiddenLine(int n);
    void redrawIncomingLines(int first);

    CallContext& c_;
    std::function<void()> callButton_;
};

}
