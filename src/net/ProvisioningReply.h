#pragma once

#include "telephony/EngineSetup.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace orvanta {

// The provisioning server's configuration reply. Every value is read as a
// JSON string; a missing key, or one holding anything but a string, reads
// as empty.
struct ProvisioningReply {
    QString status;
    QString ip;
    QString registrarIp;
    QString vpn;
    QString newKey;
    QString oldKey;
    QString prefix;
    QString size;
    QString sprt;
    QString rereg;
    QString rtrp;
    QString keep;
    QString fips;
    QString fports;
    QString header;
    QString footer;
    QString myAccounts;
    QString balance;
    QString email;
    QString oRecharge;
    QString webCdr;
    QString webCdrUrl;
    QString apiUrl;
    QString smsUrl;
    QString sms;
    QString im;
    QString signupUrl;
    QString connectionType;
    QString ivr;
    QString enPref;
    QString key;

    // Nothing when the text is not a JSON object.
    static std::optional<ProvisioningReply> parse(const QByteArray& text);

    bool accepted() const { return status == QLatin1String("1"); }
    bool encryptionOn() const { return vpn == QLatin1String("on"); }

    // The engine's settings: numbers, encryption keys, registrar and proxy.
    EngineConfiguration engineConfiguration() const;
};

// A number as the dialer reads provisioning values: the leading decimal
// digits (after an optional sign); anything else, or out of range, is 0.
int leadingInteger(const QString& text);

// "AAA-BBB" or "AAA-BBB-CCC": the three-digit groups at positions 0, 4, 8.
struct KeyGroups {
    int first = 0;
    int second = 0;
    int third = 0;
    int dashes = 0;
};
enum class ThirdGroup { Always, OnlyWithTwoDashes };
KeyGroups keyGroups(const QString& text, ThirdGroup third);

}
