#include "contacts/ContactStore.h"

#include "records/RecordFile.h"

namespace orvanta {

ContactStore::ContactStore(QObject* parent) : QObject(parent), writer_(kContactRecordKind) {}

void ContactStore::load()
{
    const std::optional<QByteArray> bytes = readRecordFileBytes(kContactRecordKind);
    book_ = bytes ? decodeContactFile(*bytes) : ContactBook();
    emit changed();
}

bool ContactStore::add(const Contact& contact)
{
    if (!book_.add(contact)) {
        return false;
    }
    changedNow();
    return true;
}

bool ContactStore::replace(int slot, const Contact& contact)
{
    if (!book_.replace(slot, contact)) {
        return false;
    }
    changedNow();
    return true;
}

bool ContactStore::remove(int slot)
{
    if (!book_.remove(slot)) {
        return false;
    }
    changedNow();
    return true;
}

int ContactStore::addAll(const std::vector<Contact>& contacts)
{
    int added = 0;
    for (const Contact& contact : contacts) {
        if (!book_.add(contact)) {
            break;
        }
        ++added;
    }
    if (added > 0) {
        changedNow();
    }
    return added;
}

bool ContactStore::saveAndWait()
{
    writer_.save(encodeContactFile(book_));
    return writer_.waitUntilWritten();
}

void ContactStore::changedNow()
{
    writer_.save(encodeContactFile(book_));
    emit changed();
}

}
