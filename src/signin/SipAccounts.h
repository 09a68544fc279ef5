#pragma once

#include "records/SignInRecords.h"
#include "telephony/Engine.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace orvanta {

inline constexpr int kSipAccountCount = 8;

// One manually entered SIP account: a record of the table of eight.
struct SipAccountRecord {
    QString accountUser;
    QString accountPassword;
    QString accountContact;
    QString accountRegistrar;  // the SIP server: host or host:port
    QString accountProxy;
    QString accountRealm;
    std::int32_t accountNumber = 0;
    std::int32_t isDefault = 0;  // 1 for the default account
};

// The eight manual accounts, numbered 1 to 8 as the user sees them. At most
// one is meant to be the default; the dialogs keep that.
class SipAccounts {
public:
    SipAccountRecord& record(int number) { return records_.at(static_cast<size_t>(number - 1)); }
    const SipAccountRecord& record(int number) const
    {
        return records_.at(static_cast<size_t>(number - 1));
    }

    // The first account whose default flag is 1.
    std::optional<int> defaultNumber() const;
    const SipAccountRecord* defaultAccount() const;
    // number becomes the only default.
    void makeDefault(int number);

    // Account 1 as the sign-in record's account block takes it at quit.
    FirstAccount firstAccount() const;

private:
    std::array<SipAccountRecord, kSipAccountCount> records_{};
};

// What the account dialogs ask of the dialer's session.
class ManualAccountSession {
public:
    virtual ~ManualAccountSession() = default;
    // Makes the account the one the dialer calls with: a running engine with
    // a registered account is shut down and started again, then this account
    // registers.
    virtual void registerDefaultAccount(const SipAccountRecord& account) = 0;
};

// The timers of a registration, as the provisioning gives them.
struct RegistrationTimers {
    int expiry = 0;     // rereg
    int rtpPort = 0;    // rtrp
    int keepAlive = 0;  // keep
};

// Registers a manual account with a running engine: sip:<user>@<server>,
// the proxy when the account names one, its realm or any realm. Returns the
// engine's account handle (-1 when refused).
int registerManualAccount(Engine& engine, const SipAccountRecord& account,
                          const RegistrationTimers& timers);

}
