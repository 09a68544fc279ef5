#pragma once

#include "records/RecordArchive.h"
#include "records/SignInRecords.h"

// Record bytes and values written by hand, as tests need them.
inline QByteArray signInBytes(std::int32_t savePassword, const QString& user,
                              const QString& password)
{
    orvanta::RecordWriter writer;
    writer.writeInt(savePassword);
    writer.writeString(QString());
    writer.writeString(user);
    writer.writeString(password);
    return writer.bytes();
}

inline orvanta::FirstAccount defaultAccount(const QString& user)
{
    orvanta::FirstAccount account;
    account.isDefault = 1;
    account.user = user;
    return account;
}
