#pragma once

#include "contacts/Contact.h"
#include "records/RecordDump.h"

#include <QByteArray>
#include <vector>

namespace orvanta {

// The address book: at most 1000 contacts in the order they were added.
// Slot i is the i-th contact; removing one moves the later ones down.
class ContactBook {
public:
    static constexpr int kCapacity = 1000;

    int size() const { return static_cast<int>(contacts_.size()); }
    bool isEmpty() const { return contacts_.empty(); }
    bool isFull() const { return size() >= kCapacity; }
    const Contact& at(int slot) const { return contacts_[static_cast<std::size_t>(slot)]; }
    const std::vector<Contact>& contacts() const { return contacts_; }

    // Into the first free slot; false when the book is full.
    bool add(const Contact& contact);
    bool replace(int slot, const Contact& contact);
    bool remove(int slot);

    // The name of the first contact whose mobile, else whose phone number is
    // exactly number; empty when none. Pager numbers do not count.
    QString nameForNumber(const QString& number) const;
    bool contains(const Contact& contact) const;

private:
    bool isSlot(int slot) const { return slot >= 0 && slot < size(); }

    std::vector<Contact> contacts_;
};

// The number a call to this contact goes to: mobile, else phone, else pager.
QString numberToCall(const Contact& contact);

// contact_Orvanta.bin: the count, then each contact's thirteen texts.
inline constexpr const char* kContactRecordKind = "contact";
QByteArray encodeContactFile(const ContactBook& book);
// Reads what the file holds completely, up to the first failure, the first
// contact without a name, or the book's capacity.
ContactBook decodeContactFile(const QByteArray& bytes);

std::vector<RecordKind> contactRecordKinds();

}
