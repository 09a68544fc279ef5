#pragma once

#include <QString>

namespace orvanta {

// Address types as stored in a contact record.
inline const QString kHomeAddress = QStringLiteral("HA");
inline const QString kOfficeAddress = QStringLiteral("OA");

// One entry of the local address book, thirteen texts in file order.
struct Contact {
    QString name;
    QString nickname;
    QString address;
    QString addressType;  // kHomeAddress or kOfficeAddress
    QString city;
    QString state;
    QString country;
    QString pincode;
    QString phone;
    QString pager;
    QString mobile;
    QString fax;
    QString email;

    template <typename Archive>
    void visit(Archive& a)
    {
        a.field("name", name);
        a.field("nickname", nickname);
        a.field("address", address);
        a.field("addressType", addressType);
        a.field("city", city);
        a.field("state", state);
        a.field("country", country);
        a.field("pincode", pincode);
        a.field("phone", phone);
        a.field("pager", pager);
        a.field("mobile", mobile);
        a.field("fax", fax);
        a.field("email", email);
    }

    bool isOffice() const { return addressType == kOfficeAddress; }
    bool operator==(const Contact&) const = default;
};

}
