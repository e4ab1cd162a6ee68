// SPDX-License-Identifier: GPL-3.0-or-later
// Multi-precision arithmetic beyond the vectors: capacities, a zero modulus,
// the two exponentiations (general remainders, Montgomery products) against
// each other on random numbers, and the system Diffie-Hellman constants.

#include <gtest/gtest.h>

#include <bit>

#include "crypto/bignum.h"
#include "crypto/dh_constants.h"
#include "crypto/random.h"
#include "test_rng.h"

namespace quarnel {
namespace {

TEST(HexToWords, NeverWritesBeyondItsCapacity) {
    std::array<Word, 3> guarded{0xAAAAAAAA, 0xBBBBBBBB, 0xCCCCCCCC};
    int used = 0;
    // Room for two words only: a three-word text fails and leaves the third alone.
    EXPECT_FALSE(HexToWords("123456781234567812345678", std::span<Word>(guarded.data(), 2), used));
    EXPECT_EQ(guarded, (std::array<Word, 3>{0, 0, 0xCCCCCCCC}));
    EXPECT_EQ(used, 1);
    // The fixed forms give 0 for texts that do not fit.
    EXPECT_EQ(HexToWord("123456789"), 0u);
    EXPECT_EQ(HexToQuad(std::string(33, '1')), Quad{});
    EXPECT_EQ(HexToBig(std::string(257, '1')), Big{});
}

TEST(ModPow, OutsideTheDataModel) {
    std::array<Word, 2> r{9, 9};
    int used = 0;
    // A zero modulus fails instead of dividing by zero.
    EXPECT_FALSE(
        ModPow(std::array<Word, 1>{5}, std::array<Word, 1>{3}, std::array<Word, 2>{0, 0}, r, used));
    EXPECT_EQ(r, (std::array<Word, 2>{0, 0}));
    // A zero exponent gives 1.
    EXPECT_TRUE(
        ModPow(std::array<Word, 1>{5}, std::array<Word, 1>{0}, std::array<Word, 2>{7, 1}, r, used));
    EXPECT_EQ(r[0], 1u);
}

// ModPowBig takes Montgomery products for odd moduli: the same residues as the
// general routine, for moduli of every length and top word, bases above the
// modulus, short and zero exponents, and even moduli (which go the general way).
// The secret form gives the same, and moves the generator alike.
TEST(ModPowBig, AgreesWithTheGeneralRoutine) {
    test::Rng rng(12);
    auto fill = [&](Big& b, int words) {
        for (int w = 0; w < words; ++w)
            b[std::size_t(w)] = rng();
    };
    for (int i = 0; i < 150; ++i) {
        Big modulus{};
        Big base{};
        Big exponent{};
        const int mWords = 1 + int(rng() % 32);
        fill(modulus, mWords);
        if (i % 5 != 0) modulus[0] |= 1;
        if (i % 7 == 0) modulus[std::size_t(mWords - 1)] = 1;    // a short top word
        if (i % 4 == 1) modulus[std::size_t(mWords - 1)] = ~0u;  // the remainder's d = 0 path
        fill(base, 1 + int(rng() % 32));
        fill(exponent, i % 9 == 0 ? 0 : 1 + int(rng() % 32));
        Big want{};
        int used = 0;
        SetSeed(std::uint32_t(i));
        ASSERT_TRUE(ModPow(base, exponent, modulus, want, used));
        const std::uint32_t after = Seed();
        SetSeed(std::uint32_t(i));
        ASSERT_EQ(ModPowBig(base, exponent, modulus), want) << "modulus " << BigToHex(modulus);
        EXPECT_EQ(Seed(), after) << "the generator moves as ModPow's wipes move it";
        SetSeed(std::uint32_t(i));
        ASSERT_EQ(ModPowBigSecret(base, exponent, modulus), want)
            << "modulus " << BigToHex(modulus);
        EXPECT_EQ(Seed(), after);
    }
    // The smallest odd moduli.
    EXPECT_EQ(ModPowBig(HexToBig("3"), HexToBig("5"), HexToBig("7")), HexToBig("5"));  // 243 mod 7
    EXPECT_EQ(ModPowBig(HexToBig("3"), HexToBig("5"), HexToBig("1")), Big{});
}

// The exponents at the ends of the fixed sequence (0, 1, all ones, the top bit
// alone) on full-length moduli, odd and even, and the degenerate moduli.
TEST(ModPowBigSecret, AgreesWithModPowBigAtTheEnds) {
    test::Rng rng(34);
    Big allOnes{};
    allOnes.fill(~0u);
    Big topBit{};
    topBit[31] = 0x80000000u;
    for (int i = 0; i < 6; ++i) {
        Big modulus{};
        Big base{};
        for (Word& w : modulus)
            w = rng();
        for (Word& w : base)
            w = rng();
        modulus[31] |= 0x80000000u;
        modulus[0] = i % 2 == 0 ? modulus[0] | 1 : modulus[0] & ~1u;
        for (const Big& e : {Big{}, HexToBig("1"), allOnes, topBit}) {
            EXPECT_EQ(ModPowBigSecret(base, e, modulus), ModPowBig(base, e, modulus))
                << BigToHex(modulus) << " ^ " << BigToHex(e);
        }
    }
    for (const char* m : {"0", "1", "2"}) {
        EXPECT_EQ(ModPowBigSecret(HexToBig("5"), allOnes, HexToBig(m)),
                  ModPowBig(HexToBig("5"), allOnes, HexToBig(m)))
            << m;
    }
}

int BitLength(const Big& b) {
    for (std::size_t i = 32; i-- > 0;) {
        if (b[i] != 0) return int(32 * i) + std::bit_width(b[i]);
    }
    return 0;
}

Big Minus1(Big b) {
    for (Word& w : b) {
        if (w-- != 0) break;
    }
    return b;
}

Big Half(const Big& b) {
    Big h{};
    for (std::size_t i = 0; i < 32; ++i)
        h[i] = b[i] >> 1 | (i < 31 ? b[i + 1] << 31 : 0);
    return h;
}

// Fermat's test with random bases.
bool ProbablyPrime(const Big& n, int rounds) {
    test::Rng rng(42);
    for (int r = 0; r < rounds; ++r) {
        Big a{};
        for (std::size_t i = 0; i < 31; ++i)
            a[i] = rng();
        if (ModPowBig(a, Minus1(n), n) != Big{1}) return false;
    }
    return true;
}

TEST(SystemConstants, ASafePrimeModulusAndABaseOfOrderQ) {
    const Big& p = SystemModulus();
    const Big& g = SystemBase();
    EXPECT_EQ(BitLength(p), 1023);
    EXPECT_EQ(BitLength(g), 1022);
    const Big q = Half(p);  // (p - 1) / 2 for odd p
    EXPECT_EQ(ModPowBig(g, q, p), Big{1}) << "g generates the subgroup of order q";
    EXPECT_NE(g, Big{1});
    EXPECT_TRUE(ProbablyPrime(p, 16));
    EXPECT_TRUE(ProbablyPrime(q, 16));
    // A composite neighbour is caught: the test has teeth.
    Big composite = p;
    composite[0] += 2;
    EXPECT_FALSE(ProbablyPrime(composite, 4) && ProbablyPrime(Half(composite), 4));
}

}  // namespace
}  // namespace quarnel
