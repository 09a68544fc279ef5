#include "records/SignInRecords.h"

namespace orvanta {

SignInRecord SignInRecord::forSaving() const
{
    SignInRecord saved = *this;
    if (savePassword == 0) {
        saved.password.clear();
    }
    return saved;
}

bool holdsSavedAccount(const SignInRecord& record, const LoadOutcome& loaded)
{
    constexpr int kFieldsUpToUserName = 3;
    return loaded.fieldsRead >= kFieldsUpToUserName && !record.userName.isEmpty() &&
           record.userName.size() <= kMaxSavedUserNameLength;
}

AccountBlock makeAccountBlock(const SignInRecord& current, const FirstAccount& account)
{
    AccountBlock block;
    block.isDefault = account.isDefault;
    block.accountUser = account.user;
    block.userName = current.userName;
    block.accountPassword = current.savePassword == 1 ? account.password : QString();
    block.accountRegistrar = account.registrar;
    block.accountContact = account.contact;
    block.accountProxy = account.proxy;
    block.reservedText = current.reservedText;
    block.accountNumber = account.number;
    return block;
}

std::vector<RecordKind> signInRecordKinds()
{
    // The sign-in record may end after field 4 or carry the account block.
    RecordKind signIn{QLatin1String(kSignInRecordKind), recordFileNameOf(kSignInRecordKind),
                      [](RecordReader& reader, ListingArchive& archive) {
                          SignInRecordWithAccount record;
                          record.header.visit(archive);
                          if (!reader.failed() && !reader.atEnd()) {
                              record.account.visit(archive);
                          }
                      }};
    return {signIn, plainRecordKind<FailoverRecord>(kFailoverRecordKind)};
}

}
