// Generator, key words, clicks and the key set-up against the system constants.

#include <gtest/gtest.h>

#include "crypto/bignum.h"
#include "crypto/dh_constants.h"
#include "crypto/random.h"
#include "crypto/secret.h"
#include "crypto/text_cipher.h"

#include <cctype>
#include <new>

namespace quarnel {
namespace {

struct FixedClock {
    explicit FixedClock(std::uint32_t ms) { SetReseedClock([ms] { return ms; }); }
    ~FixedClock() { SetReseedClock({}); }
};

TEST(Random, ReseedAtMidnightStartsFromZero) {
    FixedClock clock(0);
    Reseed();
    EXPECT_EQ(Seed(), 0u);
    EXPECT_EQ(RandomBelow(65536), 0u);
    EXPECT_EQ(Seed(), 1u);
}

TEST(Random, KeyWordsAreNeverAllZerosOrAllOnes) {
    SetSeed(12345);
    for (int i = 0; i < 2000; ++i) {
        for (Word w : RandomQuad()) {
            ASSERT_NE(w, 0u);
            ASSERT_NE(w, 0xFFFFFFFFu);
        }
    }
}

TEST(Random, ClicksFillTheExponentFromTheTop) {
    Big e{};
    int counter = 8;
    for (int click = 1; click <= 7; ++click) {
        FixedClock clock(std::uint32_t(1000 * click));
        KeyClick(e, counter);
    }
    EXPECT_EQ(counter, 1);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(e[std::size_t(i)], 0u) << "word " << i;
    for (int i = 4; i < 32; ++i) EXPECT_NE(e[std::size_t(i)], 0u) << "word " << i;
    KeyClick(e, counter);
    EXPECT_EQ(counter, 0);
    for (int i = 0; i < 4; ++i) EXPECT_NE(e[std::size_t(i)], 0u);
    const Big before = e;
    KeyClick(e, counter);  // a ninth click changes nothing
    EXPECT_EQ(counter, 0);
    EXPECT_EQ(e, before);
}

TEST(Random, BothSidesOfTheKeySetUpShareTheTaKey) {
    // The holder computes S = T^x with the TA's public value T = g^t; the TA
    // computes Y^t with the holder's public value Y = g^x.
    SetSeed(99);
    Big x{}, t{};
    RandomKeyWords(x);
    RandomKeyWords(t);
    const Big tCopy = t;
    const Big taPublic = ModPowBig(SystemBase(), t, SystemModulus());
    const KeySetup holder = KeyInitialise(x, taPublic);
    EXPECT_EQ(holder.publicHex.size(), 256u);
    const Big shared = ModPowBig(HexToBig(holder.publicHex), tCopy, SystemModulus());
    Quad taSide{};
    ASSERT_TRUE(CondenseHex(BigToHex(shared), taSide));
    EXPECT_EQ(holder.taKey, taSide);
    Quad digest{};
    ASSERT_TRUE(CondenseHex(holder.publicHex, digest));
    EXPECT_EQ(holder.publicDigest, digest);
    EXPECT_NE(x, Big{}) << "the exponent is wiped with random words, not zeros";
}

TEST(Secret, BuffersAreOverwrittenWhenReleased) {
    std::string text = "a secret password";
    WipeString(text);
    EXPECT_EQ(text.size(), 17u);
    EXPECT_EQ(text.find("secret"), std::string::npos);
    for (char c : text) EXPECT_TRUE(std::isxdigit(static_cast<unsigned char>(c)));

    alignas(SecretQuad) unsigned char storage[sizeof(SecretQuad)];
    auto* s = new (storage) SecretQuad(Quad{1, 2, 3, 4});
    const Quad* words = &**s;
    s->~SecretQuad();
    EXPECT_NE(*words, (Quad{1, 2, 3, 4}));
}

}  // namespace
}  // namespace quarnel
