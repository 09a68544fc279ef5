#include "contacts/ContactImport.h"

#include "contacts/ContactCsv.h"
#include "contacts/ContactStore.h"
#include "contacts/VCard.h"
#include "platform/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace orvanta {

namespace {

bool hasFieldTooLong(const Contact& contact)
{
    const QString* fields[] = {&contact.name,  &contact.nickname, &contact.address, &contact.city,
                               &contact.state, &contact.country,  &contact.pincode, &contact.phone,
                               &contact.pager, &contact.mobile,   &contact.fax,     &contact.email};
    return std::any_of(std::begin(fields), std::end(fields), [](const QString* field) {
        return field->size() > kMaxImportedFieldLength;
    });
}

}

ContactFileFormat formatOfFile(const QString& path, const QByteArray& bytes)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("vcf") || suffix == QLatin1String("vcard")) {
        return ContactFileFormat::VCard;
    }
    if (suffix == QLatin1String("csv")) {
        return ContactFileFormat::Csv;
    }
    return bytes.left(4096).toUpper().contains("BEGIN:VCARD") ? ContactFileFormat::VCard
                                                              : ContactFileFormat::Csv;
}

ImportReading readContactFile(const QString& path)
{
    ImportReading reading;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reading.failure = ImportFailure::CannotOpen;
        return reading;
    }
    const QByteArray bytes = file.read(kMaxImportFileBytes + 1);
    if (bytes.size() > kMaxImportFileBytes) {
        reading.failure = ImportFailure::TooLarge;
        return reading;
    }
    reading.format = formatOfFile(path, bytes);
    reading.content =
        reading.format == ContactFileFormat::VCard ? readVCards(bytes) : readContactCsv(bytes);
    if (!reading.content.recognised) {
        reading.failure = ImportFailure::NoContacts;
    }
    return reading;
}

ImportSummary importInto(ContactStore& store, const ImportReading& reading)
{
    ImportSummary summary;
    summary.failure = reading.failure;
    summary.format = reading.format;
    if (reading.failure != ImportFailure::None) {
        return summary;
    }
    for (const UnreadEntry& entry : reading.content.unread) {
        summary.skipped.push_back({entry.position, SkipReason::Unreadable});
    }
    std::vector<Contact> accepted;
    const auto isListed = [&](const Contact& contact) {
        return store.book().contains(contact) ||
               std::find(accepted.begin(), accepted.end(), contact) != accepted.end();
    };
    const int room = ContactBook::kCapacity - store.book().size();
    for (const ReadContact& read : reading.content.contacts) {
        Contact contact = normaliseImportedContact(read.contact);
        const ContactCheck check = checkContact(contact);
        std::optional<SkipReason> skip;
        if (hasFieldTooLong(contact)) {
            skip = SkipReason::FieldTooLong;
        } else if (check != ContactCheck::Passed) {
            skip = SkipReason::Invalid;
        } else {
            contact.name = nameForNewContact(contact.name);
            if (isListed(contact)) {
                skip = SkipReason::AlreadyListed;
            } else if (static_cast<int>(accepted.size()) >= room) {
                skip = SkipReason::ListFull;
            }
        }
        if (skip) {
            summary.skipped.push_back({read.position, *skip, check});
        } else {
            accepted.push_back(contact);
        }
    }
    std::sort(
        summary.skipped.begin(), summary.skipped.end(),
        [](const SkippedContact& a, const SkippedContact& b) { return a.position < b.position; });
    summary.imported = store.addAll(accepted);
    summary.notRead = reading.content.entriesBeyondLimit;
    return summary;
}

ExportResult exportContacts(const std::vector<Contact>& contacts, const QString& path,
                            ContactFileFormat format)
{
    const QByteArray bytes =
        format == ContactFileFormat::VCard ? writeVCards(contacts) : writeContactCsv(contacts);
    const bool written = platform::writeFileAtomically(
        QFile::encodeName(path).toStdString(),
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    return written ? ExportResult::Written : ExportResult::CannotWrite;
}

}
