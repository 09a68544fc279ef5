#include "services/SmsLog.h"

#include "platform/DataFolder.h"
#include "records/RecordFile.h"

#include <QFile>

namespace orvanta {

std::vector<SmsLogEntry> readSmsLog(const QByteArray& bytes)
{
    RecordReader reader(bytes);
    LoadArchive archive(reader);
    return visitSmsLog(archive, reader);
}

std::vector<SmsLogEntry> loadSmsLog()
{
    if (!platform::prepareDataFolder()) {
        return {};
    }
    if (!QFile::exists(QString::fromStdString(platform::recordFilePath(kSmsLogRecordKind)))) {
        RecordWriter empty;
        empty.writeInt(0);
        writeRecordFileBytes(kSmsLogRecordKind, empty.bytes());
        return {};
    }
    const std::optional<QByteArray> bytes = readRecordFileBytes(kSmsLogRecordKind);
    return bytes ? readSmsLog(*bytes) : std::vector<SmsLogEntry>{};
}

std::vector<RecordKind> smsLogRecordKinds()
{
    return {{QLatin1String(kSmsLogRecordKind), recordFileNameOf(kSmsLogRecordKind),
             [](RecordReader& reader, ListingArchive& archive) { visitSmsLog(archive, reader); }}};
}

}
