#include "records/RecordDump.h"

namespace orvanta {

QString recordFileNameOf(const char* kind)
{
    return QLatin1String(kind) + QStringLiteral("_Orvanta.bin");
}

std::optional<RecordDump> dumpRecordFile(const std::vector<RecordKind>& kinds,
                                         const QString& fileName, const QByteArray& bytes)
{
    for (const RecordKind& known : kinds) {
        if (fileName != known.fileName) {
            continue;
        }
        RecordReader reader(bytes);
        ListingArchive archive(reader);
        known.decode(reader, archive);

        RecordDump dump;
        dump.json.insert(QStringLiteral("kind"), known.kind);
        dump.json.insert(QStringLiteral("size"), bytes.size());
        dump.json.insert(QStringLiteral("fields"), archive.fields());
        if (reader.failed()) {
            dump.json.insert(QStringLiteral("stopped"),
                             QJsonObject{{QStringLiteral("field"), archive.stoppedAt()},
                                         {QStringLiteral("offset"), archive.stoppedOffset()},
                                         {QStringLiteral("reason"), reader.failure()}});
        } else if (!reader.atEnd()) {
            dump.json.insert(QStringLiteral("stopped"),
                             QJsonObject{{QStringLiteral("offset"), reader.offset()},
                                         {QStringLiteral("reason"),
                                          QStringLiteral("%1 bytes after the last field")
                                              .arg(bytes.size() - reader.offset())}});
        }
        dump.complete = !reader.failed() && reader.atEnd();
        return dump;
    }
    return std::nullopt;
}

}
