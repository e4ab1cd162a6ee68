#include "crypto/random.h"

#include <chrono>

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

void SetReseedClock(std::function<std::uint32_t()> clock) { ReseedClock() = std::move(clock); }

void Reseed() {
    const auto& clock = ReseedClock();
    g_seed = clock ? clock() : MillisecondsOfDayUtc();
}

void SetSeed(std::uint32_t seed) { g_seed = seed; }
std::uint32_t Seed() { return g_seed; }

std::uint32_t RandomBelow(std::uint32_t n) {
    g_seed = g_seed * 134775813u + 1u;
    return std::uint32_t((std::uint64_t(g_seed) * n) >> 32);
}

void RandomWords(std::span<Word> words) {
    for (Word& w : words) {
        const Word hi = RandomBelow(65536);
        const Word lo = RandomBelow(65536);
        w = hi * 65536u + lo;
    }
}

namespace {

Word SkippedHalf() {
    std::uint32_t r = 0;
    for (int i = 0; i < 23; ++i) r = RandomBelow(26);
    for (std::uint32_t i = 0; i <= r; ++i) (void)RandomBelow(65536);
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
    for (Word w : q) s += WordToHex(w);  // in drawing order
    return s;
}

void KeyClick(Big& exponent, int& counter) {
    if (counter <= 0) return;
    Reseed();
    --counter;
    const Quad q = RandomQuad();
    for (int i = 0; i < 4; ++i) exponent[std::size_t(counter * 4 + i)] = q[std::size_t(i)];
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
    for (char& c : s) c = kDigits[RandomBelow(16)];
}

}  // namespace quarnel
