#include "crypto/random.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "crypto/bignum.h"
#include "crypto/dh_constants.h"
#include "crypto/text_cipher.h"

namespace quarnel {
namespace {

std::uint32_t g_seed = 0;

std::function<std::uint32_t()>& ReseedClock() {
    static std::function<std::uint32_t()> clock;
    return clock;
}

}  // namespace

std::uint32_t MillisecondsOfDayUtc() {
    using namespace std::chrono;
    const auto now = system_clock::now().time_since_epoch();
    const auto ms = duration_cast<milliseconds>(now).count();
    return std::uint32_t(ms % (24LL * 60 * 60 * 1000));
}

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

// The generator steps j = 1..8 ahead at once: seed_{n+j} = A_j seed_n + C_j,
// so that long runs of words do not wait on one multiplication after another.
struct Jumps {
    std::uint32_t a[9];
    std::uint32_t c[9];
};
constexpr Jumps MakeJumps() {
    Jumps j{};
    j.a[0] = 1;
    j.c[0] = 0;
    for (int i = 1; i <= 8; ++i) {
        j.a[i] = j.a[i - 1] * 134775813u;
        j.c[i] = j.c[i - 1] * 134775813u + 1u;
    }
    return j;
}
constexpr Jumps kJumps = MakeJumps();

// One word from two consecutive seeds: RandomBelow(65536) is seed >> 16.
Word WordOf(std::uint32_t first, std::uint32_t second) {
    return (first & 0xFFFF0000u) | (second >> 16);
}

}  // namespace

void RandomWords(std::span<Word> words) {
    std::size_t i = 0;
    std::uint32_t seed = g_seed;
    for (; i + 4 <= words.size(); i += 4) {
        std::uint32_t s[9];
        for (int j = 1; j <= 8; ++j)
            s[j] = kJumps.a[j] * seed + kJumps.c[j];
        for (int j = 0; j < 4; ++j)
            words[i + std::size_t(j)] = WordOf(s[2 * j + 1], s[2 * j + 2]);
        seed = s[8];
    }
    g_seed = seed;
    for (; i < words.size(); ++i) {
        const Word hi = RandomBelow(65536);
        const Word lo = RandomBelow(65536);
        words[i] = hi * 65536u + lo;
    }
}

void WipeBytes(void* data, std::size_t bytes) {
    auto* out = static_cast<unsigned char*>(data);
    Word buffer[64];
    while (bytes > 0) {
        const std::size_t n = std::min(bytes, sizeof buffer);
        RandomWords(std::span<Word>(buffer, (n + 3) / 4));
        std::memcpy(out, buffer, n);
        out += n;
        bytes -= n;
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
    Big y = ModPowBig(base, exponent, modulus);
    out.publicHex = BigToHex(y);
    (void)CondenseHex(out.publicHex, out.publicDigest);
    Big s = ModPowBig(taPublic, exponent, modulus);
    (void)CondenseHex(BigToHex(s), out.taKey);
    WipeBig(exponent);
    WipeBig(y);
    WipeBig(s);
    return out;
}

}  // namespace quarnel

#include "crypto/secret.h"

namespace quarnel {

void WipeString(std::string& s) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (char& c : s)
        c = kDigits[RandomBelow(16)];
}

}  // namespace quarnel
