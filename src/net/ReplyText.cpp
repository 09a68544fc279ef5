#include "net/ReplyText.h"

#include <algorithm>

namespace orvanta {

QString replyText(const std::string& bytes)
{
    const std::size_t end = std::min(bytes.find('\0'), bytes.size());
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(end));
}

QString trimmedOf(const QString& text, QStringView characters)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && characters.contains(text[begin])) {
        ++begin;
    }
    while (end > begin && characters.contains(text[end - 1])) {
        --end;
    }
    return text.mid(begin, end - begin);
}

}
