// The account portal's JSON answers (sign-in and balance) from any bytes.
#include "net/PortalClient.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    orvanta::parsePortalAnswer(text);
    orvanta::parseBalanceAnswer(text);
    return 0;
}
