#pragma once

#include "records/RecordArchive.h"

#include <QByteArray>
#include <optional>

namespace orvanta {

// Record files are small; anything past this is not read.
inline constexpr qsizetype kMaxRecordFileBytes = 16 * 1024 * 1024;

// The bytes of the record file of this kind in the data folder, or nothing
// when the folder cannot be prepared or the file cannot be read.
std::optional<QByteArray> readRecordFileBytes(const char* kind);

// Replaces the record file of this kind atomically, creating it when missing.
bool writeRecordFileBytes(const char* kind, const QByteArray& bytes);

// The same for a file in the data folder whose name does not follow the
// "<kind>_Orvanta.bin" rule ("Network.bin").
std::optional<QByteArray> readDataFileBytes(const QString& fileName);
bool writeDataFileBytes(const QString& fileName, const QByteArray& bytes);

struct LoadOutcome {
    bool fileFound = false;
    int fieldsRead = 0;
    bool complete = false;  // every field read
};

// Reads the record's fields in order from the file; stops at the first
// failure and keeps what was read. A missing file leaves the record as is.
template <typename Record>
LoadOutcome loadRecordBytes(const std::optional<QByteArray>& bytes, Record& record)
{
    LoadOutcome outcome;
    if (!bytes) {
        return outcome;
    }
    outcome.fileFound = true;
    RecordReader reader(*bytes);
    LoadArchive archive(reader);
    record.visit(archive);
    outcome.fieldsRead = archive.fieldsRead();
    outcome.complete = !reader.failed();
    return outcome;
}

template <typename Record>
LoadOutcome loadRecordFile(const char* kind, Record& record)
{
    return loadRecordBytes(readRecordFileBytes(kind), record);
}

template <typename Record>
LoadOutcome loadDataFile(const QString& fileName, Record& record)
{
    return loadRecordBytes(readDataFileBytes(fileName), record);
}

template <typename Record>
bool saveRecordFile(const char* kind, const Record& record)
{
    return writeRecordFileBytes(kind, encodeRecord(record));
}

template <typename Record>
bool saveDataFile(const QString& fileName, const Record& record)
{
    return writeDataFileBytes(fileName, encodeRecord(record));
}

}
