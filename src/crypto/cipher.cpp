// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/cipher.h"

#include <algorithm>

#include "crypto/gf127.h"
#include "crypto/random.h"

// The register arithmetic runs as field arithmetic (crypto/gf127.h) on the
// path that crypto/cipher_path.h selects.

namespace quarnel {

using gf::FromQuad;
using gf::ToQuad;
using gf::U128;

bool EvenParity(const Quad& q) {
    return !gf::OddParity(FromQuad(q));
}

bool IsValidBlock(const Quad& q) {
    return gf::IsValid(FromQuad(q));
}

SplitValue SplitBlock(const Quad& q) {
    SplitValue s;
    s.even = EvenParity(q);
    s.value = ToQuad(gf::ValueOf(FromQuad(q), s.even));
    return s;
}

Quad JoinBlock(const Quad& value, bool even) {
    return ToQuad(gf::Join(FromQuad(value), even));
}

Quad MulModP(const Quad& a, const Quad& b) {
    return ToQuad(gf::MulModP(FromQuad(a), FromQuad(b)));
}

Quad FieldPow(const Quad& v, const Quad& k, Variant variant) {
    const U128 e = FromQuad(k);
    if (e == 0) return v;
    gf::Scratch s;
    s.draws = 16;  // the two registers
    return ToQuad(gf::ActiveKernel().fieldPow(FromQuad(v) & gf::kMask127, e, variant, s));
}

using gf::KeyValue;

Quad ExpBlock(const Quad& x, const Quad& key, Variant variant) {
    const U128 b = FromQuad(x);
    const U128 k = KeyValue(key);  // the split values are wiped afterwards
    if (!gf::IsValid(b)) return x;
    if (k == 0) {
        SkipDraws(16);  // the two split values
        return x;
    }
    const bool even = !gf::OddParity(b);
    U128 split[2] = {gf::ValueOf(b, even), k};
    gf::Scratch s;
    s.draws = 32;  // the two split values and the two registers
    const Quad result =
        ToQuad(gf::Join(gf::ActiveKernel().fieldPow(split[0], split[1], variant, s), even));
    WipeBytes(split, sizeof split);
    return result;
}

Quad MulBlock(const Quad& x, const Quad& key) {
    return ToQuad(gf::MulBlockValue(FromQuad(x), KeyValue(key)));
}

Quad CipherBlockMasked(const Quad& x, const Quad& key, const Quad& mask, Direction direction) {
    U128 y = FromQuad(x);
    gf::Scratch s;
    gf::ActiveKernel().cipherBlocks(&y, 1, KeyValue(key), FromQuad(mask), direction, s);
    const Quad result = ToQuad(y);
    WipeBytes(&y, sizeof y);
    return result;
}

Quad CipherBlock(const Quad& x, const Quad& key, Direction direction) {
    return CipherBlockMasked(x, key, Quad{}, direction);
}

void CipherBlocksMasked(std::span<Quad> blocks, const Quad& key, const Quad& mask,
                        Direction direction) {
    constexpr std::size_t kChunk = 256;
    U128 chunk[kChunk];
    gf::Scratch s;
    const gf::Kernel& kernel = gf::ActiveKernel();
    const U128 k = KeyValue(key);
    for (std::size_t i = 0; i < blocks.size(); i += kChunk) {
        const std::size_t n = std::min(kChunk, blocks.size() - i);
        for (std::size_t j = 0; j < n; ++j)
            chunk[j] = FromQuad(blocks[i + j]);
        kernel.cipherBlocks(chunk, n, k, FromQuad(mask), direction, s);
        for (std::size_t j = 0; j < n; ++j)
            blocks[i + j] = ToQuad(chunk[j]);
    }
    WipeBytes(chunk, sizeof(U128) * std::min(kChunk, blocks.size()));
}

}  // namespace quarnel
