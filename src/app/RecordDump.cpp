#include "app/RecordDump.h"

#include "app/RecordArchive.h"
#include "app/RecordFile.h"
#include "app/SignInRecords.h"

#include <QJsonArray>

namespace orvanta {

namespace {

// Reads fields like LoadArchive and lists each one read, in order.
class ListingArchive {
public:
    explicit ListingArchive(RecordReader& reader) : reader_(reader) {}

    template <typename Value>
    void field(const char* name, Value& value)
    {
        if (reader_.failed()) {
            return;
        }
        const qsizetype offset = reader_.offset();
        if (!read(value)) {
            stoppedAt_ = QLatin1String(name);
            stoppedOffset_ = offset;
            return;
        }
        QJsonObject entry{{QStringLiteral("field"), QLatin1String(name)},
                          {QStringLiteral("offset"), offset}};
        entry.insert(QStringLiteral("value"), QJsonValue(value));
        fields_.append(entry);
    }

    const QJsonArray& fields() const { return fields_; }
    const QString& stoppedAt() const { return stoppedAt_; }
    qsizetype stoppedOffset() const { return stoppedOffset_; }

private:
    bool read(std::int32_t& value) { return reader_.readInt(value); }
    bool read(bool& value) { return reader_.readBool(value); }
    bool read(QString& value) { return reader_.readString(value); }

    RecordReader& reader_;
    QJsonArray fields_;
    QString stoppedAt_;
    qsizetype stoppedOffset_ = 0;
};

// The sign-in record may end after field 4 or carry the account block.
void decodeSignInRecord(RecordReader& reader, ListingArchive& archive)
{
    SignInRecordWithAccount record;
    record.header.visit(archive);
    if (!reader.failed() && !reader.atEnd()) {
        record.account.visit(archive);
    }
}

template <typename Record>
void decodePlain(RecordReader&, ListingArchive& archive)
{
    Record record;
    record.visit(archive);
}

struct KnownKind {
    const char* kind;
    void (*decode)(RecordReader&, ListingArchive&);
};

const KnownKind kKinds[] = {
    {kSignInRecordKind, decodeSignInRecord},
    {kFailoverRecordKind, decodePlain<FailoverRecord>},
};

QString fileNameOf(const char* kind)
{
    return QLatin1String(kind) + QStringLiteral("_Orvanta.bin");
}

}

QStringList knownRecordFileNames()
{
    QStringList names;
    for (const KnownKind& known : kKinds) {
        names << fileNameOf(known.kind);
    }
    return names;
}

std::optional<RecordDump> dumpRecordFile(const QString& fileName, const QByteArray& bytes)
{
    for (const KnownKind& known : kKinds) {
        if (fileName != fileNameOf(known.kind)) {
            continue;
        }
        RecordReader reader(bytes);
        ListingArchive archive(reader);
        known.decode(reader, archive);

        RecordDump dump;
        dump.json.insert(QStringLiteral("kind"), QLatin1String(known.kind));
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
