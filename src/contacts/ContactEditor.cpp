#include "contacts/ContactEditor.h"

#include "contacts/ContactStore.h"

namespace orvanta {

ContactEditor::ContactEditor(ContactStore& store) : store_(store), mode_(Mode::New)
{
    initial_.addressType = kHomeAddress;
}

ContactEditor::ContactEditor(ContactStore& store, int slot)
        : store_(store), mode_(Mode::Edit), slot_(slot)
{
    if (slot >= 0 && slot < store.book().size()) {
        initial_ = store.book().at(slot);
    }
    if (!initial_.isOffice()) {
        initial_.addressType = kHomeAddress;
    }
}

ContactEditor::Result ContactEditor::accept(const Contact& typed)
{
    Contact contact = typed;
    contact.addressType = typed.isOffice() ? kOfficeAddress : kHomeAddress;
    const ContactCheck check = checkContact(contact);
    if (check != ContactCheck::Passed) {
        return {Outcome::Refused, check, checkFocusesName(check)};
    }
    if (mode_ == Mode::New) {
        contact.name = nameForNewContact(contact.name);
        return store_.add(contact) ? Result{} : Result{Outcome::ListFull};
    }
    // An edit keeps the name as typed.
    store_.replace(*slot_, contact);
    return {};
}

}
