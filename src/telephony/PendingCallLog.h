#pragma once

#include "telephony/CallPorts.h"

#include <QObject>
#include <vector>

namespace orvanta {

// Finished calls, kept until the call log store takes them over.
class PendingCallLog : public QObject, public CallLogSink {
    Q_OBJECT

public:
    struct Entry {
        QString number;
        QString duration;
        char kind = 0;  // 'D' dialled, 'R' received, 'M' missed
    };

    void AddCallLogEntry(const QString& number, const QString& duration, char kind) override
    {
        entries_.push_back({number, duration, kind});
        emit added(entries_.back());
    }
    const std::vector<Entry>& entries() const { return entries_; }

signals:
    void added(const orvanta::PendingCallLog::Entry& entry);

private:
    std::vector<Entry> entries_;
};

}
