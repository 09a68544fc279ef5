#pragma once

#include "contacts/Contact.h"
#include "contacts/DialRequests.h"

#include <QString>
#include <QStringList>
#include <ostream>
#include <vector>

namespace orvanta {
// Readable contacts in test failure messages.
inline void PrintTo(const Contact& c, std::ostream* out)
{
    const QStringList fields = {c.name,   c.nickname, c.address, c.addressType, c.city,
                                c.state,  c.country,  c.pincode, c.phone,       c.pager,
                                c.mobile, c.fax,      c.email};
    *out << '{' << fields.join(QStringLiteral("|")).toStdString() << '}';
}
}

// A dialer that records what the side windows ask of it.
struct FakeDialer : orvanta::DialRequests {
    struct Dial {
        QString number;
        QString name;
        bool operator==(const Dial&) const = default;
    };

    bool selectedLineInUse() const override { return lineInUse; }
    bool callsAllowed() const override { return allowed; }
    void dial(const QString& number, const QString& name) override
    {
        dials.push_back({number, name});
        dialledWhilePlacing = placing;
    }
    void setPlacingCallFromView(bool value) override { placing = value; }

    bool lineInUse = false;
    bool allowed = true;
    bool placing = false;
    bool dialledWhilePlacing = false;
    std::vector<Dial> dials;
};

inline orvanta::Contact contactNamed(const QString& name, const QString& mobile,
                                     const QString& phone = {}, const QString& pager = {})
{
    orvanta::Contact contact;
    contact.name = name;
    contact.mobile = mobile;
    contact.phone = phone;
    contact.pager = pager;
    contact.addressType = orvanta::kHomeAddress;
    return contact;
}
