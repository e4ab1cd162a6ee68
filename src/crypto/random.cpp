// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/random.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "crypto/bignum.h"
#include "crypto/dh_constants.h"
#include "crypto/hextext.h"
#include "crypto/text_cipher.h"

namespace quarnel {
namespace {

std::uint32_t g_seed = 0;

std::function<std::uint32_t()>& ReseedClock() {
    static std::function<std::uint32_t()> clock;
    return clock;
}

std::uint32_t MillisecondsOfDayUtc() {
    using namespace std::chrono;
    const auto now = system_clock::now().time_since_epoch();
    const auto ms = duration_cast<milliseconds>(now).count();
    return std::uint32_t(ms % (24LL * 60 * 60 * 1000));
}

}  // namespace

void SetReseedClock(std::function<std::uint32_t()> clock) {
    ReseedClock() = std::move(clock);
}

void Reseed() {
    const auto& clock = ReseedClock();
    g_seed = clock ? clock() : MillisecondsOfDayUtc();
}

void SetSeed(std::uint32_t seed) {
    g_seed = seed;
}
std::uint32_t Seed() {
    return g_seed;
}

std::uint32_t RandomBelow(std::uint32_t n) {
    g_seed = g_seed * 134775813u + 1u;
    return std::uint32_t((std::uint64_t(g_seed) * n) >> 32);
}

namespace {

// The generator steps j = 1..16 ahead at once: seed_{n+j} = A_j seed_n + C_j,
// so that a run of words does not wait on one multiplication after another.
struct Jumps {
    std::uint32_t a[17];
    std::uint32_t c[17];
};
constexpr Jumps MakeJumps() {
    Jumps j{};
    j.a[0] = 1;
    j.c[0] = 0;
    for (int i = 1; i <= 16; ++i) {
        j.a[i] = j.a[i - 1] * 134775813u;
        j.c[i] = j.c[i - 1] * 134775813u + 1u;
    }
    return j;
}
constexpr Jumps kJumps = MakeJumps();

typedef std::uint32_t Lanes8 __attribute__((vector_size(32)));

// Word i of a round takes draws 2i + 1 and 2i + 2: RandomBelow(65536) is the
// top half of the new seed.
#define QUARNEL_EVERY_2ND(x, o)                                                           \
    Lanes8 {                                                                              \
        x[1 + o], x[3 + o], x[5 + o], x[7 + o], x[9 + o], x[11 + o], x[13 + o], x[15 + o] \
    }
constexpr Lanes8 kFirstA = QUARNEL_EVERY_2ND(kJumps.a, 0);
constexpr Lanes8 kFirstC = QUARNEL_EVERY_2ND(kJumps.c, 0);
constexpr Lanes8 kSecondA = QUARNEL_EVERY_2ND(kJumps.a, 1);
constexpr Lanes8 kSecondC = QUARNEL_EVERY_2ND(kJumps.c, 1);
#undef QUARNEL_EVERY_2ND

/// Eight words (32 bytes) a round, from `seed`; gives the seed after them.
__attribute__((target_clones("avx2", "default"))) std::uint32_t DrawRounds(unsigned char* out,
                                                                           std::size_t rounds,
                                                                           std::uint32_t seed) {
    for (std::size_t r = 0; r < rounds; ++r) {
        const Lanes8 first = kFirstA * seed + kFirstC;
        const Lanes8 second = kSecondA * seed + kSecondC;
        const Lanes8 words = (first & 0xFFFF0000u) | (second >> 16);
        std::memcpy(out + 32 * r, &words, sizeof words);
        seed = kJumps.a[16] * seed + kJumps.c[16];
    }
    return seed;
}

}  // namespace

void RandomWords(std::span<Word> words) {
    const std::size_t rounds = words.size() / 8;
    g_seed = DrawRounds(reinterpret_cast<unsigned char*>(words.data()), rounds, g_seed);
    for (std::size_t i = 8 * rounds; i < words.size(); ++i) {
        const Word hi = RandomBelow(65536);
        words[i] = hi * 65536u + RandomBelow(65536);
    }
}

void SkipDraws(std::uint64_t draws) {
    // seed -> a seed + c, composed with itself by squaring.
    std::uint32_t a = 134775813u;
    std::uint32_t c = 1u;
    std::uint32_t seed = g_seed;
    for (; draws != 0; draws >>= 1) {
        if (draws & 1) seed = a * seed + c;
        c = a * c + c;
        a *= a;
    }
    g_seed = seed;
}

namespace {

// Wipes, like draws, run on the calling thread; the count only varies the stream.
thread_local std::uint32_t t_wipes = 0;

// A counter-based stream (a 32-bit finaliser of a Weyl sequence), keyed by
// the generator's state and the number of wipes so far. A macro, so that it
// serves words and vectors of words alike.
#define QUARNEL_WIPE_MIX(x) \
    x ^= x >> 16;           \
    x *= 0x7FEB352Du;       \
    x ^= x >> 15;           \
    x *= 0x846CA68Bu;       \
    x ^= x >> 16

Word WipeMix(Word x) {
    QUARNEL_WIPE_MIX(x);
    return x;
}

/// Eight wipe words (32 bytes) a round, words `first` onwards of the stream.
__attribute__((target_clones("avx2", "default"))) void WipeRounds(unsigned char* out,
                                                                  std::size_t rounds,
                                                                  std::uint32_t key) {
    constexpr Lanes8 kLane{0, 1, 2, 3, 4, 5, 6, 7};
    for (std::size_t r = 0; r < rounds; ++r) {
        Lanes8 words = key + (kLane + std::uint32_t(8 * r)) * 0x9E3779B9u;
        QUARNEL_WIPE_MIX(words);
        std::memcpy(out + 32 * r, &words, sizeof words);
    }
}

#undef QUARNEL_WIPE_MIX

}  // namespace

void WipeBytes(void* data, std::size_t bytes) {
    auto* out = static_cast<unsigned char*>(data);
    const std::uint32_t key = WipeMix(g_seed + ++t_wipes * 0x85EBCA6Bu);
    const std::size_t rounds = bytes / 32;
    WipeRounds(out, rounds, key);
    if (const std::size_t tail = bytes - 32 * rounds; tail > 0) {
        unsigned char last[32];
        WipeRounds(last, 1, key + std::uint32_t(8 * rounds) * 0x9E3779B9u);
        for (std::size_t i = 0; i < tail; ++i)
            out[32 * rounds + i] = last[i];
    }
}

namespace {

Word SkippedHalf() {
    std::uint32_t r = 0;
    for (int i = 0; i < 23; ++i)
        r = RandomBelow(26);
    for (std::uint32_t i = 0; i <= r; ++i)
        (void)RandomBelow(65536);
    return RandomBelow(65536);
}

}  // namespace

void RandomKeyWords(std::span<Word> words) {
    for (Word& w : words) {
        for (;;) {
            const Word lo = SkippedHalf();
            const Word hi = SkippedHalf();
            w = hi * 65536u + lo;
            if (w != 0 && w != 0xFFFFFFFFu) break;
        }
    }
}

Quad RandomQuad() {
    Quad q{};
    RandomKeyWords(q);
    return q;
}

std::string RandomHex32() {
    Reseed();
    Quad q{};
    RandomWords(q);
    std::string s;
    for (Word w : q)
        s += WordToHex(w);  // in drawing order
    return s;
}

void KeyClick(Big& exponent, int& counter) {
    if (counter <= 0) return;
    Reseed();
    --counter;
    const Quad q = RandomQuad();
    for (int i = 0; i < 4; ++i)
        exponent[std::size_t(counter * 4 + i)] = q[std::size_t(i)];
}

KeySetup KeyInitialise(Big& exponent, const Big& taPublic) {
    return KeyInitialise(exponent, taPublic, SystemModulus(), SystemBase());
}

KeySetup KeyInitialise(Big& exponent, const Big& taPublic, const Big& modulus, const Big& base) {
    KeySetup out;
    const SecretBig y(ModPowBigSecret(base, exponent, modulus));
    out.publicHex = BigToHex(*y);
    (void)CondenseHex(out.publicHex, out.publicDigest);
    const SecretBig s(ModPowBigSecret(taPublic, exponent, modulus));
    std::string shared = BigToHex(*s);
    (void)CondenseHex(shared, *out.taKey);
    WipeBytes(shared.data(), shared.size());  // a copy the generator's sequence never counted
    // The exponent first: its wiped words are the first after the powers.
    WipeBig(exponent);
    return out;
}

}  // namespace quarnel

#include "crypto/secret.h"

namespace quarnel {

void WipeString(std::string& s) {
    for (char& c : s)
        c = kHexDigits[RandomBelow(16)];
}

}  // namespace quarnel
