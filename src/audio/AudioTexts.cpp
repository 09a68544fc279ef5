#include "audio/AudioTexts.h"

namespace orvanta {

namespace {

// The system's error texts are cut as the fixed buffer they filled was.
constexpr qsizetype kMaxErrorText = 260;

QString roleName(AudioRole role)
{
    switch (role) {
    case AudioRole::Input:
        return QStringLiteral("Microphone");
    case AudioRole::Output:
        return QStringLiteral("Speaker");
    case AudioRole::Ringer:
        return QStringLiteral("Ringer");
    }
    return {};
}

}

QString soundProblemText(const SoundProblem& problem)
{
    switch (problem.kind) {
    case SoundProblemKind::OutputNotOpened:
        return QStringLiteral("WAVEOUT:%1:%2")
            .arg(QString::number(problem.error.code, 16),
                 QString::fromStdString(problem.error.text).left(kMaxErrorText));
    case SoundProblemKind::FileNotOpened:
        return QStringLiteral("unable to open Sound MM File");
    case SoundProblemKind::FileNotWave:
        return QStringLiteral("Error descending into file");
    case SoundProblemKind::FileWithoutFormat:
        return QStringLiteral("Error descending in file");
    case SoundProblemKind::FileFormatUnreadable:
        return QStringLiteral("Error reading PCM wave format record");
    case SoundProblemKind::FileFormatCut:
        return QStringLiteral("Error ascending in File");
    case SoundProblemKind::FileWithoutData:
        return QStringLiteral("error reading data chunk");
    case SoundProblemKind::FileUnreadable:
        return QStringLiteral("Error reading WAVE file\n");
    }
    return {};
}

QString audioNoticeText(const AudioDeviceNotice& notice)
{
    const QString device =
        notice.description.empty()
            ? roleName(notice.role)
            : QStringLiteral("%1 \"%2\"")
                  .arg(roleName(notice.role), QString::fromStdString(notice.description));
    return notice.kind == AudioNoticeKind::FellBack
               ? QStringLiteral("%1 is not connected: using the system default").arg(device)
               : QStringLiteral("%1 is connected again").arg(device);
}

QString deviceEntryText(const DeviceEntry& entry)
{
    if (entry.device.empty()) {
        return QStringLiteral("System default");
    }
    const QString name =
        QString::fromStdString(entry.description.empty() ? entry.device : entry.description);
    return entry.connected ? name : QStringLiteral("%1 (not connected)").arg(name);
}

}
