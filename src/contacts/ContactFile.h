#pragma once

#include "contacts/Contact.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace orvanta {

// Contacts exchanged with other address books.
enum class ContactFileFormat { VCard, Csv };

// One contact as a file holds it, before the editor's checks. position is
// the card's number (vCard) or the spreadsheet row (CSV, the header is 1).
struct ReadContact {
    int position = 0;
    Contact contact;
};

// A card the vCard library refused, or a CSV row whose quoted field never
// ends.
struct UnreadEntry {
    int position = 0;
};

// Entries of one file that are read at most: ten times what the book holds.
inline constexpr int kMaxEntriesPerFile = 10000;

struct ContactFileContent {
    bool recognised = false;  // vCards were found, or a CSV header we know
    std::vector<ReadContact> contacts;
    std::vector<UnreadEntry> unread;
    int entriesBeyondLimit = 0;  // past kMaxEntriesPerFile, not read
};

// Text of an imported file: UTF-8 (a byte order mark is dropped), or Latin-1
// when the bytes are not UTF-8.
QString decodeImportedText(const QByteArray& bytes);

// Numbers as the dial pad knows them: digits-only fields lose the spaces,
// dashes, dots, brackets and slashes that address books format them with, and
// a leading "+"; the phone field only loses its spaces. Line breaks in any
// field become spaces.
Contact normaliseImportedContact(Contact contact);

}
