// The system Diffie-Hellman constants: sizes, primality, subgroup order.

#include <gtest/gtest.h>

#include <bit>

#include "crypto/bignum.h"
#include "crypto/dh_constants.h"
#include "test_rng.h"

namespace quarnel {
namespace {

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
