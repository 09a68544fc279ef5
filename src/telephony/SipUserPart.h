#pragma once

#include <QByteArray>
#include <QString>

namespace orvanta {

// The user part of a SIP URI for any user name (RFC 3261 "user"): letters,
// digits, the marks - _ . ! ~ * ' ( ) and the user-unreserved & = + $ , ; ? /
// stay; every other character becomes %HH for each byte of its UTF-8 form.
QByteArray sipUserPart(const QString& user);

}
