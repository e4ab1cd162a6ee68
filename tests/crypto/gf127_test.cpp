// SPDX-License-Identifier: GPL-3.0-or-later
// The field arithmetic under the cipher: what the oracle comparisons would
// only find by chance, and the wiping of the working storage.

#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <vector>

#include "cipher_under_test.h"
#include "crypto/bignum.h"
#include "crypto/gf127.h"
#include "test_rng.h"

namespace quarnel::test {
namespace {

using gf::U128;

U128 RandomU128(Rng& rng) {
    return gf::FromQuad(Quad{rng(), rng(), rng(), rng()});
}

TEST(Gf127, SchedulesRebuildTheirExponent) {
    Rng rng(3);
    std::vector<U128> exponents = {1, 2, 3, gf::kOne << 127, ~U128(0), gf::kMask127, 0x10001};
    for (int i = 0; i < 2000; ++i)
        exponents.push_back(RandomU128(rng) >> (rng() % 128) | 1);
    for (U128 k : exponents) {
        const gf::PowSchedule s = gf::MakeSchedule(k);
        // Replayed on integers, the schedule must give k back.
        U128 e = 2 * U128(s.first) + 1;
        for (int i = 0; i < s.count; ++i) {
            e <<= s.squarings[i];
            if (s.digit[i] >= 0) e += 2 * U128(s.digit[i]) + 1;
        }
        ASSERT_EQ(e, k) << QuadToHex(gf::ToQuad(k));
        ASSERT_LE(s.entries, gf::kMaxEntries);
        ASSERT_LT(s.first, s.entries);
    }
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

// The powers of secret values that pass through the working storage are
// overwritten when it is released, on every path.
TEST(Gf127, PowersAndSchedulesAreOverwrittenOnRelease) {
    OnEveryPath([] {
        alignas(gf::Scratch) unsigned char storage[sizeof(gf::Scratch)];
        auto* s = new (storage) gf::Scratch;
        U128 blocks[2 * gf::kBatch];  // both batches in flight
        Rng rng(11);
        for (U128& b : blocks)
            b = RandomU128(rng);
        const U128 key = RandomU128(rng) & gf::kMask127;
        const gf::Kernel& kernel = gf::ActiveKernel();
        kernel.cipherBlocks(blocks, 2 * gf::kBatch, key, 0, Direction::Encipher, *s);
        (void)kernel.fieldPow(blocks[0] & gf::kMask127, key, Variant::A, *s);
        ASSERT_TRUE(s->hasSchedule);
        ASSERT_GE(s->tablesUsed, 1);
        // Each region that held powers: its offset and its 16-byte slots.
        auto at = [&](const void* field) {
            return std::size_t(static_cast<const unsigned char*>(field) - storage);
        };
        const std::pair<std::size_t, std::size_t> regions[] = {
            {at(s->lone[0].table), 16},
            {at(s->lone[0].pieces), 4},
            {at(s->batchTable[0]), std::size_t(s->schedule.entries * gf::kBatch)},
            {at(s->batchTable[1]), std::size_t(s->schedule.entries * gf::kBatch)},
            {at(s->work), 2 * gf::kBatch},
            {at(&s->scheduleKey), 1}};
        const std::vector<unsigned char> before(storage, storage + sizeof storage);
        s->~Scratch();
        // Every slot is different now (random words).
        for (const auto& [offset, slots] : regions) {
            for (std::size_t i = offset; i < offset + 16 * slots; i += 16) {
                EXPECT_NE(std::memcmp(storage + i, before.data() + i, 16), 0) << offset;
            }
        }
    });
}

}  // namespace
}  // namespace quarnel::test
