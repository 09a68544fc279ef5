#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QStringList>
#include <optional>

namespace orvanta {

struct RecordDump {
    QJsonObject json;
    bool complete = false;  // decoded to the last byte without a failure
};

// Decodes a record file's bytes by the kind its file name names, listing each
// field read and, when decoding stopped early, where and why. Nothing when
// the file name is not a known record file.
std::optional<RecordDump> dumpRecordFile(const QString& fileName, const QByteArray& bytes);

QStringList knownRecordFileNames();

}
