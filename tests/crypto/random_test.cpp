// The generator's fast draws and wipes, and secret buffers.

#include <gtest/gtest.h>

#include <cctype>
#include <new>
#include <vector>

#include "crypto/random.h"
#include "crypto/secret.h"

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

}  // namespace
}  // namespace quarnel
