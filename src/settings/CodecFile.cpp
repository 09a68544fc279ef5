#include "settings/CodecFile.h"

#include "records/RecordFile.h"
#include "settings/SettingsRecords.h"

namespace orvanta {

namespace {

constexpr int kHighestPriority = 255;

const QString kPcmu = QStringLiteral("PCMU/8000/1");
const QString kPcma = QStringLiteral("PCMA/8000/1");
const QString kPcmuShown = QStringLiteral("G711 uLaw");
const QString kPcmaShown = QStringLiteral("G711 aLaw");

void setKnownCodecs(CodecPriorityEngine& engine)
{
    engine.setCodecPriority("G729/8000/1", kHighestPriority);
    engine.setCodecPriority("G723/8000/1", 0);
    engine.setCodecPriority("PCMU/8000/1", 0);
    engine.setCodecPriority("PCMA/8000/1", 0);
}

}

CodecFileRead decodeCodecFile(const std::optional<QByteArray>& bytes)
{
    CodecFileRead read;
    if (!bytes) {
        return read;
    }
    RecordReader reader(*bytes);
    LoadArchive archive(reader);
    visitCodecFile(reader, archive, read.lists);
    read.complete = !reader.failed();
    return read;
}

QByteArray encodeCodecFile(const CodecLists& lists)
{
    RecordWriter writer;
    for (const QStringList* list : {&lists.enabled, &lists.disabled}) {
        writer.writeInt(static_cast<std::int32_t>(list->size()));
        for (const QString& name : *list) {
            writer.writeString(name);
        }
    }
    return writer.bytes();
}

CodecFileRead readCodecFile()
{
    return decodeCodecFile(readRecordFileBytes(kCodecRecordKind));
}

bool saveCodecFile(const CodecLists& lists)
{
    return writeRecordFileBytes(kCodecRecordKind, encodeCodecFile(lists));
}

QString codecDisplayName(const QString& engineName)
{
    if (engineName == kPcmu) {
        return kPcmuShown;
    }
    if (engineName == kPcma) {
        return kPcmaShown;
    }
    return engineName;
}

QString codecEngineName(const QString& shownName)
{
    if (shownName == kPcmuShown) {
        return kPcmu;
    }
    if (shownName == kPcmaShown) {
        return kPcma;
    }
    return shownName;
}

void ApplyCodecPriorities(CodecPriorityEngine& engine, const CodecFileRead& file)
{
    setKnownCodecs(engine);
    int priority = kHighestPriority;
    for (const QString& name : file.lists.enabled) {
        engine.setCodecPriority(name.toLocal8Bit(), priority);
        --priority;
    }
    for (const QString& name : file.lists.disabled) {
        engine.setCodecPriority(name.toLocal8Bit(), 0);
    }
    if (!file.complete) {
        setKnownCodecs(engine);
    }
}

void ApplyCodecPriorities(CodecPriorityEngine& engine)
{
    ApplyCodecPriorities(engine, readCodecFile());
}

}
