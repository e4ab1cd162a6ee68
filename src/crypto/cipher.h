// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The block cipher on 128-bit blocks: a 127-bit value raised to a key-derived
// power in a group of order 2^127 - 1 (two representations, variants A and B),
// multiplied by the key modulo p = 2^127 - 1, and masked.

#include <span>

#include "crypto/types.h"

namespace quarnel {

enum class Variant : int { A = 0, B = 1 };

/// True when the 128 bits hold an even number of ones.
bool EvenParity(const Quad& q);
/// False for the four blocks whose value is 0 or p: 0, 2^127, 2^127 - 1, 2^128 - 1.
bool IsValidBlock(const Quad& q);

struct SplitValue {
    Quad value{};  ///< 127 bits
    bool even = true;
};
SplitValue SplitBlock(const Quad& q);
Quad JoinBlock(const Quad& value, bool even);

/// a * b modulo p, in 0..p-1.
Quad MulModP(const Quad& a, const Quad& b);
/// v^k in the group of the variant; k = 0 leaves v as it is.
Quad FieldPow(const Quad& v, const Quad& k, Variant variant);
/// Invalid blocks pass unchanged; the key's parity is not used.
Quad ExpBlock(const Quad& x, const Quad& key, Variant variant);
/// Invalid blocks pass unchanged.
Quad MulBlock(const Quad& x, const Quad& key);

/// Enciphers with `key`, or deciphers with the inverse key.
Quad CipherBlockMasked(const Quad& x, const Quad& key, const Quad& mask, Direction direction);
/// CipherBlockMasked without the mask.
Quad CipherBlock(const Quad& x, const Quad& key, Direction direction);
/// CipherBlockMasked of every block, in place: many blocks under one key go
/// side by side through the widest path.
void CipherBlocksMasked(std::span<Quad> blocks, const Quad& key, const Quad& mask,
                        Direction direction);

inline void XorQuad(Quad& a, const Quad& b) {
    for (int i = 0; i < 4; ++i)
        a[std::size_t(i)] ^= b[std::size_t(i)];
}

}  // namespace quarnel
