#include "records/RecordArchive.h"

#include <limits>

namespace orvanta {

namespace {

constexpr std::uint8_t kByteEscape = 0xFF;
constexpr std::uint16_t kWideMarker = 0xFFFE;
constexpr std::uint16_t kWordEscape = 0xFFFF;
constexpr std::uint32_t kDwordEscape = 0xFFFFFFFF;

std::uint64_t littleEndian(const char* data, int size)
{
    std::uint64_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<std::uint8_t>(data[i]);
    }
    return value;
}

}

bool RecordReader::fail(const QString& why)
{
    if (failure_.isEmpty()) {
        failure_ = QStringLiteral("at byte %1: %2").arg(offset_).arg(why);
    }
    return false;
}

bool RecordReader::take(qsizetype count, const char*& data, const char* what)
{
    if (failed()) {
        return false;
    }
    if (count > bytes_.size() - offset_) {
        return fail(QStringLiteral("%1 needs %2 bytes, %3 left")
                        .arg(QLatin1String(what))
                        .arg(count)
                        .arg(bytes_.size() - offset_));
    }
    data = bytes_.data() + offset_;
    offset_ += count;
    return true;
}

bool RecordReader::readU8(std::uint8_t& value, const char* what)
{
    const char* data = nullptr;
    if (!take(1, data, what)) {
        return false;
    }
    value = static_cast<std::uint8_t>(data[0]);
    return true;
}

bool RecordReader::readU16(std::uint16_t& value, const char* what)
{
    const char* data = nullptr;
    if (!take(2, data, what)) {
        return false;
    }
    value = static_cast<std::uint16_t>(littleEndian(data, 2));
    return true;
}

bool RecordReader::readU32(std::uint32_t& value, const char* what)
{
    const char* data = nullptr;
    if (!take(4, data, what)) {
        return false;
    }
    value = static_cast<std::uint32_t>(littleEndian(data, 4));
    return true;
}

bool RecordReader::readU64(std::uint64_t& value, const char* what)
{
    const char* data = nullptr;
    if (!take(8, data, what)) {
        return false;
    }
    value = littleEndian(data, 8);
    return true;
}

bool RecordReader::readInt(std::int32_t& value)
{
    std::uint32_t raw = 0;
    if (!readU32(raw, "integer")) {
        return false;
    }
    value = static_cast<std::int32_t>(raw);
    return true;
}

bool RecordReader::readBool(bool& value)
{
    std::uint8_t raw = 0;
    if (!readU8(raw, "boolean")) {
        return false;
    }
    value = raw != 0;
    return true;
}

bool RecordReader::readLengthAfter(std::uint8_t first, std::uint64_t& length, bool& isWide)
{
    if (first < kByteEscape) {
        length = first;
        return true;
    }
    std::uint16_t word = 0;
    if (!readU16(word, "string length")) {
        return false;
    }
    if (word == kWideMarker && !isWide) {
        // The UTF-16 marker: the real length follows in the same forms.
        isWide = true;
        std::uint8_t byte = 0;
        return readU8(byte, "string length") && readLengthAfter(byte, length, isWide);
    }
    if (word < kWordEscape) {
        length = word;
        return true;
    }
    std::uint32_t dword = 0;
    if (!readU32(dword, "string length")) {
        return false;
    }
    if (dword < kDwordEscape) {
        length = dword;
        return true;
    }
    return readU64(length, "string length");
}

bool RecordReader::readString(QString& value)
{
    std::uint8_t first = 0;
    std::uint64_t length = 0;
    bool isWide = false;
    if (!readU8(first, "string length") || !readLengthAfter(first, length, isWide)) {
        return false;
    }
    const std::uint64_t left = static_cast<std::uint64_t>(bytes_.size() - offset_);
    const std::uint64_t unitSize = isWide ? 2 : 1;
    if (length > left / unitSize) {
        return fail(QStringLiteral("string of %1 characters does not fit in the %2 bytes left")
                        .arg(length)
                        .arg(left));
    }
    const char* data = nullptr;
    if (!take(static_cast<qsizetype>(length * unitSize), data, "string")) {
        return false;
    }
    if (isWide) {
        QString text(static_cast<qsizetype>(length), Qt::Uninitialized);
        for (qsizetype i = 0; i < text.size(); ++i) {
            text[i] = QChar(static_cast<char16_t>(littleEndian(data + 2 * i, 2)));
        }
        value = text;
    } else {
        // 8-bit text is widened one byte to one character.
        value = QString::fromLatin1(data, static_cast<qsizetype>(length));
    }
    return true;
}

void RecordWriter::appendLittleEndian(std::uint64_t value, int size)
{
    for (int i = 0; i < size; ++i) {
        bytes_.append(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

void RecordWriter::writeInt(std::int32_t value)
{
    appendLittleEndian(static_cast<std::uint32_t>(value), 4);
}

void RecordWriter::writeBool(bool value)
{
    bytes_.append(value ? '\1' : '\0');
}

void RecordWriter::writeString(const QString& value)
{
    appendLittleEndian(kByteEscape, 1);
    appendLittleEndian(kWideMarker, 2);
    const auto length = static_cast<std::uint64_t>(value.size());
    if (length < kByteEscape) {
        appendLittleEndian(length, 1);
    } else {
        appendLittleEndian(kByteEscape, 1);
        if (length < kWideMarker) {
            appendLittleEndian(length, 2);
        } else {
            appendLittleEndian(kWordEscape, 2);
            if (length < kDwordEscape) {
                appendLittleEndian(length, 4);
            } else {
                appendLittleEndian(kDwordEscape, 4);
                appendLittleEndian(length, 8);
            }
        }
    }
    for (QChar unit : value) {
        appendLittleEndian(unit.unicode(), 2);
    }
}

void LoadArchive::note(const char* name, bool ok)
{
    if (ok) {
        ++fieldsRead_;
    } else if (!*stoppedAt_) {
        stoppedAt_ = name;
    }
}

}
