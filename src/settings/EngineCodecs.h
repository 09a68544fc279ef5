#pragma once

#include "settings/CodecFile.h"
#include "telephony/EngineLibrary.h"

#include <QStringList>

namespace orvanta {

// The codecs the running engine can offer.
class CodecCatalog {
public:
    virtual ~CodecCatalog() = default;
    // Engine names in offer order; empty while the engine does not run.
    virtual QStringList availableCodecs() const = 0;
};

// The codec entry points of a loaded engine library.
class EngineCodecs : public CodecPriorityEngine, public CodecCatalog {
public:
    explicit EngineCodecs(const EngineApi& api) : api_(api) {}

    void setCodecPriority(const QByteArray& codec, int priority) override;
    QStringList availableCodecs() const override;

private:
    const EngineApi& api_;
};

}
