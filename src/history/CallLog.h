#pragma once

#include "records/RecordDump.h"
#include "records/RecordFileWriter.h"
#include "telephony/CallPorts.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>

namespace orvanta {

// One finished call as the call log file keeps it.
struct CallLogEntry {
    QString name;  // of the contact with this mobile or phone number when logged
    QString number;
    QString time;      // "%H:%M:%S %a %b-%d-%Y", English names
    QString duration;  // hh:mm:ss; empty when not answered, always for a missed call

    template <typename Archive>
    void visit(Archive& a, bool withDuration = true)
    {
        a.field("name", name);
        a.field("number", number);
        a.field("time", time);
        if (withDuration) {
            a.field("duration", duration);
        }
    }

    bool operator==(const CallLogEntry&) const = default;
};

enum class CallKind { Dialed, Received, Missed };
inline constexpr std::array<CallKind, 3> kCallKinds = {CallKind::Dialed, CallKind::Received,
                                                       CallKind::Missed};

// 'D', 'R', 'M' as the call handling passes them.
std::optional<CallKind> callKindOfLetter(char letter);

// The time text of a call logged at when.
QString callLogTime(const QDateTime& when);

// The number-of-calls setting as each list's limit: its leading decimal
// digits, 10 when there are none (or the value is not above 0), never more
// than a list holds.
int callListLimit(const QString& numberOfCalls);

// The call log: the newest calls of each kind, at most 100 per list, oldest
// first. Every change is handed to CallLog_Orvanta.bin at once.
class CallLog : public QObject, public CallLogSink {
    Q_OBJECT

public:
    static constexpr int kListSlots = 100;

    struct Record {
        CallLogEntry entry;
        bool addedThisRun = false;  // its details read differently
        std::uint64_t id = 0;       // tells records apart while the dialer runs
    };
    using List = std::deque<Record>;

    struct Sources {
        // The name of the contact with this number, or empty.
        std::function<QString(const QString& number)> nameOfNumber;
        // The number-of-calls setting, as text.
        std::function<QString()> numberOfCalls;
        std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    };

    explicit CallLog(Sources sources, QObject* parent = nullptr);

    // Reads CallLog_Orvanta.bin; a missing or broken file keeps what it holds
    // completely.
    void load();

    // Logs one call of kind 'D', 'R' or 'M' and trims its list to the limit.
    // The number "adjust" logs nothing and only trims the list (after the
    // number-of-calls setting changed). An empty number or another kind does
    // nothing.
    void AddCallLogEntry(const QString& number, const QString& duration, char kind) override;

    const List& list(CallKind kind) const { return lists_[index(kind)]; }
    const Record* find(std::uint64_t id) const;
    bool remove(std::uint64_t id);
    void removeAll(CallKind kind, const std::function<bool(const Record&)>& which);
    // The name on the first record with this number, dialed calls first,
    // then received, then missed.
    QString firstNameForNumber(const QString& number) const;

    // Writes the log once more and waits until it is on disk (quit).
    bool saveAndWait();
    bool waitUntilWritten() { return writer_.waitUntilWritten(); }

signals:
    void recordAdded(orvanta::CallKind kind, const orvanta::CallLogEntry& entry);
    void changed();

private:
    static std::size_t index(CallKind kind) { return static_cast<std::size_t>(kind); }
    void trim(List& list, int limit);
    void changedNow();

    Sources sources_;
    std::array<List, 3> lists_;
    std::uint64_t nextId_ = 1;
    RecordFileWriter writer_;
};

// CallLog_Orvanta.bin: three counts, then the dialed, received and missed
// records, oldest first; missed records without their duration.
inline constexpr const char* kCallLogRecordKind = "CallLog";
QByteArray encodeCallLogFile(const std::array<std::deque<CallLogEntry>, 3>& lists);
// Reads what the file holds completely: each list up to its first record
// without a number, keeping its newest kListSlots.
std::array<std::deque<CallLogEntry>, 3> decodeCallLogFile(const QByteArray& bytes);

std::vector<RecordKind> callLogRecordKinds();

}
