#pragma once

#include "peers/TempDir.h"

#include <QByteArray>
#include <QString>
#include <filesystem>
#include <ostream>
#include <string>

// Readable QString and QByteArray values in test failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QByteArray& bytes, std::ostream* out)
{
    *out << '"' << bytes.toStdString() << '"';
}
QT_END_NAMESPACE

namespace orvanta::test {

// Clears proxy variables (libcurl would route loopback through them) and
// points the data folder at a private temporary folder unless a test set one.
void prepareProcessEnvironment();

// Folder holding the built executables and libraries (build/bin).
std::filesystem::path binDir();

// Root of the source tree, for fixtures kept beside the tests.
std::filesystem::path sourceDir();

}
