// The provisioning reply as the dialer takes it from the wire: descrambled
// with the request's key, checked, parsed and turned into the engine's
// settings.
//
// Input: one byte n, then n key bytes (n is taken modulo 64), then the body
// as the server sent it (scrambled).
#include "fuzz/FuzzCheck.h"
#include "net/ProvisioningTransport.h"
#include "net/RequestProtection.h"
#include "net/ProvisioningReply.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const std::size_t keyLength = std::min<std::size_t>(data[0] % 64, size - 1);
    const std::string key(reinterpret_cast<const char*>(data) + 1, keyLength);
    orvanta::platform::HttpResult result;
    result.transferred = true;
    result.status = 200;
    result.body.assign(reinterpret_cast<const char*>(data) + 1 + keyLength, size - 1 - keyLength);

    const QByteArray reply = orvanta::provisioningReplyText(result, key);
    if (reply.isEmpty()) {
        return 0;
    }
    FUZZ_CHECK(orvanta::scrambled(reply.toStdString(), key) == result.body);
    if (const auto parsed = orvanta::ProvisioningReply::parse(reply)) {
        parsed->engineConfiguration();
    }
    return 0;
}
