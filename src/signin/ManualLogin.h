#pragma once

#include "signin/SipAccounts.h"

#include <QString>
#include <functional>
#include <optional>

namespace orvanta {

// What the user typed into the manual account dialog.
struct LoginEntry {
    QString server;    // "SIP IP /Domain"
    QString user;      // "Phone Id"
    QString password;  // "Phone Pin"
};

enum class LoginMessage { ServerBlank, CredentialsBlank };

// The manual account dialog's logic: where an entered account goes in the
// table of eight, which one becomes the default, and the pages it opens.
class ManualLoginModel {
public:
    enum class Result {
        Accepted,  // the dialog closes; then the default account registers
        Refused,   // a message says why; the dialog stays open
        Kept,      // the user would not overwrite the default; stays open
    };
    struct Outcome {
        Result result = Result::Refused;
        std::optional<LoginMessage> message;
    };
    // Asked only when all eight accounts are taken: may the default account
    // be overwritten?
    using ConfirmOverwrite = std::function<bool()>;

    ManualLoginModel(SipAccounts& accounts, ManualAccountSession& session, QString webApiServer)
            : accounts_(accounts), session_(session), webApiServer_(std::move(webApiServer))
    {
    }

    Outcome submit(const LoginEntry& entry, const ConfirmOverwrite& confirmOverwrite);
    // After an accepted entry, once the dialog has closed: the session
    // registers the default account.
    void registerDefaultAccount();

    // The default account's user name and password, to fill the dialog
    // after the options sheet closed with OK; nothing without a default.
    std::optional<LoginEntry> defaultCredentials() const;

    QString signUpUrl() const;
    QString homePageUrl() const;

private:
    // The record the entry goes to; nothing when the user keeps the table.
    std::optional<int> placeFor(const LoginEntry& entry, const ConfirmOverwrite& confirmOverwrite);
    void store(int number, const LoginEntry& entry);

    SipAccounts& accounts_;
    ManualAccountSession& session_;
    QString webApiServer_;
};

}
