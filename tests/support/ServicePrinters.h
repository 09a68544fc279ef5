#pragma once

#include "net/AccountApiClient.h"
#include "net/WebApiClient.h"

#include <ostream>

// Readable service values in test failure messages.
namespace orvanta {

inline void PrintTo(const FriendEntry& f, std::ostream* out)
{
    *out << "{" << f.name.toStdString() << "|" << f.nickname.toStdString() << "|"
         << f.pcphone.toStdString() << "|" << f.fax.toStdString() << "|"
         << f.speeddial.toStdString() << "|" << f.seqno.toStdString() << "}";
}

inline void PrintTo(const CallRecord& c, std::ostream* out)
{
    *out << "{" << c.originaldestinationalias.toStdString() << "|" << c.starttime.toStdString()
         << "|" << c.endtime.toStdString() << "|" << c.callduration.toStdString() << "|"
         << c.callamount.toStdString() << "}";
}

inline void PrintTo(const RateAnswer& a, std::ostream* out)
{
    *out << "{outcome " << static_cast<int>(a.outcome) << ", rate " << a.rate.toStdString()
         << ", mins " << a.mins.toStdString() << "}";
}

inline void PrintTo(const RechargeVerdict& v, std::ostream* out)
{
    *out << "{" << (v.succeeded ? "succeeded" : "failed") << ", \"" << v.text.toStdString()
         << "\"}";
}

}
