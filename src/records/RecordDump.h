#pragma once

#include "records/RecordArchive.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace orvanta {

// Reads fields like LoadArchive and lists each one read, in order, with its
// offset; remembers where and why reading stopped.
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

// One kind of record file that orvanta-records can decode. Each subsystem
// that owns a record file offers its kinds (see signInRecordKinds()); the
// tool lists them all.
struct RecordKind {
    QString kind;      // shown in the dump
    QString fileName;  // "account_Orvanta.bin", "Network.bin"
    std::function<void(RecordReader&, ListingArchive&)> decode;
};

// The file name of a record kind in the data folder: "<kind>_Orvanta.bin".
QString recordFileNameOf(const char* kind);

// A kind whose record is decoded by visiting a default-constructed Record.
template <typename Record>
RecordKind plainRecordKind(const char* kind, QString fileName = {})
{
    return {QLatin1String(kind), fileName.isEmpty() ? recordFileNameOf(kind) : fileName,
            [](RecordReader&, ListingArchive& archive) {
                Record record;
                record.visit(archive);
            }};
}

struct RecordDump {
    QJsonObject json;
    bool complete = false;  // decoded to the last byte without a failure
};

// Decodes a record file's bytes by the kind its file name names, listing each
// field read and, when decoding stopped early, where and why. Nothing when
// no kind has that file name.
std::optional<RecordDump> dumpRecordFile(const std::vector<RecordKind>& kinds,
                                         const QString& fileName, const QByteArray& bytes);

}
