#pragma once

#include <QString>
#include <QStringView>
#include <string>

namespace orvanta {

// The bytes of a reply as text: UTF-8, ending at the first zero byte.
QString replyText(const std::string& bytes);

// The text without any of the given characters at either end.
QString trimmedOf(const QString& text, QStringView characters);

}
