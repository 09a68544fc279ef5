#include "settings/DialerSettings.h"

namespace orvanta {

void DialerSettings::setAlwaysOnTop(bool on)
{
    if (alwaysOnTop_ != on) {
        alwaysOnTop_ = on;
        emit alwaysOnTopChanged(on);
    }
}

void DialerSettings::setConfirmOnClose(bool on)
{
    if (confirmOnClose_ != on) {
        confirmOnClose_ = on;
        emit confirmOnCloseChanged(on);
    }
}

void DialerSettings::setNumberOfCalls(const QString& text)
{
    if (numberOfCalls_ != text) {
        numberOfCalls_ = text;
        emit numberOfCallsChanged(text);
    }
}

void DialerSettings::setRecordingFolder(const QString& folder)
{
    if (recordingFolder_ != folder) {
        recordingFolder_ = folder;
        emit recordingFolderChanged(folder);
    }
}

}
