#include "net/RequestProtection.h"

#include <algorithm>
#include <random>

namespace orvanta {

namespace {

bool isTokenText(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return kTokenAlphabet.find(c) != std::string_view::npos;
    });
}

// Bytes that would change the meaning of the form body, or end it early
// where it is handled as zero-terminated text.
bool unsafeInBody(char c)
{
    return c == '+' || c == '%' || c == '&' || c == '\0';
}

}

RandomSource defaultRandomSource()
{
    std::random_device device;
    return [engine = std::mt19937(device())]() mutable {
        return static_cast<std::uint32_t>(engine());
    };
}

std::string randomToken(std::size_t minLength, std::size_t maxLength, const RandomSource& random)
{
    const std::size_t length = minLength + random() % (maxLength - minLength + 1);
    std::string token(length, '0');
    for (char& c : token)
        c = kTokenAlphabet[random() % kTokenAlphabet.size()];
    return token;
}

void scramble(char* bytes, std::size_t count, std::string_view key)
{
    if (key.empty())
        return;
    std::size_t keyIndex = 0;
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<char>(bytes[i] ^ key[keyIndex]);
        if (++keyIndex == key.size())
            keyIndex = 0;
    }
}

std::string scrambled(std::string_view bytes, std::string_view key)
{
    std::string result(bytes);
    scramble(result.data(), result.size(), key);
    return result;
}

std::string ProvisioningBody::text() const
{
    return tokenA + "=" + tokenB + "&" + tokenC + "=" + scrambledName;
}

std::optional<ProvisioningBody> parseProvisioningBody(std::string_view text)
{
    // The scrambled name never holds '&', but may hold '='.
    const auto amp = text.find('&');
    if (amp == std::string_view::npos)
        return std::nullopt;
    const std::string_view first = text.substr(0, amp);
    const std::string_view second = text.substr(amp + 1);
    const auto eq1 = first.find('=');
    const auto eq2 = second.find('=');
    if (eq1 == std::string_view::npos || eq2 == std::string_view::npos)
        return std::nullopt;
    ProvisioningBody body{std::string(first.substr(0, eq1)), std::string(first.substr(eq1 + 1)),
                          std::string(second.substr(0, eq2)), std::string(second.substr(eq2 + 1))};
    if (!isTokenText(body.tokenA) || !isTokenText(body.tokenB) || !isTokenText(body.tokenC))
        return std::nullopt;
    return body;
}

RequestProtection::RequestProtection(RandomSource random) : random_(std::move(random)) {}

bool RequestProtection::prepareBody()
{
    parts_.tokenA = randomToken(4, 7, random_);
    parts_.tokenB = randomToken(4, 7, random_);
    parts_.tokenC = randomToken(8, 10, random_);
    parts_.scrambledName = scrambled(kProductName, parts_.key());
    return std::none_of(parts_.scrambledName.begin(), parts_.scrambledName.end(), unsafeInBody);
}

void RequestProtection::ensureReady()
{
    if (bodyReady_)
        return;
    while (!prepareBody()) {
    }
    bodyReady_ = true;
}

std::string RequestProtection::body()
{
    ensureReady();
    return parts_.text();
}

std::string RequestProtection::key()
{
    ensureReady();
    return parts_.key();
}

const ProvisioningBody& RequestProtection::parts()
{
    ensureReady();
    return parts_;
}

}
