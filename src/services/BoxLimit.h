#pragma once

#include <QString>

namespace orvanta {

// True when a box's text has reached its length limit, which the user is
// told as soon as it happens.
inline bool reachesLimit(const QString& text, qsizetype limit)
{
    return text.size() >= limit;
}

}
