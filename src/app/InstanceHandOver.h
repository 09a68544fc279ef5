#pragma once

#include "app/LinkRequests.h"
#include "platform/InstanceChannel.h"

#include <QString>
#include <chrono>
#include <optional>

namespace orvanta {

// A second start's side: hands its request to the copy that holds the
// single-instance guard.
struct HandOverOutcome {
    enum class Result {
        NoRunningCopy,  // nobody holds the guard: this start is the first copy
        HandedOver,     // the running copy confirmed the request
        Failed,         // see error
    };
    Result result = Result::NoRunningCopy;
    QString error;
};

// Waits up to patience for a copy that holds the guard but has not opened
// its channel yet.
HandOverOutcome handToRunningCopy(const platform::InstanceRequest& request,
                                  std::chrono::milliseconds patience = std::chrono::seconds(5));

// For main(): the exit status when this start ends here (its request was
// handed over, or could not be), or -1 when it goes on as the first copy.
// Answer and hang-up need a running copy; failures go to standard error.
int handOverOrContinue(const std::optional<platform::InstanceRequest>& request);

// The first copy's side: the channel and the requests it takes.
class InstanceRequests {
public:
    explicit InstanceRequests(DialRequestTarget& target);

    // Once this copy holds the guard: opens the channel and takes the
    // start's own request. A channel that cannot open is reported on
    // standard error; the dialer runs on without it.
    void start(const std::optional<platform::InstanceRequest>& own);
    LinkRequests& requests() { return requests_; }

private:
    LinkRequests requests_;
    platform::InstanceChannelServer channel_;
};

}
