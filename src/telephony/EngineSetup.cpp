#include "telephony/EngineSetup.h"

#include "telephony/SipUserPart.h"

namespace orvanta {

QByteArray sipUri(const QString& user, const QString& host)
{
    return QByteArrayLiteral("sip:") + sipUserPart(user) + '@' + host.toUtf8();
}

void configureEncryption(const EngineApi& api, const EngineConfiguration& config)
{
    const KeyTriple& k = config.numericKey;
    const KeyTriple& p = config.prefix;
    if (!config.encryption) {
        api.setSipEncryption2(0, "");
        api.setRtpEncryption(0, 0, 0, 0, 0, 0, 0);
        return;
    }
    if (config.numericKeyOff) {
        api.setRtpEncryption(0, 0, 0, 0, 0, 0, 0);
        api.setSipEncryption2(1, config.textKey.constData());
        api.setRtpEncryption2(1, config.textKey.constData());
        return;
    }
    if (config.numericKeyDashes == 2) {
        api.newSetSipEncryption(1, k.b, k.a, k.c);
        api.setNewRtpEncryption(1, k.b, k.a, k.c, 1, p.b, p.c, p.a);
    } else if (config.numericKeyDashes == 1) {
        api.setSipEncryption(1, k.b, k.a);
        api.setRtpEncryption(1, k.b, k.a, 1, p.b, p.c, p.a);
    }
}

int registerSipAccount(const EngineApi& api, const EngineConfiguration& config,
                       const QString& sipUser, const QString& sipPassword)
{
    const QByteArray account = sipUri(sipUser, config.registrarHost);
    const QByteArray proxy = QByteArrayLiteral("sip:") + config.proxyHost.toUtf8();
    return api.registerAccount(account.constData(), account.constData(), "*",
                               sipUser.toUtf8().constData(), sipPassword.toUtf8().constData(),
                               config.encryption ? proxy.constData() : nullptr, 1, config.expiry,
                               config.rtpPort, config.keepAlive);
}

}
