#pragma once

#include "contacts/ContactChecks.h"
#include "contacts/ContactFile.h"

#include <QString>
#include <optional>

namespace orvanta {

class ContactStore;

// Import files larger than this are refused.
inline constexpr qsizetype kMaxImportFileBytes = 32 * 1024 * 1024;
// Imported free-text fields longer than this are refused.
inline constexpr int kMaxImportedFieldLength = 255;

enum class ImportFailure { None, CannotOpen, TooLarge, NoContacts };

struct ImportReading {
    ImportFailure failure = ImportFailure::None;
    ContactFileFormat format = ContactFileFormat::VCard;
    ContactFileContent content;
};

// By the name's extension (.vcf, .vcard, .csv), else by the content.
ContactFileFormat formatOfFile(const QString& path, const QByteArray& bytes);

// Reads and parses a file; takes long for big files, so runs off the GUI
// thread.
ImportReading readContactFile(const QString& path);

enum class SkipReason {
    Unreadable,     // the card or row could not be read
    Invalid,        // refused by the editor's check
    FieldTooLong,   // a field longer than kMaxImportedFieldLength
    AlreadyListed,  // the same contact is in the book already
    ListFull,
};

struct SkippedContact {
    int position = 0;
    SkipReason reason = SkipReason::Unreadable;
    ContactCheck check = ContactCheck::Passed;  // for Invalid
};

struct ImportSummary {
    ImportFailure failure = ImportFailure::None;
    ContactFileFormat format = ContactFileFormat::VCard;
    int imported = 0;
    std::vector<SkippedContact> skipped;  // by position
    int notRead = 0;                      // entries beyond what one file may hold

    int skippedCount() const { return static_cast<int>(skipped.size()) + notRead; }
};

// Adds what was read to the store as new entries of the editor would be:
// each passes the editor's checks and gets its name trimmed.
ImportSummary importInto(ContactStore& store, const ImportReading& reading);

enum class ExportResult { Written, CannotWrite };

// Writes the contacts to path as one step; runs off the GUI thread.
ExportResult exportContacts(const std::vector<Contact>& contacts, const QString& path,
                            ContactFileFormat format);

}
