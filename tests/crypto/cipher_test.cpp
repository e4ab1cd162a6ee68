// Block cipher properties that the vectors do not pin.

#include <gtest/gtest.h>

#include "test_rng.h"

#include <random>

#include "crypto/bignum.h"
#include "crypto/cipher.h"
#include "crypto/random.h"

namespace quarnel {
namespace {

const Quad kP{0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0x7FFFFFFF};

Quad RandomValue(test::Rng& rng) {
    Quad v{rng(), rng(), rng(), rng() & 0x7FFFFFFF};
    if (v == Quad{} || v == kP) v[0] = 5;
    return v;
}

// Inverse modulo p by Fermat: v^(p-2).
Quad InverseModP(const Quad& v) {
    Quad r{1, 0, 0, 0};
    Quad b = v;
    Quad e{0xFFFFFFFD, 0xFFFFFFFF, 0xFFFFFFFF, 0x7FFFFFFF};
    for (int i = 0; i < 127; ++i) {
        if ((e[std::size_t(i / 32)] >> (i % 32)) & 1) r = MulModP(r, b);
        b = MulModP(b, b);
    }
    return r;
}

// The even-parity block whose value is v.
Quad KeyOfValue(const Quad& v) { return JoinBlock(v, true); }

TEST(Cipher, InvalidBlocksPassOnlyThroughTheParityInversion) {
    const Quad zero{};
    const Quad allOnes{~0u, ~0u, ~0u, ~0u};
    const Quad top{0, 0, 0, 0x80000000};
    const Quad low127{~0u, ~0u, ~0u, 0x7FFFFFFF};
    const Quad key{0x12345678, 0x9ABCDEF0, 0x0FEDCBA9, 0x87654321};
    for (Direction d : {Direction::Encipher, Direction::Decipher}) {
        EXPECT_EQ(CipherBlock(zero, key, d), zero);
        EXPECT_EQ(CipherBlock(allOnes, key, d), allOnes);
        EXPECT_EQ(CipherBlock(top, key, d), low127);
        EXPECT_EQ(CipherBlock(low127, key, d), top);
    }
    for (const Quad& q : {zero, allOnes, top, low127}) EXPECT_FALSE(IsValidBlock(q));
}

TEST(Cipher, ParityIsKeptAndTheMaskFlipsItByItsOwnParity) {
    test::Rng rng(1);
    const Quad key = KeyOfValue(RandomValue(rng));
    for (int i = 0; i < 20; ++i) {
        const Quad x{rng(), rng(), rng(), rng()};
        if (!IsValidBlock(x)) continue;
        const Quad mask{rng(), rng(), rng(), rng()};
        EXPECT_EQ(EvenParity(CipherBlock(x, key, Direction::Encipher)), EvenParity(x));
        EXPECT_EQ(EvenParity(CipherBlockMasked(x, key, mask, Direction::Encipher)),
                  EvenParity(x) == EvenParity(mask));
    }
}

TEST(Cipher, TheInverseKeyDeciphersWithAndWithoutMask) {
    test::Rng rng(2);
    for (int i = 0; i < 12; ++i) {
        const Quad v = RandomValue(rng);
        const Quad key = (i % 2) ? KeyOfValue(v) : JoinBlock(v, false);  // both parity classes
        const Quad inverse = KeyOfValue(InverseModP(v));
        ASSERT_EQ(MulModP(v, SplitBlock(inverse).value), (Quad{1, 0, 0, 0}));
        const Quad x{rng(), rng(), rng(), rng()};
        const Quad mask = i % 3 ? Quad{rng(), rng(), rng(), rng()} : Quad{};
        const Quad e = CipherBlockMasked(x, key, mask, Direction::Encipher);
        EXPECT_EQ(CipherBlockMasked(e, inverse, mask, Direction::Decipher), x);
    }
}

TEST(Cipher, KeysOfEitherParityWithTheSameValueEncipherAlike) {
    const Quad x{0x01234567, 0x89ABCDEF, 0x02468ACE, 0x13579BDF};
    EXPECT_EQ(CipherBlock(x, Quad{7, 0, 0, 0}, Direction::Encipher),
              CipherBlock(x, Quad{15, 0, 0, 0}, Direction::Encipher));
}

TEST(Cipher, MulModPEdges) {
    const Quad one{1, 0, 0, 0};
    const Quad pm1{0xFFFFFFFE, 0xFFFFFFFF, 0xFFFFFFFF, 0x7FFFFFFF};
    EXPECT_EQ(MulModP(pm1, pm1), one);
    const Quad a{0xDEADBEEF, 0x01234567, 0x89ABCDEF, 0x1BADF00D};
    EXPECT_EQ(MulModP(a, one), a);
    EXPECT_EQ(MulModP(Quad{0, 0, 0, 0x40000000}, Quad{2, 0, 0, 0}), one);
    EXPECT_EQ(MulModP(Quad{0, 0, 0, 0x10}, Quad{0, 0, 0, 0x10}), (Quad{0, 0, 0x200, 0}));
    EXPECT_EQ(MulModP(kP, a), Quad{});
}

TEST(Cipher, FieldPowIsAGroupPower) {
    test::Rng rng(4);
    for (Variant var : {Variant::A, Variant::B}) {
        for (int i = 0; i < 3; ++i) {
            const Quad v = RandomValue(rng);
            const Quad a{rng() % 1000 + 2, 0, 0, 0};
            const Quad b{rng() % 1000 + 2, 0, 0, 0};
            EXPECT_EQ(FieldPow(v, Quad{1, 0, 0, 0}, var), v);
            EXPECT_EQ(FieldPow(FieldPow(v, a, var), b, var), FieldPow(v, MulModP(a, b), var));
            EXPECT_EQ(FieldPow(v, kP, var), kP);  // all ones is the unit
        }
    }
}

TEST(Cipher, AKeyOfValueZeroGivesAnInvalidBlock) {
    // Keys 0 and 2^127 have value 0: outside the data model. The power step
    // leaves values alone and the product with 0 gives an invalid block, which
    // no later step touches: no hang, no fault, and nothing readable.
    const Quad v{5, 6, 7, 8};
    EXPECT_EQ(FieldPow(v, Quad{}, Variant::A), v);
    const Quad x{0x11111111, 0x22222222, 0x33333333, 0x44444444};
    for (const Quad& key : {Quad{}, Quad{0, 0, 0, 0x80000000}}) {
        EXPECT_FALSE(IsValidBlock(CipherBlock(x, key, Direction::Encipher)));
    }
}

}  // namespace
}  // namespace quarnel
