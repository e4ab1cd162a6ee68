// Multi-precision arithmetic beyond the vectors: parsing edges, capacities,
// and the exponentiation against a reference built from the same primitives.

#include <gtest/gtest.h>

#include "test_rng.h"

#include <random>

#include "crypto/bignum.h"
#include "crypto/random.h"

namespace quarnel {
namespace {

TEST(HexToWords, NeverWritesBeyondItsCapacity) {
    std::array<Word, 3> guarded{0xAAAAAAAA, 0xBBBBBBBB, 0xCCCCCCCC};
    int used = 0;
    // Room for two words only: a three-word text fails and leaves the third alone.
    EXPECT_FALSE(HexToWords("123456781234567812345678", std::span<Word>(guarded.data(), 2), used));
    EXPECT_EQ(guarded[0], 0u);
    EXPECT_EQ(guarded[1], 0u);
    EXPECT_EQ(guarded[2], 0xCCCCCCCCu);
    EXPECT_EQ(used, 1);
}

TEST(HexToWords, FixedFormsGiveZeroForTextsThatDoNotFit) {
    EXPECT_EQ(HexToWord("123456789"), 0u);
    EXPECT_EQ(HexToQuad(std::string(33, '1')), Quad{});
    EXPECT_EQ(HexToBig(std::string(257, '1')), Big{});
    // Leading zeros do not count against the capacity.
    EXPECT_EQ(HexToWord("000000000000000ABCDEF01"), 0xABCDEF01u);
    EXPECT_EQ(HexToQuad(std::string(40, '0') + "F"), (Quad{15, 0, 0, 0}));
}

TEST(HexToWords, RoundTripsEveryQuadText) {
    test::Rng rng(7);
    for (int i = 0; i < 200; ++i) {
        Quad q{rng(), rng(), rng(), rng()};
        const std::string hex = QuadToHex(q);
        EXPECT_EQ(HexToQuad(hex), q);
        std::string lower = hex;
        for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_EQ(QuadToHex(HexToQuad(lower)), hex);
    }
}

TEST(MulWords, AgreesWithSquareWords) {
    test::Rng rng(11);
    for (std::size_t n = 1; n <= 9; ++n) {
        std::vector<Word> a(n);
        for (auto& w : a) w = rng();
        if (n % 3 == 0) a.back() = 0;  // a zero top word
        std::vector<Word> p(2 * n), s(2 * n);
        EXPECT_EQ(MulWords(a, a, p), SquareWords(a, s));
        EXPECT_EQ(p, s);
    }
}

// x mod m by repeated subtraction of shifted m: slow, obviously right.
std::vector<Word> NaiveMod(std::vector<Word> x, const std::vector<Word>& m) {
    auto cmpShifted = [](const std::vector<Word>& a, const std::vector<Word>& b) {
        for (std::size_t i = std::max(a.size(), b.size()); i-- > 0;) {
            const Word wa = i < a.size() ? a[i] : 0;
            const Word wb = i < b.size() ? b[i] : 0;
            if (wa != wb) return wa < wb ? -1 : 1;
        }
        return 0;
    };
    const std::size_t bits = x.size() * 32;
    for (std::size_t s = bits; s-- > 0;) {
        // t = m << s
        std::vector<Word> t(x.size() + m.size() + 1, 0);
        for (std::size_t i = 0; i < m.size(); ++i) {
            const std::uint64_t v = std::uint64_t(m[i]) << (s % 32);
            if (i + s / 32 < t.size()) t[i + s / 32] |= Word(v);
            if (i + s / 32 + 1 < t.size()) t[i + s / 32 + 1] |= Word(v >> 32);
        }
        if (cmpShifted(x, t) >= 0) {
            std::int64_t borrow = 0;
            for (std::size_t i = 0; i < x.size(); ++i) {
                std::int64_t d = std::int64_t(x[i]) - (i < t.size() ? t[i] : 0) - borrow;
                borrow = d < 0;
                x[i] = Word(d);
            }
        }
    }
    return x;
}

TEST(ReduceWords, MatchesNaiveRemainderOnRandomNumbers) {
    test::Rng rng(3);
    for (int trial = 0; trial < 300; ++trial) {
        const std::size_t k = 1 + rng() % 5;
        const std::size_t n = 1 + rng() % 10;
        std::vector<Word> m(k), x(n + 1, 0);
        for (auto& w : m) w = rng();
        if (trial % 4 == 0) m.back() = 0xFFFFFFFF;  // the d = 0 path
        if (m.back() == 0) m.back() = 1;
        for (std::size_t i = 0; i < n; ++i) x[i] = rng();
        const std::vector<Word> original(x.begin(), x.begin() + std::ptrdiff_t(n));
        std::vector<Word> norm(k);
        int used = 0, shift = 0;
        NormaliseModulus(m, norm, used, shift);
        int xu = int(n);
        ReduceWords(x, xu, norm, used, shift);
        std::vector<Word> want = NaiveMod(original, m);
        want.resize(std::max<std::size_t>(want.size(), k + 1), 0);
        x.resize(want.size(), 0);
        for (std::size_t i = std::size_t(xu); i < x.size(); ++i) x[i] = 0;  // above the used length
        EXPECT_EQ(x, want) << "trial " << trial;
    }
}

TEST(ModPow, SmallCasesAgreeWithDirectComputation) {
    test::Rng rng(5);
    for (int i = 0; i < 500; ++i) {
        const Word b = rng(), e = rng() % 5000, m = (rng() % 100000) + 1;
        std::uint64_t want = m == 1 ? 0 : 1;
        for (Word k = 0; k < e; ++k) want = want * (b % m) % m;
        std::array<Word, 1> r{};
        int used = 0;
        ASSERT_TRUE(ModPow(std::array<Word, 1>{b}, std::array<Word, 1>{e}, std::array<Word, 1>{m},
                           r, used));
        EXPECT_EQ(r[0], want) << b << "^" << e << " mod " << m;
        EXPECT_EQ(used, 1);
    }
}

TEST(ModPow, OutsideTheDataModel) {
    std::array<Word, 2> r{9, 9};
    int used = 0;
    // A zero modulus fails instead of dividing by zero.
    EXPECT_FALSE(ModPow(std::array<Word, 1>{5}, std::array<Word, 1>{3},
                        std::array<Word, 2>{0, 0}, r, used));
    EXPECT_EQ(r, (std::array<Word, 2>{0, 0}));
    // A zero exponent gives 1.
    EXPECT_TRUE(ModPow(std::array<Word, 1>{5}, std::array<Word, 1>{0},
                       std::array<Word, 2>{7, 1}, r, used));
    EXPECT_EQ(r[0], 1u);
}

TEST(ModPow, FermatHoldsForALargePrime) {
    // p = 2^127 - 1 is prime: a^(p-1) = 1 mod p.
    const std::array<Word, 4> p{0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0x7FFFFFFF};
    const std::array<Word, 4> pm1{0xFFFFFFFE, 0xFFFFFFFF, 0xFFFFFFFF, 0x7FFFFFFF};
    test::Rng rng(9);
    for (int i = 0; i < 20; ++i) {
        const std::array<Word, 4> a{rng(), rng(), rng(), rng() & 0x3FFFFFFF};
        std::array<Word, 4> r{};
        int used = 0;
        ASSERT_TRUE(ModPow(a, pm1, p, r, used));
        EXPECT_EQ(r, (std::array<Word, 4>{1, 0, 0, 0}));
    }
}

// ModPowBig takes Montgomery products for odd moduli: the same residues as the
// general routine, for moduli of every length, bases above the modulus,
// short and zero exponents, and even moduli (which go the general way).
TEST(ModPowBig, AgreesWithTheGeneralRoutine) {
    test::Rng rng(12);
    for (int i = 0; i < 150; ++i) {
        Big modulus{};
        Big base{};
        Big exponent{};
        const int mWords = 1 + int(rng() % 32);
        for (int w = 0; w < mWords; ++w)
            modulus[std::size_t(w)] = rng();
        if (i % 5 != 0) modulus[0] |= 1;
        if (i % 7 == 0) modulus[std::size_t(mWords - 1)] = 1;  // a short top word
        for (int w = 0; w < 1 + int(rng() % 32); ++w)
            base[std::size_t(w)] = rng();
        const int eWords = i % 9 == 0 ? 0 : 1 + int(rng() % 32);
        for (int w = 0; w < eWords; ++w)
            exponent[std::size_t(w)] = rng();
        Big want{};
        int used = 0;
        SetSeed(std::uint32_t(i));
        ASSERT_TRUE(ModPow(base, exponent, modulus, want, used));
        const std::uint32_t after = Seed();
        SetSeed(std::uint32_t(i));
        ASSERT_EQ(ModPowBig(base, exponent, modulus), want)
            << "case " << i << " modulus " << BigToHex(modulus);
        EXPECT_EQ(Seed(), after) << "the generator moves as ModPow's wipes move it";
    }
    // The smallest odd moduli.
    const Big seven = HexToBig("7");
    EXPECT_EQ(ModPowBig(HexToBig("3"), HexToBig("5"), seven), HexToBig("5"));  // 243 mod 7
    EXPECT_EQ(ModPowBig(HexToBig("3"), HexToBig("5"), HexToBig("1")), Big{});
}

}  // namespace
}  // namespace quarnel
