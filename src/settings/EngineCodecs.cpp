#include "settings/EngineCodecs.h"

#include <algorithm>

namespace orvanta {

namespace {

// More than any engine offers; a name longer than the buffer is not a
// codec name we could hand back.
constexpr int kMaxListedCodecs = 64;
constexpr int kNameCapacity = 64;

}

void EngineCodecs::setCodecPriority(const QByteArray& codec, int priority)
{
    engine_.setCodecPriority(codec.constData(), priority);
}

QStringList EngineCodecs::availableCodecs() const
{
    QStringList names;
    const int count = std::min(engine_.getNumOfCodecs(), kMaxListedCodecs);
    for (int i = 0; i < count; ++i) {
        char buffer[kNameCapacity] = {};
        const int length = engine_.getCodec(i, buffer, kNameCapacity);
        if (length > 0 && length < kNameCapacity) {
            names.append(QString::fromLocal8Bit(buffer, length));
        }
    }
    return names;
}

}
