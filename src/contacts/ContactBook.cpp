#include "contacts/ContactBook.h"

#include "records/RecordArchive.h"

#include <algorithm>
#include <string>

namespace orvanta {

bool ContactBook::add(const Contact& contact)
{
    if (isFull()) {
        return false;
    }
    contacts_.push_back(contact);
    return true;
}

bool ContactBook::replace(int slot, const Contact& contact)
{
    if (!isSlot(slot)) {
        return false;
    }
    contacts_[static_cast<std::size_t>(slot)] = contact;
    return true;
}

bool ContactBook::remove(int slot)
{
    if (!isSlot(slot)) {
        return false;
    }
    contacts_.erase(contacts_.begin() + slot);
    return true;
}

QString ContactBook::nameForNumber(const QString& number) const
{
    for (const Contact& contact : contacts_) {
        if (contact.mobile == number || contact.phone == number) {
            return contact.name;
        }
    }
    return {};
}

bool ContactBook::contains(const Contact& contact) const
{
    return std::find(contacts_.begin(), contacts_.end(), contact) != contacts_.end();
}

QString numberToCall(const Contact& contact)
{
    for (const QString* number : {&contact.mobile, &contact.phone, &contact.pager}) {
        if (!number->isEmpty()) {
            return *number;
        }
    }
    return {};
}

QByteArray encodeContactFile(const ContactBook& book)
{
    RecordWriter writer;
    SaveArchive archive(writer);
    writer.writeInt(book.size());
    for (Contact contact : book.contacts()) {
        contact.visit(archive);
    }
    return writer.bytes();
}

ContactBook decodeContactFile(const QByteArray& bytes)
{
    ContactBook book;
    RecordReader reader(bytes);
    std::int32_t count = 0;
    if (!reader.readInt(count)) {
        return book;
    }
    LoadArchive archive(reader);
    for (std::int32_t i = 0; i < std::min(count, std::int32_t{ContactBook::kCapacity}); ++i) {
        Contact contact;
        contact.visit(archive);
        // A slot without a name ends the used slots.
        if (reader.failed() || contact.name.isEmpty()) {
            break;
        }
        book.add(contact);
    }
    return book;
}

std::vector<RecordKind> contactRecordKinds()
{
    RecordKind contacts{QLatin1String(kContactRecordKind), recordFileNameOf(kContactRecordKind),
                        [](RecordReader& reader, ListingArchive& archive) {
                            std::int32_t count = 0;
                            archive.field("count", count);
                            // As the dialer reads it: no more than the book holds.
                            for (std::int32_t i = 0;
                                 i < std::min(count, std::int32_t{ContactBook::kCapacity}) &&
                                 !reader.failed();
                                 ++i) {
                                Contact contact;
                                contact.visit(archive);
                            }
                        }};
    return {contacts};
}

}
