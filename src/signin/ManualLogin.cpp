#include "signin/ManualLogin.h"

namespace orvanta {

namespace {

bool holds(const SipAccountRecord& account, const LoginEntry& entry)
{
    return account.accountRegistrar == entry.server && account.accountUser == entry.user &&
           account.accountPassword == entry.password;
}

QString withoutTrailingSlashes(QString url)
{
    while (url.endsWith(QLatin1Char('/'))) {
        url.chop(1);
    }
    return url;
}

}

ManualLoginModel::Outcome ManualLoginModel::submit(const LoginEntry& entry,
                                                   const ConfirmOverwrite& confirmOverwrite)
{
    if (entry.server.isEmpty()) {
        return {Result::Refused, LoginMessage::ServerBlank};
    }
    if (entry.user.isEmpty() || entry.password.isEmpty()) {
        return {Result::Refused, LoginMessage::CredentialsBlank};
    }
    if (!placeFor(entry, confirmOverwrite)) {
        return {Result::Kept, std::nullopt};
    }
    return {Result::Accepted, std::nullopt};
}

void ManualLoginModel::registerDefaultAccount()
{
    if (const SipAccountRecord* account = accounts_.defaultAccount()) {
        session_.registerDefaultAccount(*account);
    }
}

std::optional<int> ManualLoginModel::placeFor(const LoginEntry& entry,
                                              const ConfirmOverwrite& confirmOverwrite)
{
    const std::optional<int> current = accounts_.defaultNumber();
    if (!current) {
        store(1, entry);
        accounts_.makeDefault(1);
        return 1;
    }
    for (int number = 1; number <= kSipAccountCount; ++number) {
        if (holds(accounts_.record(number), entry)) {
            accounts_.makeDefault(number);
            return number;
        }
    }
    for (int number = 1; number <= kSipAccountCount; ++number) {
        if (accounts_.record(number).accountRegistrar.isEmpty()) {
            store(number, entry);
            accounts_.makeDefault(number);
            return number;
        }
    }
    if (!confirmOverwrite()) {
        return std::nullopt;
    }
    store(*current, entry);
    return current;
}

void ManualLoginModel::store(int number, const LoginEntry& entry)
{
    SipAccountRecord& account = accounts_.record(number);
    account.accountRegistrar = entry.server;
    account.accountUser = entry.user;
    account.accountPassword = entry.password;
}

std::optional<LoginEntry> ManualLoginModel::defaultCredentials() const
{
    const SipAccountRecord* account = accounts_.defaultAccount();
    if (!account) {
        return std::nullopt;
    }
    return LoginEntry{account->accountRegistrar, account->accountUser, account->accountPassword};
}

QString ManualLoginModel::signUpUrl() const
{
    return withoutTrailingSlashes(webApiServer_) +
           QStringLiteral("/NewUserSignUp.jsp?groupId=Quorbanites");
}

QString ManualLoginModel::homePageUrl() const
{
    return withoutTrailingSlashes(webApiServer_) + QLatin1Char('/');
}

}
