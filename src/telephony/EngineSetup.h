#pragma once

#include "telephony/Engine.h"

#include <QByteArray>
#include <QString>

namespace orvanta {

// Numeric key groups of the encryption settings.
struct KeyTriple {
    int a = 0;
    int b = 0;
    int c = 0;
};

// Everything the engine needs from a sign-in's provisioning.
struct EngineConfiguration {
    int packetTime = 0;  // dll_init size
    int sipPort = 0;     // dll_init sprt
    int expiry = 0;      // rereg
    int rtpPort = 0;     // rtrp
    int keepAlive = 0;   // keep
    bool encryption = false;
    bool numericKeyOff = false;  // the numeric key is the text "off"
    int numericKeyDashes = 0;
    KeyTriple numericKey;  // groups of the numeric key
    KeyTriple prefix;      // groups of the prefix
    QByteArray textKey;    // low byte of each character of the key text
    QString registrarHost;
    QString proxyHost;
};

// "sip:" + user + "@" + host, as 8-bit text for the engine; the user part
// escaped (sipUserPart), so any user name or dialled text gives an address.
QByteArray sipUri(const QString& user, const QString& host);

// Hands the encryption switch and keys to the engine's setters.
void configureEncryption(Engine& engine, const EngineConfiguration& config);

// Registers sip:<user>@<registrar> with the outbound proxy sip:<proxy> when
// encryption is on; returns the engine's account handle.
int registerSipAccount(Engine& engine, const EngineConfiguration& config, const QString& sipUser,
                       const QString& sipPassword);

}
