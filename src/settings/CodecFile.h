#pragma once

#include "records/RecordArchive.h"

#include <QByteArray>
#include <QStringList>
#include <optional>

namespace orvanta {

// Each list of the codec file holds at most this many names; readers skip
// the rest.
inline constexpr int kMaxCodecsPerList = 30;

// The codec file's two lists of engine codec names ("PCMU/8000/1"): the
// enabled ones, most preferred first, and the disabled ones.
struct CodecLists {
    QStringList enabled;
    QStringList disabled;
};

struct CodecFileRead {
    CodecLists lists;       // what was read before any failure
    bool complete = false;  // the file was there and read to the end of both lists
};

// Reads the codec file's layout: a count and that many names, twice. A
// negative count reads as none.
template <typename Archive>
void visitCodecList(RecordReader& reader, Archive& archive, const char* countField,
                    const char* nameField, QStringList& names)
{
    std::int32_t count = 0;
    archive.field(countField, count);
    for (std::int32_t i = 0; i < count && !reader.failed(); ++i) {
        QString name;
        archive.field(nameField, name);
        if (!reader.failed() && names.size() < kMaxCodecsPerList) {
            names.append(name);
        }
    }
}

template <typename Archive>
void visitCodecFile(RecordReader& reader, Archive& archive, CodecLists& lists)
{
    visitCodecList(reader, archive, "enabledCount", "enabled", lists.enabled);
    visitCodecList(reader, archive, "disabledCount", "disabled", lists.disabled);
}

CodecFileRead decodeCodecFile(const std::optional<QByteArray>& bytes);
QByteArray encodeCodecFile(const CodecLists& lists);

// The codec file in the data folder.
CodecFileRead readCodecFile();
bool saveCodecFile(const CodecLists& lists);

// The page shows the two G711 codecs by their common names; every other
// name as it is. Exact and case-sensitive both ways.
QString codecDisplayName(const QString& engineName);
QString codecEngineName(const QString& shownName);

// The engine's codec priority entry point.
class CodecPriorityEngine {
public:
    virtual ~CodecPriorityEngine() = default;
    // codec: 8-bit engine name; 0 disables it, higher comes earlier.
    virtual void setCodecPriority(const QByteArray& codec, int priority) = 0;
};

// Hands the codec order to the engine: the four known codecs first (G729
// alone on), then the enabled codecs from 255 down and the disabled ones at
// 0; a file that is missing or ends early gets the four known ones again
// after what was read.
void ApplyCodecPriorities(CodecPriorityEngine& engine, const CodecFileRead& file);
// The same from the codec file in the data folder.
void ApplyCodecPriorities(CodecPriorityEngine& engine);

}
