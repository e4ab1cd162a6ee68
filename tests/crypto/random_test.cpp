// SPDX-License-Identifier: GPL-3.0-or-later
// The generator's fast draws and wipes, and secret buffers.

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <fstream>
#include <new>
#include <sstream>
#include <vector>

#include "crypto/random.h"
#include "crypto/secret.h"
#include "crypto/secret_memory.h"

namespace quarnel {
namespace {

TEST(Random, FastWordsAndSkipsFollowTheGeneratorDrawByDraw) {
    for (std::size_t n : {0u, 1u, 3u, 7u, 8u, 9u, 17u, 64u, 70u, 50000u}) {
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

TEST(Secret, BuffersAreOverwrittenWhenReleased) {
    std::string text = "a secret password";
    WipeString(text);
    EXPECT_EQ(text.size(), 17u);
    EXPECT_EQ(text.find("secret"), std::string::npos);
    for (char c : text)
        EXPECT_TRUE(std::isxdigit(static_cast<unsigned char>(c)));

    alignas(SecretQuad) unsigned char storage[sizeof(SecretQuad)];
    auto* s = new (storage) SecretQuad(Quad{1, 2, 3, 4});
    const Quad* words = &**s;
    s->~SecretQuad();
    EXPECT_NE(*words, (Quad{1, 2, 3, 4}));
}

TEST(Secret, PlainTextPagesAreLeftOutOfCoreDumps) {
    SecretPages pages(100000);
    ASSERT_TRUE(pages.outOfDumps());
    pages.data()[0] = 'x';
    // The kernel's own view: the mapping that holds the buffer carries the
    // "dd" (do not dump) flag.
    std::ifstream maps("/proc/self/smaps");
    const auto at = reinterpret_cast<std::uintptr_t>(pages.data());
    std::string line;
    bool inside = false;
    bool flagged = false;
    while (std::getline(maps, line)) {
        std::uintptr_t from = 0, to = 0;
        char dash = 0;
        std::istringstream range(line);
        if (range >> std::hex >> from >> dash >> to && dash == '-') inside = from <= at && at < to;
        if (inside && line.rfind("VmFlags:", 0) == 0)
            flagged = line.find(" dd") != std::string::npos;
    }
    EXPECT_TRUE(flagged);
}

// A secret moves the generator once, by one wipe, where its last holder
// releases it or wipes it; moves and empty holders draw nothing.
TEST(Secret, MovesHandOnTheSecretAndItsSingleWipe) {
    auto drawsSince = [](std::uint32_t from, std::uint64_t draws) {
        SetSeed(from);
        SkipDraws(draws);
        return Seed();
    };
    const Quad secret{1, 2, 3, 4};
    SetSeed(5);
    Quad plain = secret;
    std::uint32_t at = Seed();
    {
        SecretQuad a = SecretQuad::TakeFrom(plain);
        EXPECT_NE(plain, secret);
        EXPECT_EQ(Seed(), drawsSince(at, 8)) << "the source is wiped as WipeQuad would";
        at = Seed();
        {
            SecretQuad b(std::move(a));
            EXPECT_EQ(b.Get(), secret);
            EXPECT_NE(a.Get(), secret);
            SecretQuad c;
            c = std::move(b);
            EXPECT_NE(b.Get(), secret);
            EXPECT_EQ(Seed(), at);
        }
        EXPECT_EQ(Seed(), drawsSince(at, 8)) << "one wipe, by the last holder";
        at = Seed();
    }
    EXPECT_EQ(Seed(), at);
    {
        SecretQuad unused;
        SecretQuad wiped(secret);
        wiped.Wipe();
        EXPECT_NE(wiped.Get(), secret);
        EXPECT_EQ(Seed(), drawsSince(at, 8));
        at = Seed();
    }
    EXPECT_EQ(Seed(), at);

    {
        SecretString a(std::string("short"));
        SecretString b(std::move(a));
        EXPECT_TRUE(a->empty());
        SecretString c(std::string(100, 'x'));
        c = std::move(b);
        EXPECT_EQ(*c, "short");
        EXPECT_TRUE(b->empty());
        EXPECT_EQ(Seed(), at);
    }
    EXPECT_EQ(Seed(), drawsSince(at, 5)) << "one draw per character of the last holder";
}

}  // namespace
}  // namespace quarnel
