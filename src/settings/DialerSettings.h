#pragma once

#include <QObject>
#include <QString>

namespace orvanta {

// The live copy of the general options for the rest of the dialer: the main
// window follows the topmost flag and the confirm-on-close flag, the call
// log the number of calls, the recordings the folder. Each setter signals a
// real change only.
class DialerSettings : public QObject {
    Q_OBJECT

public:
    bool alwaysOnTop() const { return alwaysOnTop_; }
    bool confirmOnClose() const { return confirmOnClose_; }
    // Decimal text, "10" unless the user chose otherwise.
    const QString& numberOfCalls() const { return numberOfCalls_; }
    const QString& recordingFolder() const { return recordingFolder_; }

    void setAlwaysOnTop(bool on);
    void setConfirmOnClose(bool on);
    void setNumberOfCalls(const QString& text);
    void setRecordingFolder(const QString& folder);

signals:
    void alwaysOnTopChanged(bool on);
    void confirmOnCloseChanged(bool on);
    void numberOfCallsChanged(const QString& text);
    void recordingFolderChanged(const QString& folder);

private:
    bool alwaysOnTop_ = false;
    bool confirmOnClose_ = false;
    QString numberOfCalls_;
    QString recordingFolder_;
};

}
