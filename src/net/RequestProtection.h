#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace orvanta {

// Characters a token is made of: digits and upper-case letters without W.
inline constexpr std::string_view kTokenAlphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVXYZ";

// The name the provisioning server expects to find in the request.
inline constexpr std::string_view kProductName = "Orvanta";

// Source of random numbers; injectable so tests can force particular draws.
using RandomSource = std::function<std::uint32_t()>;

// A source seeded from the system's entropy.
RandomSource defaultRandomSource();

// A token of minLength..maxLength characters (both included) of
// kTokenAlphabet. Requires minLength <= maxLength.
std::string randomToken(std::size_t minLength, std::size_t maxLength, const RandomSource& random);

// Repeating-key exclusive-or over count bytes, in place; applying it twice
// with the same key restores the bytes. An empty key leaves them as they are.
void scramble(char* bytes, std::size_t count, std::string_view key);
std::string scrambled(std::string_view bytes, std::string_view key);

// The four parts of a provisioning request body:
// tokenA "=" tokenB "&" tokenC "=" scrambledName.
struct ProvisioningBody {
    std::string tokenA;
    std::string tokenB;
    std::string tokenC;
    std::string scrambledName;

    // The scrambling key: tokenA directly followed by tokenB.
    std::string key() const { return tokenA + tokenB; }
    std::string text() const;
};

// Splits a received body into its parts; nullopt when it does not have the
// form above or a token is not made of kTokenAlphabet characters.
std::optional<ProvisioningBody> parseProvisioningBody(std::string_view text);

// Draws the tokens once per sign-in and keeps them until invalidated, so
// repeated requests send the same body and use the same key.
class RequestProtection {
public:
    explicit RequestProtection(RandomSource random = defaultRandomSource());

    // One draw of the tokens; false when the scrambled name holds a byte the
    // body cannot carry ('+', '%', '&' or a zero byte), so the caller draws
    // again.
    bool prepareBody();

    // Forgets the tokens; the next body() draws new ones.
    void invalidate() { bodyReady_ = false; }
    bool bodyReady() const { return bodyReady_; }

    // The body to send, drawing tokens first when none are ready.
    std::string body();
    // The key of the current tokens (draws them first when none are ready).
    std::string key();
    const ProvisioningBody& parts();

private:
    void ensureReady();

    RandomSource random_;
    ProvisioningBody parts_;
    bool bodyReady_ = false;
};

}
