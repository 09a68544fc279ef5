#pragma once

#include "records/RecordDump.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace orvanta {

// SMSLog_Orvanta.bin: a count, then that many entries of three strings.
// The dialer only reads it; at most kSmsLogEntries entries are taken.
inline constexpr const char* kSmsLogRecordKind = "SMSLog";
inline constexpr std::size_t kSmsLogEntries = 100;

struct SmsLogEntry {
    QString entryText;
    QString detailText;
    QString thirdText;

    bool operator==(const SmsLogEntry&) const = default;
};

// Reads the count and the entries through any record archive; stops at the
// first failure, at the count or at kSmsLogEntries, and keeps the entries
// read completely.
template <typename Archive>
std::vector<SmsLogEntry> visitSmsLog(Archive& archive, const RecordReader& reader)
{
    std::vector<SmsLogEntry> entries;
    std::int32_t count = 0;
    archive.field("count", count);
    for (std::int32_t i = 0; i < count && entries.size() < kSmsLogEntries && !reader.failed();
         ++i) {
        SmsLogEntry entry;
        archive.field("entryText", entry.entryText);
        archive.field("detailText", entry.detailText);
        archive.field("thirdText", entry.thirdText);
        if (!reader.failed()) {
            entries.push_back(std::move(entry));
        }
    }
    return entries;
}

std::vector<SmsLogEntry> readSmsLog(const QByteArray& bytes);

// The SMS log of the data folder, created empty when missing. Blocks on
// the file: run it off the GUI thread.
std::vector<SmsLogEntry> loadSmsLog();

// The SMS log, for orvanta-records.
std::vector<RecordKind> smsLogRecordKinds();

}
