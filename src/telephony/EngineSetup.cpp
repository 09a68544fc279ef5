#include "telephony/EngineSetup.h"

#include "telephony/SipUserPart.h"

namespace orvanta {

QByteArray sipUri(const QString& user, const QString& host)
{
    return QByteArrayLiteral("sip:") + sipUserPart(user) + '@' + host.toUtf8();
}

void configureEncryption(Engine& engine, const EngineConfiguration& config)
{
    const KeyTriple& k = config.numericKey;
    const KeyTriple& p = config.prefix;
    if (!config.encryption) {
        engine.setSipEncryption2(0, "");
        engine.setRtpEncryption(0, 0, 0, 0, 0, 0, 0);
        return;
    }
    if (config.numericKeyOff) {
        engine.setRtpEncryption(0, 0, 0, 0, 0, 0, 0);
        engine.setSipEncryption2(1, config.textKey.constData());
        engine.setRtpEncryption2(1, config.textKey.constData());
        return;
    }
    if (config.numericKeyDashes == 2) {
        engine.newSetSipEncryption(1, k.b, k.a, k.c);
        engine.setNewRtpEncryption(1, k.b, k.a, k.c, 1, p.b, p.c, p.a);
    } else if (config.numericKeyDashes == 1) {
        engine.setSipEncryption(1, k.b, k.a);
        engine.setRtpEncryption(1, k.b, k.a, 1, p.b, p.c, p.a);
    }
}

int registerSipAccount(Engine& engine, const EngineConfiguration& config, const QString& sipUser,
                       const QString& sipPassword)
{
    const QByteArray account = sipUri(sipUser, config.registrarHost);
    const QByteArray proxy = QByteArrayLiteral("sip:") + config.proxyHost.toUtf8();
    return engine.registerAccount(account.constData(), account.constData(), "*",
                                  sipUser.toUtf8().constData(), sipPassword.toUtf8().constData(),
                                  config.encryption ? proxy.constData() : nullptr, 1, config.expiry,
                                  config.rtpPort, config.keepAlive);
}

}
