#include "contacts/ContactCsv.h"

#include <array>
#include <optional>

namespace orvanta {

namespace {

struct Column {
    const char* header;
    QString Contact::*field;
};

// Our columns, in the order they are written.
constexpr std::array<Column, 13> kColumns = {{
    {"Name", &Contact::name},
    {"Nick Name", &Contact::nickname},
    {"Address", &Contact::address},
    {"Address Type", &Contact::addressType},
    {"City", &Contact::city},
    {"State", &Contact::state},
    {"Country", &Contact::country},
    {"Pin Code", &Contact::pincode},
    {"Phone", &Contact::phone},
    {"Pager", &Contact::pager},
    {"Mobile", &Contact::mobile},
    {"Fax", &Contact::fax},
    {"Email", &Contact::email},
}};

// Other spellings of the same columns in spreadsheet exports.
constexpr std::array<Column, 2> kOtherHeaders = {{
    {"E-mail", &Contact::email},
    {"Nickname", &Contact::nickname},
}};

std::optional<QString Contact::*> fieldOfHeader(const QString& header)
{
    const QString wanted = header.trimmed();
    const auto matches = [&](const Column& column) {
        return wanted.compare(QLatin1String(column.header), Qt::CaseInsensitive) == 0;
    };
    for (const Column& column : kColumns) {
        if (matches(column)) {
            return column.field;
        }
    }
    for (const Column& column : kOtherHeaders) {
        if (matches(column)) {
            return column.field;
        }
    }
    return std::nullopt;
}

bool isBlank(const CsvRecord& record)
{
    return std::all_of(record.fields.begin(), record.fields.end(),
                       [](const QString& field) { return field.trimmed().isEmpty(); });
}

QString addressTypeOf(const QString& cell)
{
    const QString type = cell.trimmed();
    const bool office = type.compare(kOfficeAddress, Qt::CaseInsensitive) == 0 ||
                        type.compare(QLatin1String("Office"), Qt::CaseInsensitive) == 0;
    return office ? kOfficeAddress : kHomeAddress;
}

}

std::vector<CsvRecord> parseCsv(const QString& text)
{
    std::vector<CsvRecord> records;
    CsvRecord record;
    QString field;
    bool quoted = false;
    bool atFieldStart = true;
    bool recordStarted = false;
    const auto endField = [&] {
        record.fields.append(field);
        field.clear();
        atFieldStart = true;
    };
    const auto endRecord = [&] {
        endField();
        records.push_back(std::move(record));
        record = CsvRecord();
        recordStarted = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c != QLatin1Char('"')) {
                field.append(c);
            } else if (i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                field.append(c);
                ++i;
            } else {
                quoted = false;
            }
            continue;
        }
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) {
                ++i;
            }
            endRecord();
            continue;
        }
        recordStarted = true;
        if (c == QLatin1Char(',')) {
            endField();
        } else if (c == QLatin1Char('"') && atFieldStart) {
            quoted = true;
            atFieldStart = false;
        } else {
            // A quote inside an unquoted field, or after a closing quote, is text.
            field.append(c);
            atFieldStart = false;
        }
    }
    if (quoted) {
        record.unterminated = true;
        endRecord();
    } else if (recordStarted) {
        endRecord();  // the last line without its line break
    }
    return records;
}

QString csvRecordText(const QStringList& fields)
{
    QStringList cells;
    for (const QString& field : fields) {
        const bool needsQuotes =
            field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('"')) ||
            field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r'));
        if (needsQuotes) {
            QString inner = field;
            inner.replace(QLatin1String("\""), QLatin1String("\"\""));
            cells.append(QLatin1Char('"') + inner + QLatin1Char('"'));
        } else {
            cells.append(field);
        }
    }
    return cells.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

ContactFileContent readContactCsv(const QByteArray& bytes)
{
    ContactFileContent content;
    const std::vector<CsvRecord> records = parseCsv(decodeImportedText(bytes));
    if (records.empty()) {
        return content;
    }
    std::vector<std::optional<QString Contact::*>> fields;
    for (const QString& header : records.front().fields) {
        fields.push_back(fieldOfHeader(header));
        content.recognised = content.recognised || fields.back().has_value();
    }
    if (!content.recognised) {
        return content;
    }
    int entries = 0;
    for (std::size_t row = 1; row < records.size(); ++row) {
        const CsvRecord& record = records[row];
        const int position = static_cast<int>(row) + 1;  // the header is row 1
        if (isBlank(record) && !record.unterminated) {
            continue;
        }
        if (++entries > kMaxEntriesPerFile) {
            ++content.entriesBeyondLimit;
            continue;
        }
        if (record.unterminated) {
            content.unread.push_back({position});
            continue;
        }
        Contact contact;
        for (qsizetype i = 0; i < record.fields.size() && i < qsizetype(fields.size()); ++i) {
            if (fields[std::size_t(i)]) {
                contact.*(*fields[std::size_t(i)]) = record.fields[i];
            }
        }
        contact.addressType = addressTypeOf(contact.addressType);
        content.contacts.push_back({position, contact});
    }
    return content;
}

QByteArray writeContactCsv(const std::vector<Contact>& contacts)
{
    QStringList header;
    for (const Column& column : kColumns) {
        header.append(QLatin1String(column.header));
    }
    // A byte order mark, so spreadsheets take the file as UTF-8.
    QString text = QChar(0xFEFF) + csvRecordText(header);
    for (const Contact& contact : contacts) {
        QStringList fields;
        for (const Column& column : kColumns) {
            fields.append(contact.*column.field);
        }
        text += csvRecordText(fields);
    }
    return text.toUtf8();
}

}
