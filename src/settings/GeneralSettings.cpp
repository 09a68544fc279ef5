#include "settings/GeneralSettings.h"

#include "platform/DataFolder.h"
#include "platform/UserFolders.h"
#include "records/RecordFile.h"
#include "settings/DecimalText.h"
#include "settings/SettingsRecords.h"

namespace orvanta {

namespace {

constexpr std::int32_t kMaxNumberOfCalls = 999;

}

std::vector<NumberOfCallsMessage> checkNumberOfCalls(const QString& text)
{
    if (text.isEmpty()) {
        return {NumberOfCallsMessage::Blank};
    }
    std::vector<NumberOfCallsMessage> messages;
    if (firstNonDigit(text)) {
        messages.push_back(NumberOfCallsMessage::NotNumeric);
    }
    const std::int32_t value = leadingDecimalValue(text);
    if (value == 0) {
        messages.push_back(NumberOfCallsMessage::NotAboveZero);
    } else if (value > kMaxNumberOfCalls) {
        messages.push_back(NumberOfCallsMessage::NotBelowThousand);
    }
    return messages;
}

void applyApplicationFileAtStartup(DialerSettings& settings,
                                   const platform::AutostartEntry& autostart)
{
    // Fields the file does not hold keep these defaults and so change nothing.
    ApplicationRecord record;
    loadRecordFile(kApplicationRecordKind, record);
    if (record.alwaysOnTop == 1) {
        settings.setAlwaysOnTop(true);
    }
    settings.setConfirmOnClose(record.confirmOnClose == 1);
    if (record.launchAtStart == 1) {
        autostart.enable();
    }
    settings.setNumberOfCalls(record.numberOfCalls.isEmpty() ? QStringLiteral("10")
                                                             : record.numberOfCalls);
    settings.setRecordingFolder(record.recordingFolder.isEmpty()
                                    ? platform::defaultRecordingFolder()
                                    : record.recordingFolder);
}

void GeneralPageModel::load()
{
    ApplicationRecord record;
    loadRecordFile(kApplicationRecordKind, record);
    members_.alwaysOnTop = record.alwaysOnTop == 1;
    members_.confirmOnClose = record.confirmOnClose == 1;
    members_.launchAtStart = record.launchAtStart == 1;
    members_.numberOfCalls = settings_.numberOfCalls();
    members_.recordingFolder = settings_.recordingFolder();
    applyEnabled_ = false;
}

GeneralPageModel::ApplyOutcome GeneralPageModel::ApplyGeneralSettings()
{
    settings_.setAlwaysOnTop(members_.alwaysOnTop);
    settings_.setConfirmOnClose(members_.confirmOnClose);
    if (members_.launchAtStart) {
        autostart_.enable();
    } else {
        autostart_.disable();
    }

    ApplyOutcome outcome;
    outcome.messages = checkNumberOfCalls(members_.numberOfCalls);
    if (!outcome.messages.empty()) {
        return outcome;
    }
    applyEnabled_ = false;
    if (!platform::prepareDataFolder()) {
        return outcome;
    }
    const ApplicationRecord record{members_.alwaysOnTop ? 1 : 0, members_.confirmOnClose ? 1 : 0,
                                   members_.launchAtStart ? 1 : 0, members_.numberOfCalls,
                                   members_.recordingFolder};
    saveRecordFile(kApplicationRecordKind, record);
    settings_.setNumberOfCalls(members_.numberOfCalls);
    settings_.setRecordingFolder(members_.recordingFolder);
    for (const CallLogKind kind :
         {CallLogKind::Dialed, CallLogKind::Received, CallLogKind::Missed}) {
        callLog_.adjustCallLog(kind);
    }
    outcome.saved = true;
    return outcome;
}

}
