#pragma once

#include "contacts/ContactChecks.h"

#include <optional>

namespace orvanta {

class ContactStore;

// The contact editor without its widgets: what it opens with, and what OK
// does with the typed fields.
class ContactEditor {
public:
    enum class Mode { New, Edit };

    // A new contact: every field empty, Home selected.
    explicit ContactEditor(ContactStore& store);
    // Edits the contact in slot.
    ContactEditor(ContactStore& store, int slot);

    Mode mode() const { return mode_; }
    const Contact& initial() const { return initial_; }

    enum class Outcome {
        Saved,    // the editor closes
        Refused,  // a check failed; the editor stays open
        ListFull,
    };
    struct Result {
        Outcome outcome = Outcome::Saved;
        ContactCheck check = ContactCheck::Passed;
        bool focusName = false;
    };
    // typed.addressType is kOfficeAddress when Office is selected.
    Result accept(const Contact& typed);

private:
    ContactStore& store_;
    Mode mode_;
    std::optional<int> slot_;
    Contact initial_;
};

}
