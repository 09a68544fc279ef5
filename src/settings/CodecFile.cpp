#include "settings/CodecFile.h"

#include "records/RecordFile.h"
#include "settings/SettingsRecords.h"

namespace orvanta {

namespace {

constexpr int kHighestPriority = 255;

// The codecs the page shows by another name than the engine's.
struct ShownName {
    const char* engine;
    const char* shown;
};
constexpr ShownName kShownNames[] = {{"PCMU/8000/1", "G711 uLaw"}, {"PCMA/8000/1", "G711 aLaw"}};

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
    for (const ShownName& name : kShownNames) {
        if (engineName == QLatin1String(name.engine)) {
            return QLatin1String(name.shown);
        }
    }
    return engineName;
}

QString codecEngineName(const QString& shownName)
{
    for (const ShownName& name : kShownNames) {
        if (shownName == QLatin1String(name.shown)) {
            return QLatin1String(name.engine);
        }
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
