#pragma once

#include "contacts/ContactBook.h"
#include "records/RecordFileWriter.h"

#include <QObject>

namespace orvanta {

// The address book and its file. Every change is handed to the file at
// once, so a dialer that is killed or loses power keeps it.
class ContactStore : public QObject {
    Q_OBJECT

public:
    explicit ContactStore(QObject* parent = nullptr);

    // Reads contact_Orvanta.bin; a missing or broken file keeps what it holds
    // completely.
    void load();

    const ContactBook& book() const { return book_; }

    bool add(const Contact& contact);
    bool replace(int slot, const Contact& contact);
    bool remove(int slot);
    // Adds each in order while there is room, as one change; how many went in.
    int addAll(const std::vector<Contact>& contacts);

    // Writes the book once more and waits until it is on disk (quit).
    bool saveAndWait();
    // Waits for the writes already handed over.
    bool waitUntilWritten() { return writer_.waitUntilWritten(); }

signals:
    void changed();

private:
    void changedNow();

    ContactBook book_;
    RecordFileWriter writer_;
};

}
