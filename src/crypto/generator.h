// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The process-wide pseudo-random generator, the draws built on it, and the
// wiping of secrets.

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

}  // namespace quarnel
