// SPDX-License-Identifier: GPL-3.0-or-later
// Comparing digests and powers with a secret exponent take the same steps
// whatever the secret: the probe of this test's own copy of the crypto
// library records them, so the check never depends on timing.

#include <gtest/gtest.h>

#include <string>

#include "crypto/bignum.h"
#include "crypto/compare.h"
#include "crypto/dh_constants.h"
#include "crypto/path_probe.h"

namespace quarnel {
namespace {

using probe::Mark;

template <class Work>
std::vector<Mark> StepsOf(Work work) {
    probe::Start();
    work();
    return probe::Stop();
}

TEST(ConstantPath, DigestsAreReadWholeWhereverTheyDiffer) {
    const std::string digest = "0123456789ABCDEF0123456789ABCDEF";
    std::string firstBit = digest, lastBit = digest, firstChar = digest, lastChar = digest;
    firstBit[0] = char(firstBit[0] ^ 0x01);
    lastBit[31] = char(lastBit[31] ^ 0x80);
    firstChar[0] = 'F';
    lastChar[31] = '0';
    // (Which of them are equal: EqualDigests.AnyDifferingBitAnywhereAndLengths.)
    const auto compare = [&](const std::string& other) {
        return StepsOf([&] { (void)EqualDigests(digest, other); });
    };
    const std::vector<Mark> same = compare(digest);
    ASSERT_EQ(same.size(), digest.size());
    for (const std::string& other : {firstBit, lastBit, firstChar, lastChar})
        EXPECT_EQ(compare(other), same) << other;
}

TEST(ConstantPath, SecretPowersTakeTheSameStepsForAnyExponent) {
    const Big& p = SystemModulus();
    const Big& g = SystemBase();
    Big exponent{};
    for (std::size_t i = 0; i < exponent.size(); ++i)
        exponent[i] = Word(0x9E3779B9u * (i + 1));
    Big lowBit = exponent, highBit = exponent;
    lowBit[0] ^= 1u;
    highBit[31] ^= 0x80000000u;
    Big allOnes{};
    allOnes.fill(~0u);
    const auto power = [&](const Big& e) {
        return StepsOf([&] { (void)ModPowBigSecret(g, e, p); });
    };
    const std::vector<Mark> steps = power(exponent);
    // 4 squarings and one product a window, each window's product reading
    // every table entry.
    EXPECT_GE(steps.size(), std::size_t(256 * (5 + 16)));
    for (const Big& e : {lowBit, highBit, Big{}, allOnes})
        EXPECT_EQ(power(e), steps) << BigToHex(e);

    // The probe sees what the public power's steps owe to its exponent.
    const auto publicPower = [&](const Big& e) {
        return StepsOf([&] { (void)ModPowBig(g, e, p); });
    };
    EXPECT_NE(publicPower(lowBit), publicPower(exponent));
    EXPECT_NE(publicPower(highBit), publicPower(exponent));
}

}  // namespace
}  // namespace quarnel
