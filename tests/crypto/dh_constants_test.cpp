// The system Diffie-Hellman constants: sizes, primality, subgroup order.

#include <gtest/gtest.h>

#include "test_rng.h"

#include <bit>
#include <random>

#include "crypto/bignum.h"
#include "crypto/dh_constants.h"

namespace quarnel {
namespace {

int BitLength(const Big& b) {
    for (int i = 31; i >= 0; --i) {
        if (b[std::size_t(i)]) return 32 * i + 32 - std::countl_zero(b[std::size_t(i)]);
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
    for (int i = 0; i < 32; ++i) {
        h[std::size_t(i)] = b[std::size_t(i)] >> 1;
        if (i < 31) h[std::size_t(i)] |= b[std::size_t(i + 1)] << 31;
    }
    return h;
}

bool IsOne(const Big& b) { return b == Big{1}; }

// Miller-Rabin with random bases.
bool ProbablyPrime(const Big& n, int rounds) {
    const Big nm1 = Minus1(n);
    Big d = nm1;
    int s = 0;
    while ((d[0] & 1) == 0) {
        d = Half(d);
        ++s;
    }
    test::Rng rng(42);
    for (int r = 0; r < rounds; ++r) {
        Big a{};
        for (int i = 0; i < 31; ++i) a[std::size_t(i)] = rng();
        a[0] |= 2;
        Big x = ModPowBig(a, d, n);
        if (IsOne(x) || x == nm1) continue;
        bool composite = true;
        for (int i = 1; i < s; ++i) {
            x = ModPowBig(x, Big{2}, n);
            if (x == nm1) {
                composite = false;
                break;
            }
        }
        if (composite) return false;
    }
    return true;
}

TEST(SystemConstants, SizesAndOrder) {
    const Big& p = SystemModulus();
    const Big& g = SystemBase();
    EXPECT_EQ(BitLength(p), 1023);
    EXPECT_EQ(p[0] & 1, 1u);
    EXPECT_EQ(BitLength(g), 1022);
    const Big q = Half(p);  // (p - 1) / 2 for odd p
    EXPECT_TRUE(IsOne(ModPowBig(g, q, p))) << "g generates the subgroup of order q";
    EXPECT_FALSE(IsOne(g));
}

TEST(SystemConstants, ModulusIsASafePrime) {
    const Big& p = SystemModulus();
    EXPECT_TRUE(ProbablyPrime(p, 16));
    EXPECT_TRUE(ProbablyPrime(Half(p), 16));
    // A composite neighbour is caught: the test has teeth.
    Big composite = p;
    composite[0] += 2;
    EXPECT_FALSE(ProbablyPrime(composite, 4) && ProbablyPrime(Half(composite), 4));
}

}  // namespace
}  // namespace quarnel
