#pragma once

#include "records/RecordDump.h"
#include "records/RecordFile.h"

#include <QString>
#include <cstdint>

namespace orvanta {

// Fields 1-4 of account_Orvanta.bin.
struct SignInRecord {
    std::int32_t savePassword = 0;
    QString reservedText;
    QString userName;
    QString password;

    template <typename Archive>
    void visit(Archive& a)
    {
        a.field("savePassword", savePassword);
        a.field("reservedText", reservedText);
        a.field("userName", userName);
        a.field("password", password);
    }

    // What goes to disk: the password only when the user asked to keep it.
    SignInRecord forSaving() const;
};

// The longest user name the sign-in dialog takes (its user field's limit).
inline constexpr int kMaxSavedUserNameLength = 40;

// Whether a loaded sign-in record names an account the dialer could have
// saved: its user name was read, is not empty and fits the sign-in dialog.
bool holdsSavedAccount(const SignInRecord& record, const LoadOutcome& loaded);

// Fields 5-13 of account_Orvanta.bin: the first SIP account, written at quit.
struct AccountBlock {
    std::int32_t isDefault = 0;
    QString accountUser;
    QString userName;
    QString accountPassword;
    QString accountRegistrar;
    QString accountContact;
    QString accountProxy;
    QString reservedText;
    std::int32_t accountNumber = 0;

    template <typename Archive>
    void visit(Archive& a)
    {
        a.field("isDefault", isDefault);
        a.field("accountUser", accountUser);
        a.field("userName", userName);
        a.field("accountPassword", accountPassword);
        a.field("accountRegistrar", accountRegistrar);
        a.field("accountContact", accountContact);
        a.field("accountProxy", accountProxy);
        a.field("reservedText", reservedText);
        a.field("accountNumber", accountNumber);
    }
};

// The whole sign-in record as written at quit.
struct SignInRecordWithAccount {
    SignInRecord header;
    AccountBlock account;

    template <typename Archive>
    void visit(Archive& a)
    {
        header.visit(a);
        account.visit(a);
    }
};

// The first account as the account block needs it.
struct FirstAccount {
    std::int32_t isDefault = 0;
    QString user;
    QString registrar;
    QString contact;
    QString proxy;
    std::int32_t number = 0;
    QString password;
};

// Builds the block written at quit. The block keeps the first account's own
// password, and only when savePassword is exactly 1 (the user asked to keep
// passwords); otherwise it is empty.
AccountBlock makeAccountBlock(const SignInRecord& current, const FirstAccount& account);

// IP_Orvanta.bin: the server fail-over record.
struct FailoverRecord {
    QString altServerA;
    QString altPortA1;
    QString altPortA2;
    QString altServerB;
    QString altPortB1;
    QString altPortB2;
    QString spareText1;
    QString spareText2;
    QString spareText3;
    bool spareFlag = false;

    template <typename Archive>
    void visit(Archive& a)
    {
        a.field("altServerA", altServerA);
        a.field("altPortA1", altPortA1);
        a.field("altPortA2", altPortA2);
        a.field("altServerB", altServerB);
        a.field("altPortB1", altPortB1);
        a.field("altPortB2", altPortB2);
        a.field("spareText1", spareText1);
        a.field("spareText2", spareText2);
        a.field("spareText3", spareText3);
        a.field("spareFlag", spareFlag);
    }
};

inline constexpr const char* kSignInRecordKind = "account";
inline constexpr const char* kFailoverRecordKind = "IP";

// The sign-in record (which may carry the account block) and the fail-over
// record, for orvanta-records.
std::vector<RecordKind> signInRecordKinds();

}
