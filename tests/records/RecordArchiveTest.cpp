#include "records/RecordArchive.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

using orvanta::RecordReader;
using orvanta::RecordWriter;

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values) {
        out.append(static_cast<char>(v));
    }
    return out;
}

QByteArray encoded(const QString& text)
{
    RecordWriter writer;
    writer.writeString(text);
    return writer.bytes();
}

struct StringForm {
    const char* name;
    QString text;
    QByteArray prefix;  // marker and length bytes before the code units
};

TEST(RecordArchive, StringsTakeTheShortestLengthForm)
{
    const StringForm forms[] = {
        {"empty", QString(), bytes({0xFF, 0xFE, 0xFF, 0x00})},
        {"two", QStringLiteral("ab"), bytes({0xFF, 0xFE, 0xFF, 0x02})},
        {"254", QString(254, QChar('x')), bytes({0xFF, 0xFE, 0xFF, 0xFE})},
        {"255", QString(255, QChar('x')), bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00})},
        {"300", QString(300, QChar('x')), bytes({0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01})},
        {"65533", QString(0xFFFD, QChar('x')), bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF})},
        {"65534", QString(0xFFFE, QChar('x')),
         bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
    };
    for (const StringForm& form : forms) {
        SCOPED_TRACE(form.name);
        const QByteArray out = encoded(form.text);
        ASSERT_EQ(out.size(), form.prefix.size() + 2 * form.text.size());
        EXPECT_EQ(out.left(form.prefix.size()), form.prefix);

        RecordReader reader(out);
        QString back = QStringLiteral("unchanged");
        ASSERT_TRUE(reader.readString(back));
        EXPECT_EQ(back, form.text);
        EXPECT_TRUE(reader.atEnd());
    }
    EXPECT_EQ(encoded(QStringLiteral("ab")), bytes({0xFF, 0xFE, 0xFF, 0x02, 0x61, 0, 0x62, 0}));
}

TEST(RecordArchive, TextOutsideAsciiSurvivesTheRoundTrip)
{
    const QString text = QStringLiteral("Zoë 北京 ") + QString::fromUcs4(U"\U0001F4DE");
    RecordReader reader(encoded(text));
    QString back;
    ASSERT_TRUE(reader.readString(back));
    EXPECT_EQ(back, text);
}

struct EightBitCase {
    const char* name;
    QByteArray input;
    QString expected;
};

TEST(RecordArchive, EightBitStringsAreWidenedOnReading)
{
    QByteArray long8 = bytes({0xFF, 0x2C, 0x01});
    long8.append(QByteArray(300, 'k'));
    const EightBitCase cases[] = {
        {"short", bytes({0x03, 'a', 'b', 'c'}), QStringLiteral("abc")},
        {"empty", bytes({0x00}), QString()},
        {"high byte", bytes({0x02, 'Z', 0xE9}), QStringLiteral("Zé")},
        {"word length", long8, QString(300, QChar('k'))},
    };
    for (const EightBitCase& c : cases) {
        SCOPED_TRACE(c.name);
        RecordReader reader(c.input);
        QString back;
        ASSERT_TRUE(reader.readString(back));
        EXPECT_EQ(back, c.expected);
        EXPECT_TRUE(reader.atEnd());
    }
}

TEST(RecordArchive, IntegersAndBooleansAreLittleEndian)
{
    RecordWriter writer;
    writer.writeInt(1);
    writer.writeInt(-2);
    writer.writeBool(true);
    writer.writeBool(false);
    EXPECT_EQ(writer.bytes(), bytes({1, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 1, 0}));

    RecordReader reader(bytes({0x78, 0x56, 0x34, 0x12, 0x07}));
    std::int32_t number = 0;
    bool flag = false;
    ASSERT_TRUE(reader.readInt(number));
    ASSERT_TRUE(reader.readBool(flag));
    EXPECT_EQ(number, 0x12345678);
    EXPECT_TRUE(flag) << "any non-zero byte is true";
}

struct DamagedCase {
    const char* name;
    QByteArray input;
};

TEST(RecordArchive, DamagedStringsFailWithoutAllocatingTheirDeclaredLength)
{
    const DamagedCase cases[] = {
        {"nothing", QByteArray()},
        {"marker only", bytes({0xFF, 0xFE, 0xFF})},
        {"short text", bytes({0xFF, 0xFE, 0xFF, 0x03, 'a', 0})},
        {"odd byte", bytes({0xFF, 0xFE, 0xFF, 0x01, 'a'})},
        {"16-bit length", bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF, 'a', 0})},
        {"32-bit length", bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F})},
        {"64-bit length", bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})},
        {"64-bit length that overflows when doubled",
         bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0, 0, 0, 0,
                0x80})},
        {"8-bit beyond the end", bytes({0x09, 'a'})},
    };
    for (const DamagedCase& c : cases) {
        SCOPED_TRACE(c.name);
        RecordReader reader(c.input);
        QString value = QStringLiteral("kept");
        EXPECT_FALSE(reader.readString(value));
        EXPECT_EQ(value, QStringLiteral("kept"));
        EXPECT_TRUE(reader.failed());
        EXPECT_FALSE(reader.failure().isEmpty());
    }
}

TEST(RecordArchive, FirstFailureSticks)
{
    // An integer cut short, then bytes that would read as a valid boolean.
    RecordReader reader(bytes({1, 2}));
    std::int32_t number = 7;
    bool flag = false;
    EXPECT_FALSE(reader.readInt(number));
    EXPECT_EQ(number, 7);
    EXPECT_FALSE(reader.readBool(flag));
    EXPECT_FALSE(flag);
    EXPECT_TRUE(reader.failure().startsWith(QStringLiteral("at byte 0")));
}

TEST(RecordArchive, RandomBytesNeverCrashTheReader)
{
    QRandomGenerator random(20261210);
    for (int round = 0; round < 2000; ++round) {
        QByteArray input(static_cast<qsizetype>(random.bounded(64)), Qt::Uninitialized);
        for (char& b : input) {
            // Bias towards the escape bytes so the long forms are exercised.
            b = static_cast<char>(random.bounded(4) == 0 ? 0xFF : random.bounded(256));
        }
        RecordReader reader(input);
        QString text;
        std::int32_t number = 0;
        bool flag = false;
        while (reader.readString(text) && reader.readInt(number) && reader.readBool(flag)) {
        }
        EXPECT_LE(reader.offset(), input.size());
    }
}

}
