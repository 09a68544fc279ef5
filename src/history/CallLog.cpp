#include "history/CallLog.h"

#include "records/RecordArchive.h"
#include "records/RecordFile.h"

#include <QLocale>
#include <algorithm>

namespace orvanta {

namespace {

constexpr int kDefaultLimit = 10;
const QString kAdjust = QStringLiteral("adjust");

template <typename Archive>
void visitCallLog(Archive& archive, RecordReader* reader,
                  const std::function<void(std::size_t, CallLogEntry&)>& take)
{
    std::array<std::int32_t, 3> counts{};
    archive.field("dialed", counts[0]);
    archive.field("received", counts[1]);
    archive.field("missed", counts[2]);
    for (std::size_t list = 0; list < counts.size(); ++list) {
        for (std::int32_t i = 0; i < counts[list] && !(reader && reader->failed()); ++i) {
            CallLogEntry entry;
            entry.visit(archive, list != static_cast<std::size_t>(CallKind::Missed));
            if (reader && reader->failed()) {
                return;
            }
            take(list, entry);
        }
    }
}

}

std::optional<CallKind> callKindOfLetter(char letter)
{
    switch (letter) {
    case 'D':
        return CallKind::Dialed;
    case 'R':
        return CallKind::Received;
    case 'M':
        return CallKind::Missed;
    default:
        return std::nullopt;
    }
}

QString callLogTime(const QDateTime& when)
{
    return QLocale::c().toString(when, QStringLiteral("HH:mm:ss ddd MMM-dd-yyyy"));
}

int callListLimit(const QString& numberOfCalls)
{
    qsizetype i = 0;
    while (i < numberOfCalls.size() && numberOfCalls[i].isSpace()) {
        ++i;
    }
    bool negative = false;
    if (i < numberOfCalls.size() &&
        (numberOfCalls[i] == QLatin1Char('-') || numberOfCalls[i] == QLatin1Char('+'))) {
        negative = numberOfCalls[i] == QLatin1Char('-');
        ++i;
    }
    long long value = 0;
    for (; i < numberOfCalls.size() && numberOfCalls[i] >= QLatin1Char('0') &&
           numberOfCalls[i] <= QLatin1Char('9');
         ++i) {
        value = std::min<long long>(value * 10 + (numberOfCalls[i].unicode() - '0'),
                                    CallLog::kListSlots + 1);
    }
    if (negative || value == 0) {
        return kDefaultLimit;
    }
    return static_cast<int>(std::min<long long>(value, CallLog::kListSlots));
}

CallLog::CallLog(Sources sources, QObject* parent)
        : QObject(parent), sources_(std::move(sources)), writer_(kCallLogRecordKind)
{
}

void CallLog::load()
{
    const std::optional<QByteArray> bytes = readRecordFileBytes(kCallLogRecordKind);
    const std::array<std::deque<CallLogEntry>, 3> read =
        bytes ? decodeCallLogFile(*bytes) : std::array<std::deque<CallLogEntry>, 3>{};
    for (std::size_t i = 0; i < lists_.size(); ++i) {
        lists_[i].clear();
        for (const CallLogEntry& entry : read[i]) {
            lists_[i].push_back({entry, false, nextId_++});
        }
    }
    emit changed();
}

void CallLog::AddCallLogEntry(const QString& number, const QString& duration, char kind)
{
    const QDateTime now = sources_.now();
    const QString name = sources_.nameOfNumber ? sources_.nameOfNumber(number) : QString();
    const int limit = callListLimit(sources_.numberOfCalls ? sources_.numberOfCalls() : QString());
    const std::optional<CallKind> callKind = callKindOfLetter(kind);
    if (number.isEmpty() || !callKind) {
        return;
    }
    List& list = lists_[index(*callKind)];
    if (number == kAdjust) {
        if (static_cast<int>(list.size()) > limit) {
            trim(list, limit);
            changedNow();
        }
        return;
    }
    CallLogEntry entry{name, number, callLogTime(now),
                       *callKind == CallKind::Missed ? QString() : duration};
    list.push_back({entry, true, nextId_++});
    trim(list, limit);
    changedNow();
    emit recordAdded(*callKind, entry);
}

void CallLog::trim(List& list, int limit)
{
    while (static_cast<int>(list.size()) > limit) {
        list.pop_front();
    }
}

const CallLog::Record* CallLog::find(std::uint64_t id) const
{
    for (const List& list : lists_) {
        const auto found = std::find_if(list.begin(), list.end(),
                                        [id](const Record& record) { return record.id == id; });
        if (found != list.end()) {
            return &*found;
        }
    }
    return nullptr;
}

bool CallLog::remove(std::uint64_t id)
{
    for (List& list : lists_) {
        const auto found = std::find_if(list.begin(), list.end(),
                                        [id](const Record& record) { return record.id == id; });
        if (found != list.end()) {
            list.erase(found);
            changedNow();
            return true;
        }
    }
    return false;
}

void CallLog::removeAll(CallKind kind, const std::function<bool(const Record&)>& which)
{
    List& list = lists_[index(kind)];
    const auto kept = std::remove_if(list.begin(), list.end(), which);
    if (kept != list.end()) {
        list.erase(kept, list.end());
        changedNow();
    }
}

QString CallLog::firstNameForNumber(const QString& number) const
{
    for (const List& list : lists_) {
        for (const Record& record : list) {
            if (record.entry.number == number) {
                return record.entry.name;
            }
        }
    }
    return {};
}

bool CallLog::saveAndWait()
{
    changedNow();
    return writer_.waitUntilWritten();
}

void CallLog::changedNow()
{
    std::array<std::deque<CallLogEntry>, 3> entries;
    for (std::size_t i = 0; i < lists_.size(); ++i) {
        for (const Record& record : lists_[i]) {
            entries[i].push_back(record.entry);
        }
    }
    writer_.save(encodeCallLogFile(entries));
    emit changed();
}

QByteArray encodeCallLogFile(const std::array<std::deque<CallLogEntry>, 3>& lists)
{
    RecordWriter writer;
    SaveArchive archive(writer);
    for (const std::deque<CallLogEntry>& list : lists) {
        writer.writeInt(static_cast<std::int32_t>(list.size()));
    }
    for (std::size_t i = 0; i < lists.size(); ++i) {
        for (CallLogEntry entry : lists[i]) {
            entry.visit(archive, i != static_cast<std::size_t>(CallKind::Missed));
        }
    }
    return writer.bytes();
}

std::array<std::deque<CallLogEntry>, 3> decodeCallLogFile(const QByteArray& bytes)
{
    std::array<std::deque<CallLogEntry>, 3> lists;
    std::array<bool, 3> ended{};
    RecordReader reader(bytes);
    LoadArchive archive(reader);
    visitCallLog(archive, &reader, [&](std::size_t list, CallLogEntry& entry) {
        // A record without a number ends the used slots of its list.
        ended[list] = ended[list] || entry.number.isEmpty();
        if (ended[list]) {
            return;
        }
        lists[list].push_back(entry);
        if (lists[list].size() > static_cast<std::size_t>(CallLog::kListSlots)) {
            lists[list].pop_front();
        }
    });
    return lists;
}

std::vector<RecordKind> callLogRecordKinds()
{
    RecordKind callLog{QLatin1String(kCallLogRecordKind), recordFileNameOf(kCallLogRecordKind),
                       [](RecordReader& reader, ListingArchive& archive) {
                           visitCallLog(archive, &reader, [](std::size_t, CallLogEntry&) {});
                       }};
    return {callLog};
}

}
