#pragma once

#include "platform/AutostartEntry.h"
#include "settings/DialerSettings.h"

#include <QString>
#include <functional>
#include <vector>

namespace orvanta {

enum class CallLogKind : char { Dialed = 'D', Received = 'R', Missed = 'M' };

// The call log's trim to the number-of-calls limit.
class CallLogAdjuster {
public:
    virtual ~CallLogAdjuster() = default;
    // Cuts the list of that kind to the current number of calls.
    virtual void adjustCallLog(CallLogKind kind) = 0;
};

// The adjust on the dialer's call log store, whose AddCallLogEntry takes the
// number "adjust" for "cut this list to the limit". Made without a store
// it has nothing to cut.
class CallLogTrimmer : public CallLogAdjuster {
public:
    CallLogTrimmer() = default;
    template <typename CallLogStore>
    explicit CallLogTrimmer(CallLogStore& store)
            : trim_([&store](char kind) {
                  store.AddCallLogEntry(QStringLiteral("adjust"), QString(), kind);
              })
    {
    }

    void adjustCallLog(CallLogKind kind) override
    {
        if (trim_) {
            trim_(static_cast<char>(kind));
        }
    }

private:
    std::function<void(char kind)> trim_;
};

enum class NumberOfCallsMessage { Blank, NotNumeric, NotAboveZero, NotBelowThousand };

// What is wrong with a number-of-calls text, in the order the messages
// appear; empty when it is a number from 1 to 999.
std::vector<NumberOfCallsMessage> checkNumberOfCalls(const QString& text);

// Start-up: the application file's options take effect (topmost, confirm on
// close, the autostart entry when asked for, the two texts); then an empty
// number of calls becomes "10" and an empty recording folder the default
// one.
void applyApplicationFileAtStartup(DialerSettings& settings,
                                   const platform::AutostartEntry& autostart);

// The general page's editing copy.
struct GeneralPageMembers {
    bool alwaysOnTop = false;
    bool confirmOnClose = false;  // stored, but its box is hidden
    bool launchAtStart = false;
    QString numberOfCalls;
    QString recordingFolder;
};

// The general page: edits the options, applies them to the live settings
// and stores them in the application file.
class GeneralPageModel {
public:
    struct ApplyOutcome {
        std::vector<NumberOfCallsMessage> messages;
        bool saved = false;  // the file and the live texts were updated
    };

    GeneralPageModel(DialerSettings& settings, const platform::AutostartEntry& autostart,
                     CallLogAdjuster& callLog)
            : settings_(settings), autostart_(autostart), callLog_(callLog)
    {
    }

    // The options from the application file, the two texts from the live
    // settings.
    void load();

    GeneralPageMembers& members() { return members_; }
    const GeneralPageMembers& members() const { return members_; }
    bool applyEnabled() const { return applyEnabled_; }

    void onShownOrHidden() { applyEnabled_ = false; }
    // A click on a box or an edit of a text.
    void markChanged() { applyEnabled_ = true; }

    // "Apply": the options take effect at once, even when the number of calls
    // is refused; only a valid number of calls is saved.
    ApplyOutcome ApplyGeneralSettings();

private:
    DialerSettings& settings_;
    const platform::AutostartEntry& autostart_;
    CallLogAdjuster& callLog_;
    GeneralPageMembers members_;
    bool applyEnabled_ = false;
};

}
