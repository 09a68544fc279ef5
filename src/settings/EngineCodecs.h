#pragma once

#include "settings/CodecFile.h"
#include "telephony/Engine.h"

#include <QStringList>

namespace orvanta {

// The codecs the running engine can offer.
class CodecCatalog {
public:
    virtual ~CodecCatalog() = default;
    // Engine names in offer order; empty while the engine does not run.
    virtual QStringList availableCodecs() const = 0;
};

// The codec entry points of the dialer's engine.
class EngineCodecs : public CodecPriorityEngine, public CodecCatalog {
public:
    explicit EngineCodecs(Engine& engine) : engine_(engine) {}

    void setCodecPriority(const QByteArray& codec, int priority) override;
    QStringList availableCodecs() const override;

private:
    Engine& engine_;
};

}
