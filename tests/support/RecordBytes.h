#pragma once

#include "records/RecordArchive.h"

#include <initializer_list>

// Record file bytes built by hand, as the file tests spell them out.
inline QByteArray bytesOf(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values) {
        out.append(static_cast<char>(v));
    }
    return out;
}

inline QByteArray intsOf(std::initializer_list<std::int32_t> values)
{
    orvanta::RecordWriter writer;
    for (std::int32_t v : values) {
        writer.writeInt(v);
    }
    return writer.bytes();
}

inline QByteArray stringsOf(std::initializer_list<QString> values)
{
    orvanta::RecordWriter writer;
    for (const QString& v : values) {
        writer.writeString(v);
    }
    return writer.bytes();
}

// The two strings the file layouts are shown with: "" and "abc".
inline const QByteArray kEmptyStringBytes = bytesOf({0xFF, 0xFE, 0xFF, 0x00});
inline const QByteArray kAbcBytes = bytesOf({0xFF, 0xFE, 0xFF, 0x03, 0x61, 0, 0x62, 0, 0x63, 0});
