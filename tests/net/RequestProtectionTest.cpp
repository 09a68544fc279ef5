#include "net/RequestProtection.h"

#include <gtest/gtest.h>

#include <deque>
#include <set>

using namespace orvanta;

namespace {

// Hands out the given numbers in order, then keeps repeating the last one.
RandomSource scripted(std::deque<std::uint32_t> numbers)
{
    return [numbers = std::move(numbers)]() mutable {
        const std::uint32_t n = numbers.front();
        if (numbers.size() > 1)
            numbers.pop_front();
        return n;
    };
}

std::uint32_t indexOf(char c)
{
    return static_cast<std::uint32_t>(kTokenAlphabet.find(c));
}

}

TEST(RandomToken, StaysWithinBoundsAndAlphabet)
{
    struct Bounds {
        std::size_t min, max;
    };
    const RandomSource random = defaultRandomSource();
    for (const Bounds b : {Bounds{4, 7}, Bounds{8, 10}, Bounds{5, 5}}) {
        std::set<std::size_t> lengths;
        for (int i = 0; i < 400; ++i) {
            const std::string token = randomToken(b.min, b.max, random);
            lengths.insert(token.size());
            EXPECT_EQ(token.find_first_not_of(kTokenAlphabet), std::string::npos) << token;
        }
        EXPECT_EQ(*lengths.begin(), b.min);
        EXPECT_EQ(*lengths.rbegin(), b.max);
        EXPECT_EQ(lengths.size(), b.max - b.min + 1);
    }
    EXPECT_EQ(kTokenAlphabet.size(), 35u);
    EXPECT_EQ(kTokenAlphabet.find('W'), std::string_view::npos);
}

TEST(RandomToken, LengthAndCharactersComeFromTheDrawnNumbers)
{
    // Length 4 + 7 % 4 = 7; characters by remainder modulo 35 (35 + 10 -> 'A').
    const std::string token = randomToken(4, 7, scripted({7, 0, 35 + 10, 34, 1, 2, 3, 4}));
    EXPECT_EQ(token, "0AZ1234");
}

TEST(Scramble, IsItsOwnInverseAndRepeatsTheKey)
{
    const std::string text = "{\"status\":\"1\",\"ip\":\"127.0.0.1\"}";
    const std::string once = scrambled(text, "AB12CD");
    EXPECT_NE(once, text);
    EXPECT_EQ(scrambled(once, "AB12CD"), text);
    // Byte 6 uses key byte 0 again.
    EXPECT_EQ(once[6], static_cast<char>(text[6] ^ 'A'));
    EXPECT_EQ(once[5], static_cast<char>(text[5] ^ 'D'));

    std::string partial = "abcdef";
    scramble(partial.data(), 3, "K");
    EXPECT_EQ(partial.substr(3), "def");
    EXPECT_EQ(scrambled("abc", ""), "abc");
}

TEST(RequestProtection, BodyCarriesTokensAndTheScrambledName)
{
    RequestProtection protection;
    const std::string body = protection.body();
    const ProvisioningBody& parts = protection.parts();
    EXPECT_EQ(body,
              parts.tokenA + "=" + parts.tokenB + "&" + parts.tokenC + "=" + parts.scrambledName);
    EXPECT_GE(parts.tokenA.size(), 4u);
    EXPECT_LE(parts.tokenA.size(), 7u);
    EXPECT_GE(parts.tokenB.size(), 4u);
    EXPECT_LE(parts.tokenB.size(), 7u);
    EXPECT_GE(parts.tokenC.size(), 8u);
    EXPECT_LE(parts.tokenC.size(), 10u);
    EXPECT_EQ(protection.key(), parts.tokenA + parts.tokenB);
    EXPECT_EQ(scrambled(parts.scrambledName, protection.key()), kProductName);

    const auto parsed = parseProvisioningBody(body);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->key(), protection.key());
    EXPECT_EQ(parsed->scrambledName, parts.scrambledName);
}

TEST(RequestProtection, KeepsTheTokensUntilInvalidated)
{
    RequestProtection protection;
    const std::string first = protection.body();
    EXPECT_EQ(protection.body(), first);
    EXPECT_TRUE(protection.bodyReady());
    protection.invalidate();
    EXPECT_FALSE(protection.bodyReady());
    // New draws; equal bodies by chance are practically impossible.
    EXPECT_NE(protection.body(), first);
}

TEST(RequestProtection, RedrawsWhenTheNameWouldCarryAnUnsafeByte)
{
    // tokenA starting with 'O' turns the name's first byte into zero; 'Y'
    // at position 1 turns 'r' into '+'. Each draw: length of A, its 4
    // characters, length of B, its characters, length of C, its characters.
    auto draw = [](char a0, char a1) {
        return std::deque<std::uint32_t>{0, indexOf(a0), indexOf(a1), 1, 1, 0, 1, 1, 1, 1,
                                         0, 2,           2,           2, 2, 2, 2, 2, 2};
    };
    for (const auto& [a0, a1] : {std::pair{'O', '1'}, std::pair{'1', 'Y'}}) {
        std::deque<std::uint32_t> numbers = draw(a0, a1);
        const std::deque<std::uint32_t> good = draw('1', '1');
        numbers.insert(numbers.end(), good.begin(), good.end());
        RequestProtection protection(scripted(numbers));
        EXPECT_FALSE(protection.prepareBody());

        RequestProtection redrawing(scripted(numbers));
        const ProvisioningBody& parts = redrawing.parts();
        EXPECT_EQ(parts.tokenA, "1111");
        EXPECT_EQ(parts.scrambledName.size(), kProductName.size());
        EXPECT_EQ(parts.scrambledName.find_first_of(std::string("+%&\0", 4)), std::string::npos);
    }
}

TEST(ProvisioningBodyParsing, RejectsMalformedBodies)
{
    const auto ok = parseProvisioningBody("AB12=CD34&EFGH5678=x=y");
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->tokenC, "EFGH5678");
    EXPECT_EQ(ok->scrambledName, "x=y");
    EXPECT_EQ(ok->key(), "AB12CD34");
    for (const char* bad : {"", "AB12=CD34", "AB12CD34&EFGH=x", "AB12=CD34&EFGH", "=CD34&EFGH=x",
                            "ab12=CD34&EFGH=x", "AB12=&EFGH=x", "AB12=CD34&=x", "AB W=CD34&EFGH=x"})
        EXPECT_FALSE(parseProvisioningBody(bad)) << bad;
}
