#pragma once
// The process-wide pseudo-random generator, the draws built on it, wiping of
// secrets, and the Diffie-Hellman key set-up that the eight clicks complete.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "crypto/types.h"

namespace quarnel {

/// Replaces the clock that Reseed reads (tests fix it); an empty function
/// restores the system clock (milliseconds since midnight UTC).
void SetReseedClock(std::function<std::uint32_t()> clock);

/// seed := milliseconds of the day (UTC), from the clock above.
void Reseed();
void SetSeed(std::uint32_t seed);
std::uint32_t Seed();

/// A number in 0..n-1 (the upper half of the 64-bit product seed * n).
std::uint32_t RandomBelow(std::uint32_t n);

/// Each word := RandomBelow(65536) * 65536 + RandomBelow(65536).
void RandomWords(std::span<Word> words);
inline void WipeQuad(Quad& q) {
    RandomWords(q);
}
inline void WipeBig(Big& b) {
    RandomWords(b);
}

/// Overwrites `bytes` bytes at `data` with random words for working storage
/// released in bulk. The words come from a stream of their own: the
/// generator does not move (callers account for the draws of the wipes they
/// stand for with SkipDraws).
void WipeBytes(void* data, std::size_t bytes);
/// Moves the generator on as `draws` calls of RandomBelow would.
void SkipDraws(std::uint64_t draws);
/// Key words, drawn with irregular skipping; never 0 nor FFFFFFFF.
void RandomKeyWords(std::span<Word> words);
Quad RandomQuad();

/// Reseed, then four RandomWords written as 32 hexadecimal digits.
std::string RandomHex32();

/// One of the eight clicks: Reseed, counter - 1, and the Quad numbered by the
/// counter (0 = words 0-3) of the exponent := RandomQuad. Does nothing once
/// the counter is 0.
void KeyClick(Big& exponent, int& counter);

struct KeySetup {
    std::string publicHex;  ///< the holder's public value, 256 digits
    Quad publicDigest{};    ///< CondenseHex of publicHex
    Quad taKey{};           ///< CondenseHex of the shared value
};

/// Completes the key set-up: Y = base^x mod p and S = taPublic^x mod p. The
/// exponent is wiped. The system constants are used unless others are given.
KeySetup KeyInitialise(Big& exponent, const Big& taPublic);
KeySetup KeyInitialise(Big& exponent, const Big& taPublic, const Big& modulus, const Big& base);

}  // namespace quarnel
