#pragma once

#include <QString>
#include <functional>

namespace orvanta {

// What the side windows (contacts, recent calls) need from the dialer to
// place a call. The dialer core implements it over its call handling.
class DialRequests {
public:
    virtual ~DialRequests() = default;

    // Any call flag of the selected line is set.
    virtual bool selectedLineInUse() const = 0;
    // Registered and ready for calls.
    virtual bool callsAllowed() const = 0;
    // Shows number as the entered number and, unless it is empty, name in
    // the main window's contact-name label; then places the call the way the
    // call button does (MakeCall, with its own refusals).
    virtual void dial(const QString& number, const QString& contactName) = 0;
    // Set while a side window handles a call request, its refusal box
    // included: the main window ignores "Exit" meanwhile.
    virtual void setPlacingCallFromView(bool placing) = 0;
};

// What the side windows tell the user; the widgets show the texts.
enum class ViewNotice {
    NoItemSelected,
    MultipleCallsNotAllowed,
    NotRegistered,
    ContactListFull,
};

// A side window's call request: refused while the selected line is in use
// or calls are not allowed, else dialled. True when the number was dialled.
bool requestCallFromView(DialRequests& dialer, const QString& number, const QString& contactName,
                         const std::function<void(ViewNotice)>& notify);

}
