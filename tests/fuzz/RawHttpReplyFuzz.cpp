// The raw HTTP request's reply splitting, as the reply may arrive from the
// socket in pieces of any size.
//
// Input: a byte choosing the header cap, one choosing the body cap, one
// seeding the piece sizes, then the reply stream.
#include "fuzz/FuzzCheck.h"
#include "net/RawHttpRequest.h"

#include <cstdint>
#include <string_view>

namespace {

// A small cap for odd choices, so capping is explored; the dialer's own
// limits otherwise.
std::size_t capFrom(std::uint8_t choice, std::size_t usual)
{
    return choice % 2 ? choice / 2 : usual;
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3) {
        return 0;
    }
    const orvanta::RawRequestLimits usual;
    const std::size_t maxHeader = capFrom(data[0], usual.maxHeaderBytes);
    const std::size_t maxBody = capFrom(data[1], usual.maxBodyBytes);
    std::uint32_t pieces = data[2] | 1u;
    const std::string_view stream(reinterpret_cast<const char*>(data) + 3, size - 3);

    orvanta::RawReplySplitter whole(maxHeader, maxBody);
    whole.take(stream);

    orvanta::RawReplySplitter inPieces(maxHeader, maxBody);
    for (std::string_view rest = stream; !rest.empty() && inPieces.wantsMore();) {
        pieces = pieces * 1103515245u + 12345u;
        const std::size_t length = 1 + (pieces >> 16) % 97;
        inPieces.take(rest.substr(0, length));
        rest.remove_prefix(std::min(length, rest.size()));
    }

    FUZZ_CHECK(inPieces.header() == whole.header());
    FUZZ_CHECK(inPieces.body() == whole.body());
    FUZZ_CHECK(whole.header().size() <= maxHeader);
    FUZZ_CHECK(whole.body().size() <= maxBody);
    FUZZ_CHECK(stream.substr(0, whole.header().size() + whole.body().size()) ==
               whole.header() + whole.body());
    return 0;
}
