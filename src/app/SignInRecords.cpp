#include "app/SignInRecords.h"

namespace orvanta {

SignInRecord SignInRecord::forSaving() const
{
    SignInRecord saved = *this;
    if (savePassword == 0) {
        saved.password.clear();
    }
    return saved;
}

AccountBlock makeAccountBlock(const SignInRecord& current, const FirstAccount& account)
{
    AccountBlock block;
    block.isDefault = account.isDefault;
    block.accountUser = account.user;
    block.userName = current.userName;
    block.accountPassword = current.savePassword == 1 ? current.password : QString();
    block.accountRegistrar = account.registrar;
    block.accountContact = account.contact;
    block.accountProxy = account.proxy;
    block.reservedText = current.reservedText;
    block.accountNumber = account.number;
    return block;
}

}
