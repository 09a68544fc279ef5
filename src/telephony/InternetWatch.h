#pragma once

#include "telephony/CallContext.h"
#include "telephony/CallStateMachine.h"

namespace orvanta {

// What the periodic internet check does to the lines: a loss ends the
// selected line's call and says so; the return shows "Ready" once.
class InternetWatch {
public:
    InternetWatch(CallContext& context, CallStateMachine& calls) : c_(context), calls_(calls) {}

    void check(bool connected);

private:
    CallContext& c_;
    CallStateMachine& calls_;
};

}
