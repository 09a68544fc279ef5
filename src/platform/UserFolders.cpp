#include "platform/UserFolders.h"

#include "platform/DataFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace orvanta::platform {

namespace {

// The user's music folder when it exists. The user-dirs convention points a
// folder the user turned off at the home folder itself: that is no music
// folder.
QString existingMusicFolder()
{
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    if (music.isEmpty() || !QFileInfo(music).isDir()) {
        return {};
    }
    if (QDir(music).canonicalPath() == QDir(QDir::homePath()).canonicalPath()) {
        return {};
    }
    return music;
}

}

QString defaultRecordingFolder()
{
    const QString music = existingMusicFolder();
    const QString folder = music.isEmpty()
                               ? QString::fromStdString((dataFolderPath() / "recordings").string())
                               : QDir(music).filePath(QStringLiteral("Orvanta"));
    return QDir().mkpath(folder) ? QDir::cleanPath(folder) : QString();
}

}
