#include "telephony/InternetWatch.h"

namespace orvanta {

void InternetWatch::check(bool connected)
{
    PhoneState& s = c_.state;
    if (connected) {
        s.internetAvailable = true;
        c_.view.setCallButtonEnabled(true);
        if (s.internetFailureSeen) {
            c_.view.setHangUpEnabled(true);
            if (!s.readyShown) {
                c_.view.setStatusLine(texts::readyPrefix + s.userName);
                s.internetLost = false;
                c_.view.setInternetText({});
                s.readyShown = true;
            }
        }
        return;
    }

    s.internetAvailable = false;
    if (s.selected().inUse()) {
        calls_.EndCall();
    }
    s.internetLost = true;
    c_.view.setInternetText(texts::noInternet);
    c_.view.setStatusLine({});
    c_.view.setCallTimerText({});
    c_.view.setHangUpEnabled(true);
    s.internetFailureSeen = true;
    // The engine may never report the end without a network: free the line now.
    LineState& l = s.selected();
    l.phase = LinePhase::Idle;
    l.origin = CallOrigin::None;
    s.readyShown = false;
}

}
