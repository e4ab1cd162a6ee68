// The field arithmetic under the cipher: what the oracle comparisons would
// only find by chance, and the wiping of the working storage.

#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <vector>

#include "cipher_under_test.h"
#include "crypto/bignum.h"
#include "crypto/gf127.h"
#include "crypto/random.h"
#include "test_rng.h"

namespace quarnel::test {
namespace {

using gf::U128;

U128 RandomU128(Rng& rng) {
    return gf::FromQuad(Quad{rng(), rng(), rng(), rng()});
}

// The schedule, replayed on integers, must rebuild its exponent.
U128 Replay(const gf::PowSchedule& s) {
    U128 e = 2 * U128(s.first) + 1;
    for (int i = 0; i < s.count; ++i) {
        e <<= s.squarings[i];
        if (s.digit[i] >= 0) e += 2 * U128(s.digit[i]) + 1;
    }
    return e;
}

TEST(Gf127, SchedulesRebuildTheirExponent) {
    Rng rng(3);
    std::vector<U128> exponents = {1, 2, 3, gf::kOne << 127, ~U128(0), gf::kMask127, 0x10001};
    for (int i = 0; i < 2000; ++i)
        exponents.push_back(RandomU128(rng) >> (rng() % 128) | 1);
    for (U128 k : exponents) {
        if (k == 0) continue;
        const gf::PowSchedule s = gf::MakeSchedule(k);
        ASSERT_EQ(Replay(s), k) << QuadToHex(gf::ToQuad(k));
        ASSERT_LE(s.entries, gf::kMaxEntries);
        ASSERT_LT(s.first, s.entries);
    }
}

template <Variant V>
void CheckForms(Rng& rng) {
    std::vector<U128> values = {0, 1, gf::kMask127, gf::kMask127 - 1, gf::kOne << 126};
    for (int i = 0; i < 5000; ++i)
        values.push_back(RandomU128(rng) & gf::kMask127);
    for (U128 v : values) {
        const U128 c = gf::DualToPoly<V>(v);
        ASSERT_EQ(c >> 127, 0u);
        ASSERT_EQ(gf::PolyToDual<V>(c), v);
    }
    // The value with all bits set is the field's 1.
    EXPECT_EQ(gf::DualToPoly<V>(gf::kMask127), 1u);
    // The power maps are 32, 64 and 96 squarings.
    for (int i = 0; i < 50; ++i) {
        U128 z = RandomU128(rng) & gf::kMask127;
        U128 s = z;
        for (int j = 1; j <= 3; ++j) {
            for (int q = 0; q < 32; ++q)
                s = gf::SqrPortable<V>(s);
            ASSERT_EQ(gf::ApplyMap<V>(j, z), gf::FullReduce<V>(s));
        }
    }
}

TEST(Gf127, BasisConversionsAndPowerMaps) {
    Rng rng(5);
    CheckForms<Variant::A>(rng);
    CheckForms<Variant::B>(rng);
}

TEST(Gf127, SoftwareProductsAgreeWithShiftAndAdd) {
    Rng rng(7);
    for (int i = 0; i < 20000; ++i) {
        const std::uint64_t a = std::uint64_t(rng()) << 32 | rng();
        const std::uint64_t b =
            i % 10 == 0 ? ~std::uint64_t(0) : std::uint64_t(rng()) << 32 | rng();
        U128 want = 0;
        for (int j = 0; j < 64; ++j) {
            if ((b >> j) & 1) want ^= U128(a) << j;
        }
        ASSERT_EQ(gf::Clmul64(a, b), want);
        ASSERT_EQ(gf::Spread64(a), gf::Clmul64(a, a));
    }
}

TEST(Random, FastWordsAndSkipsFollowTheGeneratorDrawByDraw) {
    for (std::size_t n : {0u, 1u, 3u, 7u, 8u, 9u, 17u, 64u, 70u}) {
        SetSeed(0xC0FFEEu + std::uint32_t(n));
        std::vector<Word> fast(n);
        RandomWords(fast);
        const std::uint32_t after = Seed();
        SetSeed(0xC0FFEEu + std::uint32_t(n));
        for (std::size_t i = 0; i < n; ++i) {
            const Word hi = RandomBelow(65536);
            ASSERT_EQ(fast[i], hi * 65536u + RandomBelow(65536)) << n << " " << i;
        }
        EXPECT_EQ(Seed(), after);
        SetSeed(0xC0FFEEu + std::uint32_t(n));
        SkipDraws(2 * n);
        EXPECT_EQ(Seed(), after);
    }
    SetSeed(5);
    for (int i = 0; i < 100000; ++i)
        (void)RandomBelow(7);
    const std::uint32_t after = Seed();
    SetSeed(5);
    SkipDraws(100000);
    EXPECT_EQ(Seed(), after);
}

TEST(Random, BulkWipesLeaveTheGeneratorAndDifferFromCallToCall) {
    SetSeed(9);
    std::vector<unsigned char> a(263, 0);
    std::vector<unsigned char> b(263, 0);
    WipeBytes(a.data(), a.size());
    WipeBytes(b.data(), b.size());
    EXPECT_EQ(Seed(), 9u);
    EXPECT_NE(a, b);
    // No run of zeros: every word is overwritten.
    for (std::size_t i = 0; i + 4 <= a.size(); i += 4) {
        EXPECT_FALSE(a[i] == 0 && a[i + 1] == 0 && a[i + 2] == 0 && a[i + 3] == 0) << i;
    }
}

// The powers of secret values that pass through the working storage are
// overwritten when it is released, on every path.
class ScratchWipe : public PerImplementation {};

TEST_P(ScratchWipe, PowersAndSchedulesAreOverwrittenOnRelease) {
    alignas(gf::Scratch) unsigned char storage[sizeof(gf::Scratch)];
    auto* s = new (storage) gf::Scratch;
    const gf::Kernel& kernel = gf::ActiveKernel();
    U128 blocks[gf::kBatch];
    Rng rng(11);
    for (U128& b : blocks)
        b = RandomU128(rng);
    const U128 key = RandomU128(rng) & gf::kMask127;
    kernel.cipherBlocks(blocks, gf::kBatch, key, 0, Direction::Encipher, *s);
    (void)kernel.fieldPow(blocks[0] & gf::kMask127, key, Variant::A, *s);
    ASSERT_TRUE(s->hasSchedule);
    ASSERT_GE(s->tablesUsed, 1);
    const int entries = s->schedule.entries;
    auto offset = [&](const void* field) {
        return std::size_t(static_cast<const unsigned char*>(field) - storage);
    };
    const std::size_t table = offset(s->lone[0].table), pieces = offset(s->lone[0].pieces),
                      batch = offset(s->batchTable), work = offset(s->work),
                      scheduleKey = offset(&s->scheduleKey);
    std::vector<unsigned char> before(storage, storage + sizeof storage);
    s->~Scratch();
    // Every 16-byte slot that held a power is different now (random words).
    auto changed = [&](std::size_t at, std::size_t slots) {
        for (std::size_t i = 0; i < slots; ++i) {
            if (std::memcmp(storage + at + 16 * i, before.data() + at + 16 * i, 16) == 0) {
                return false;
            }
        }
        return true;
    };
    EXPECT_TRUE(changed(table, 16));
    EXPECT_TRUE(changed(pieces, 4));
    EXPECT_TRUE(changed(batch, std::size_t(entries * gf::kBatch)));
    EXPECT_TRUE(changed(work, gf::kBatch));
    EXPECT_TRUE(changed(scheduleKey, 1));
}

INSTANTIATE_TEST_SUITE_P(Paths, ScratchWipe,
                         ::testing::Values(Under::Portable, Under::Clmul, Under::Avx512),
                         ParamName);

TEST(CipherPaths, EachSupportedPathCanBeForced) {
    EXPECT_TRUE(CipherPathSupported(CipherPath::Portable));
    EXPECT_TRUE(CipherPathSupported(BestCipherPath()));
    for (Under u : kLibraryPaths) {
        const CipherPath p = PathOf(u);
        EXPECT_EQ(ForceCipherPath(p), CipherPathSupported(p));
        if (CipherPathSupported(p)) {
            EXPECT_EQ(ActiveCipherPath(), p);
        }
    }
    EXPECT_TRUE(ForceCipherPath(BestCipherPath()));
    EXPECT_EQ(ActiveCipherPath(), BestCipherPath());
}

}  // namespace
}  // namespace quarnel::test
