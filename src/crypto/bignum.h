// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Unsigned multi-precision integers held as 32-bit word arrays.
//
// Every routine takes and returns a "used length" beside the array: the number
// of significant words, at least 1. Callers size the arrays; the routines never
// write beyond the spans they are given.

#include <span>
#include <string>
#include <string_view>

#include "crypto/types.h"

namespace quarnel {

/// Parses hexadecimal text (leading blanks allowed, either letter case) into
/// `out`. On failure (empty, invalid character, or more words than `out`
/// holds) the value is 0 with used length 1 and false is returned.
[[nodiscard]] bool HexToWords(std::string_view text, std::span<Word> out, int& used);

/// 8 upper-case digits per word, most significant word first.
std::string WordsToHex(std::span<const Word> words);
std::string WordToHex(Word w);

/// Fixed-capacity parsers: 0 when the text is not valid or does not fit.
Word HexToWord(std::string_view text);
Quad HexToQuad(std::string_view text);
Big HexToBig(std::string_view text);

std::string QuadToHex(const Quad& q);
/// WordsToHex, left-padded with "0" to at least 256 digits.
std::string BigToHex(std::span<const Word> words);

/// product (n+m words) := a * b; returns the used length (n+m, or n+m-1 when
/// the top word is 0).
int MulWords(std::span<const Word> a, std::span<const Word> b, std::span<Word> product);
/// square (2n words) := a * a; returns the used length.
int SquareWords(std::span<const Word> a, std::span<Word> square);
/// 8-word product of two Quads; returns the used length.
int MulQuad(const Quad& a, const Quad& b, std::array<Word, 8>& product);

/// Drops zero top words of `m` (keeping one) and shifts it so that its top bit
/// is bit 31 of its top word (a one-word modulus is kept as it is).
void NormaliseModulus(std::span<const Word> m, std::span<Word> normalised, int& used, int& shift);

/// x := x mod m, with m as given by NormaliseModulus. `x` must have room for
/// used + 1 words. A zero one-word modulus leaves x unchanged.
void ReduceWords(std::span<Word> x, int& used, std::span<const Word> m, int k, int shift);

/// Remainder of the `used`-word number x by d (d = 0 gives 0).
Word ModWord(std::span<const Word> x, int used, Word d);

/// Left shift by 0..31 bits; the used length grows when bits leave the top
/// (x must then have room for one more word).
void ShiftWordsLeft(std::span<Word> x, int& used, int shift);
/// Right shift by 0..31 bits; the used length is kept.
void ShiftWordsRight(std::span<Word> x, int used, int shift);

/// result := base^exponent mod modulus. `result` needs as many words as the
/// modulus. A zero modulus fails (result 0); a zero exponent gives 1 mod m.
[[nodiscard]] bool ModPow(std::span<const Word> base, std::span<const Word> exponent,
                          std::span<const Word> modulus, std::span<Word> result, int& used);

/// ModPow on 32-word numbers, words above the used length set to 0. Its
/// sequence of operations follows the exponent's bits: public exponents only.
[[nodiscard]] Big ModPowBig(const Big& base, const Big& exponent, const Big& modulus);

/// ModPowBig for secret exponents (private keys): the same results and the
/// same moves of the generator, by a sequence of operations and memory reads
/// that does not depend on the exponent (all 1024 bits, fixed windows, the
/// table read by masks). About as fast for full-length exponents; slower for
/// short ones, which never hold keys. For an odd modulus above 1 nothing in it
/// depends on the exponent's value; other moduli (which carry no keys) keep
/// the fixed sequence but reduce by the general, value-dependent remainder.
[[nodiscard]] Big ModPowBigSecret(const Big& base, const Big& exponent, const Big& modulus);

}  // namespace quarnel
