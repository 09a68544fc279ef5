#include "records/RecordFile.h"

#include "platform/AtomicFile.h"
#include "platform/DataFolder.h"

#include <QFile>

namespace orvanta {

namespace {

std::optional<QByteArray> readPreparedFile(const std::filesystem::path& path)
{
    if (!platform::prepareDataFolder()) {
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return file.read(kMaxRecordFileBytes);
}

bool writePreparedFile(const std::filesystem::path& path, const QByteArray& bytes)
{
    if (!platform::prepareDataFolder()) {
        return false;
    }
    return platform::writeFileAtomically(
        path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

std::filesystem::path dataFilePath(const QString& fileName)
{
    return platform::dataFolderPath() / fileName.toStdString();
}

}

std::optional<QByteArray> readRecordFileBytes(const char* kind)
{
    return readPreparedFile(platform::recordFilePath(kind));
}

bool writeRecordFileBytes(const char* kind, const QByteArray& bytes)
{
    return writePreparedFile(platform::recordFilePath(kind), bytes);
}

std::optional<QByteArray> readDataFileBytes(const QString& fileName)
{
    return readPreparedFile(dataFilePath(fileName));
}

bool writeDataFileBytes(const QString& fileName, const QByteArray& bytes)
{
    return writePreparedFile(dataFilePath(fileName), bytes);
}

}
