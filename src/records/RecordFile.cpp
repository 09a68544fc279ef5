#include "records/RecordFile.h"

#include "platform/AtomicFile.h"
#include "platform/DataFolder.h"

#include <QFile>

namespace orvanta {

std::optional<QByteArray> readRecordFileBytes(const char* kind)
{
    if (!platform::prepareDataFolder()) {
        return std::nullopt;
    }
    QFile file(platform::recordFilePath(kind));
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return file.read(kMaxRecordFileBytes);
}

bool writeRecordFileBytes(const char* kind, const QByteArray& bytes)
{
    if (!platform::prepareDataFolder()) {
        return false;
    }
    return platform::writeFileAtomically(
        platform::recordFilePath(kind),
        std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

}
