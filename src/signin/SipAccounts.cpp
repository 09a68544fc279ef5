#include "signin/SipAccounts.h"

#include "telephony/EngineSetup.h"

namespace orvanta {

std::optional<int> SipAccounts::defaultNumber() const
{
    for (int number = 1; number <= kSipAccountCount; ++number) {
        if (record(number).isDefault == 1) {
            return number;
        }
    }
    return std::nullopt;
}

const SipAccountRecord* SipAccounts::defaultAccount() const
{
    const std::optional<int> number = defaultNumber();
    return number ? &record(*number) : nullptr;
}

void SipAccounts::makeDefault(int number)
{
    for (SipAccountRecord& account : records_) {
        account.isDefault = 0;
    }
    record(number).isDefault = 1;
}

FirstAccount SipAccounts::firstAccount() const
{
    const SipAccountRecord& first = record(1);
    FirstAccount block;
    block.isDefault = first.isDefault;
    block.user = first.accountUser;
    block.registrar = first.accountRegistrar;
    block.contact = first.accountContact;
    block.proxy = first.accountProxy;
    block.number = first.accountNumber;
    block.password = first.accountPassword;
    return block;
}

int registerManualAccount(Engine& engine, const SipAccountRecord& account,
                          const RegistrationTimers& timers)
{
    const QByteArray uri = sipUri(account.accountUser, account.accountRegistrar);
    QByteArray proxy = account.accountProxy.toUtf8();
    if (!proxy.isEmpty() && !proxy.startsWith("sip:")) {
        proxy.prepend("sip:");
    }
    const QByteArray realm =
        account.accountRealm.isEmpty() ? QByteArrayLiteral("*") : account.accountRealm.toUtf8();
    return engine.registerAccount(uri.constData(), uri.constData(), realm.constData(),
                                  account.accountUser.toUtf8().constData(),
                                  account.accountPassword.toUtf8().constData(),
                                  proxy.isEmpty() ? nullptr : proxy.constData(), 1, timers.expiry,
                                  timers.rtpPort, timers.keepAlive);
}

}
