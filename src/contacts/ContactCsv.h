#pragma once

#include "contacts/ContactFile.h"

#include <QStringList>

namespace orvanta {

// One record of a CSV file (RFC 4180: fields separated by commas, quoted
// with double quotes when they hold a comma, a quote or a line break, quotes
// doubled inside).
struct CsvRecord {
    QStringList fields;
    bool unterminated = false;  // a quoted field ran to the end of the text
};

std::vector<CsvRecord> parseCsv(const QString& text);
QString csvRecordText(const QStringList& fields);

// Our header: "Name","Nick Name",... one column per contact field. Reading
// also takes the columns of common spreadsheet exports ("E-mail"), in any
// order, and ignores the columns it does not know.
ContactFileContent readContactCsv(const QByteArray& bytes);
QByteArray writeContactCsv(const std::vector<Contact>& contacts);

}
