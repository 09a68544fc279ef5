#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <utility>

namespace orvanta {

// Reads the record encoding: little-endian 32-bit integers, one-byte
// booleans and archive strings. Every read is bounded by the bytes left:
// a declared length larger than what remains is a failure, never an
// allocation. The first failure sticks: later reads fail too and leave their
// targets untouched.
class RecordReader {
public:
    // Holds its own (shared, not copied) reference to the bytes.
    explicit RecordReader(QByteArray bytes) : bytes_(std::move(bytes)) {}

    bool readInt(std::int32_t& value);
    bool readBool(bool& value);
    // Accepts the UTF-16 form (marker 0xFF 0xFFFE) and the 8-bit form.
    bool readString(QString& value);

    bool failed() const { return !failure_.isEmpty(); }
    const QString& failure() const { return failure_; }
    qsizetype offset() const { return offset_; }
    bool atEnd() const { return offset_ == bytes_.size(); }

private:
    bool take(qsizetype count, const char*& data, const char* what);
    bool readU8(std::uint8_t& value, const char* what);
    bool readU16(std::uint16_t& value, const char* what);
    bool readU32(std::uint32_t& value, const char* what);
    bool readU64(std::uint64_t& value, const char* what);
    // The escalating length after its first byte has been read.
    bool readLengthAfter(std::uint8_t first, std::uint64_t& length, bool& isWide);
    bool fail(const QString& why);

    QByteArray bytes_;
    qsizetype offset_ = 0;
    QString failure_;
};

// Writes the record encoding. Strings always take the UTF-16 form with the
// shortest length prefix.
class RecordWriter {
public:
    void writeInt(std::int32_t value);
    void writeBool(bool value);
    void writeString(const QString& value);

    const QByteArray& bytes() const { return bytes_; }

private:
    void appendLittleEndian(std::uint64_t value, int size);

    QByteArray bytes_;
};

// Archives for records that describe their fields once, in file order:
//   template <class Archive> void visit(Archive& a) { a.field("name", member); ... }
// The same description then reads, writes and lists the record.
class LoadArchive {
public:
    explicit LoadArchive(RecordReader& reader) : reader_(reader) {}

    void field(const char* name, std::int32_t& value) { note(name, reader_.readInt(value)); }
    void field(const char* name, bool& value) { note(name, reader_.readBool(value)); }
    void field(const char* name, QString& value) { note(name, reader_.readString(value)); }

    int fieldsRead() const { return fieldsRead_; }
    // Name of the field at which reading stopped; empty when none failed.
    const char* stoppedAtField() const { return stoppedAt_; }

private:
    void note(const char* name, bool ok);

    RecordReader& reader_;
    int fieldsRead_ = 0;
    const char* stoppedAt_ = "";
};

class SaveArchive {
public:
    explicit SaveArchive(RecordWriter& writer) : writer_(writer) {}

    void field(const char*, const std::int32_t& value) { writer_.writeInt(value); }
    void field(const char*, const bool& value) { writer_.writeBool(value); }
    void field(const char*, const QString& value) { writer_.writeString(value); }

private:
    RecordWriter& writer_;
};

template <typename Record>
QByteArray encodeRecord(Record record)
{
    RecordWriter writer;
    SaveArchive archive(writer);
    record.visit(archive);
    return writer.bytes();
}

}
