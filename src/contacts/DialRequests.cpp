#include "contacts/DialRequests.h"

namespace orvanta {

bool requestCallFromView(DialRequests& dialer, const QString& number, const QString& contactName,
                         const std::function<void(ViewNotice)>& notify)
{
    struct PlacingScope {
        DialRequests& dialer;
        explicit PlacingScope(DialRequests& d) : dialer(d) { dialer.setPlacingCallFromView(true); }
        ~PlacingScope() { dialer.setPlacingCallFromView(false); }
    } placing(dialer);

    if (dialer.selectedLineInUse()) {
        notify(ViewNotice::MultipleCallsNotAllowed);
        return false;
    }
    if (!dialer.callsAllowed()) {
        notify(ViewNotice::NotRegistered);
        return false;
    }
    if (number.isEmpty()) {
        return false;
    }
    dialer.dial(number, contactName);
    return true;
}

}
