// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Internal to the cipher: its two groups seen as the field GF(2^127).
//
// A register holding the value v (v << 1) stands for a field element z written
// in a dual basis: variant A is GF(2)[x]/(x^127 + x^63 + 1), variant B
// GF(2)[x]/(x^127 + x^30 + 1). The register step multiplies z by x, the
// register multiply by the element whose polynomial coefficients it is given,
// and the conversion T writes z in the polynomial basis. So the register
// power v^k is z^k, computed here with carry-less products in the polynomial
// basis between the two conversions. The value with all 127 bits set is 1.
//
// Field elements travel "lazily reduced": any 128-bit polynomial congruent to
// the element; FullReduce brings one below x^127.

#include <bit>
#include <cstddef>
#include <cstdint>

#include "crypto/cipher.h"
#include "crypto/types.h"

namespace quarnel::gf {

__extension__ typedef unsigned __int128 U128;

constexpr U128 kOne = 1;
constexpr U128 kMask127 = (kOne << 127) - 1;

inline std::uint64_t Lo(U128 v) {
    return std::uint64_t(v);
}
inline std::uint64_t Hi(U128 v) {
    return std::uint64_t(v >> 64);
}
inline U128 Make(std::uint64_t lo, std::uint64_t hi) {
    return (U128(hi) << 64) | lo;
}

inline U128 FromQuad(const Quad& q) {
    return Make(q[0] | std::uint64_t(q[1]) << 32, q[2] | std::uint64_t(q[3]) << 32);
}
inline Quad ToQuad(U128 v) {
    return {Word(Lo(v)), Word(Lo(v) >> 32), Word(Hi(v)), Word(Hi(v) >> 32)};
}

inline bool OddParity(U128 v) {
    return ((std::popcount(Lo(v)) ^ std::popcount(Hi(v))) & 1) != 0;
}
/// False for the four blocks whose value is 0 or p.
inline bool IsValid(U128 b) {
    const U128 low = b & kMask127;
    return low != 0 && low != kMask127;
}

/// The 127-bit value of a block: an even block drops bit 0, an odd one bit 127.
// The parities of the blocks are as good as random: the choices they make
// go through masks, not branches a processor would mispredict half the time.

/// All ones when `bit`, else 0.
inline U128 MaskOf(bool bit) {
    return U128(0) - U128(bit);
}

inline U128 ValueOf(U128 b, bool even) {
    const U128 m = MaskOf(even);
    return ((b >> 1) & m) | (b & kMask127 & ~m);
}
/// A key's value: its parity only chooses which bit it drops.
inline U128 KeyValue(const Quad& key) {
    const U128 k = FromQuad(key);
    return ValueOf(k, !OddParity(k));
}
inline U128 Join(U128 value, bool even) {
    const bool odd = OddParity(value);
    const U128 m = MaskOf(even);
    return (((value << 1) | U128(odd)) & m) | ((value | (U128(!odd) << 127)) & ~m);
}

/// a * b modulo p = 2^127 - 1, in 0..p-1, for any two 128-bit numbers.
inline U128 MulModP(U128 a, U128 b) {
    const U128 p00 = U128(Lo(a)) * Lo(b);
    const U128 p01 = U128(Lo(a)) * Hi(b);
    const U128 p10 = U128(Hi(a)) * Lo(b);
    const U128 p11 = U128(Hi(a)) * Hi(b);
    const U128 mid = p01 + p10;
    const U128 midCarry = U128(mid < p01) << 64;
    const U128 lo = p00 + (mid << 64);
    const U128 hi = p11 + (mid >> 64) + midCarry + U128(lo < p00);
    // hi * 2^128 + lo, with 2^127 = 1: hi * 2^128 = 2 * (hi mod 2^127) + 2 * (hi >> 127).
    U128 s = (lo & kMask127) + (lo >> 127) + ((hi >> 126) & 1) + 2 * (hi >> 127);
    s = (s & kMask127) + (s >> 127);
    s += (hi << 1) & kMask127;
    s = (s & kMask127) + (s >> 127);
    return s >= kMask127 ? s - kMask127 : s;
}

/// MulModP for two values below 2^127 (the product fits 254 bits, so
/// fewer folds are needed).
inline U128 MulValuesModP(U128 a, U128 b) {
    const U128 p00 = U128(Lo(a)) * Lo(b);
    const U128 mid = U128(Lo(a)) * Hi(b) + U128(Hi(a)) * Lo(b);  // below 2^128
    const U128 lo = p00 + (mid << 64);
    const U128 hi = U128(Hi(a)) * Hi(b) + (mid >> 64) + U128(lo < p00);  // below 2^126
    // 2^128 = 2 and 2^127 = 1 modulo p; the sum stays below 2^128.
    U128 s = (lo & kMask127) + (lo >> 127) + (hi << 1);
    s = (s & kMask127) + (s >> 127);  // at most 2^127
    return s - (MaskOf(s >= kMask127) & kMask127);
}

// Variant constants: the trinomial x^127 + x^t + 1 gives x^128 = x^(t+1) + x.
template <Variant V>
inline constexpr int kShift = V == Variant::A ? 64 : 31;  // t + 1
template <Variant V>
inline constexpr int kFold = 128 - kShift<V>;  // 64 or 97: the feedback bit
template <Variant V>
inline constexpr U128 kLowTerms = (kOne << (kShift<V> - 1)) | 1;  // x^t + 1

/// The polynomial-basis form of the element whose register value is v.
template <Variant V>
inline U128 DualToPoly(U128 v) {
    const U128 u = v ^ (((v << 1) | (v >> 126)) & kMask127);
    return u ^ (u >> kFold<V>)^((v >> (kFold<V> - 1)) & 1);
}

/// Bit i of the result is the XOR of bits 0..i of w: each half by shifts of
/// constant width, then the low half's parity carried into the high one.
inline U128 PrefixXor(U128 w) {
    auto half = [](std::uint64_t x) {
        x ^= x << 1;
        x ^= x << 2;
        x ^= x << 4;
        x ^= x << 8;
        x ^= x << 16;
        return x ^ (x << 32);
    };
    const std::uint64_t lo = half(Lo(w));
    return Make(lo, half(Hi(w)) ^ (0 - (lo >> 63)));
}

/// The register value of a fully reduced element: the inverse of DualToPoly.
/// Undoing the fold leaves the rotation difference u = v ^ rotl(v) but for its
/// bit 0, which takes the feedback bit of v: u has even weight, which gives
/// that bit; a prefix XOR of u then gives v up to complement, and the
/// feedback bit again decides the complement.
template <Variant V>
inline U128 PolyToDual(U128 c) {
    U128 u = c ^ (c >> kFold<V>);
    const bool feedback = OddParity(u);
    const U128 w = PrefixXor(u & ~kOne) & kMask127;
    const bool top = ((w >> (kFold<V> - 1)) & 1) != 0;
    return w ^ (MaskOf(feedback != top) & kMask127);
}

/// 256-bit product (lo, hi) of two lazily reduced elements, folded to 128 bits.
template <Variant V>
inline U128 Reduce(U128 lo, U128 hi) {
    const U128 u = hi ^ (hi >> kFold<V>);
    return lo ^ (u << 1) ^ (u << kShift<V>);
}

template <Variant V>
inline U128 FullReduce(U128 r) {
    return r ^ (MaskOf((r >> 127) != 0) & ((kOne << 127) | kLowTerms<V>));
}

namespace detail {
// Bits whose place is c modulo 5, over 64 and over 128 bits.
struct BitClasses {
    std::uint64_t of64[5];
    U128 of128[5];
};
constexpr BitClasses MakeBitClasses() {
    BitClasses m{};
    for (int c = 0; c < 5; ++c) {
        for (int i = c; i < 128; i += 5) {
            if (i < 64) m.of64[c] |= std::uint64_t(1) << i;
            m.of128[c] |= kOne << i;
        }
    }
    return m;
}
inline constexpr BitClasses kBitClasses = MakeBitClasses();
}  // namespace detail

/// Carry-less 64 x 64-bit product without special instructions: the operands
/// are cut into five interleaved bit classes, so that no place of an integer
/// product sums more than 13 terms and no carry reaches a place of its class.
inline U128 Clmul64(std::uint64_t a, std::uint64_t b) {
    const auto& m = detail::kBitClasses;
    std::uint64_t as[5];
    std::uint64_t bs[5];
    for (int i = 0; i < 5; ++i) {
        as[i] = a & m.of64[i];
        bs[i] = b & m.of64[i];
    }
    U128 r = 0;
    for (int c = 0; c < 5; ++c) {
        U128 sum = 0;
        for (int i = 0; i < 5; ++i)
            sum ^= U128(as[i]) * bs[(c - i + 5) % 5];
        r |= sum & m.of128[c];
    }
    return r;
}

/// The square of a polynomial of 64 bits: its bits spread to the even places.
inline U128 Spread64(std::uint64_t a) {
    auto spread32 = [](std::uint64_t t) {
        t = (t | t << 16) & 0x0000FFFF0000FFFFull;
        t = (t | t << 8) & 0x00FF00FF00FF00FFull;
        t = (t | t << 4) & 0x0F0F0F0F0F0F0F0Full;
        t = (t | t << 2) & 0x3333333333333333ull;
        return (t | t << 1) & 0x5555555555555555ull;
    };
    return Make(spread32(a & 0xFFFFFFFFu), spread32(a >> 32));
}

template <Variant V>
inline U128 SqrPortable(U128 a) {
    return Reduce<V>(Spread64(Lo(a)), Spread64(Hi(a)));
}

template <Variant V>
inline U128 MulPortable(U128 a, U128 b) {
    const U128 lo = Clmul64(Lo(a), Lo(b));
    const U128 hi = Clmul64(Hi(a), Hi(b));
    const U128 mid = Clmul64(Lo(a) ^ Hi(a), Lo(b) ^ Hi(b)) ^ lo ^ hi;
    return Reduce<V>(lo ^ (mid << 64), hi ^ (mid >> 64));
}

/// The steps of the blocks between the two powers of the cipher.
inline void InvertOdd(U128& y) {
    y ^= MaskOf(OddParity(y));
}
inline U128 MulBlockValue(U128 y, U128 k) {
    if (!IsValid(y)) return y;
    const bool even = !OddParity(y);
    return Join(MulValuesModP(ValueOf(y, even), k), even);
}

// z -> z^(2^(32 j)) for j = 1, 2, 3: linear over GF(2), so a table per byte of
// the element applies it (16 lookups); the tables take lazily reduced
// elements. Built once, on first use.
using MapTable = U128[16][256];
struct PowerMaps {
    MapTable table[2][3];  ///< [variant][j - 1]
};
const PowerMaps& BuildPowerMaps();
inline const PowerMaps& Maps() {
    static const PowerMaps& maps = BuildPowerMaps();
    return maps;
}
static_assert(std::endian::native == std::endian::little, "the maps read elements by bytes");

/// Blocks that go through the batch power side by side.
constexpr int kBatch = 16;
/// Most odd powers in a batch table (windows up to 5 bits).
constexpr int kMaxEntries = 16;

/// Sliding-window plan of z^k, made once per key: start from the odd power
/// `first`, then for each step square `squarings[i]` times and multiply by
/// the odd power `digit[i]` (none when negative).
struct PowSchedule {
    int entries = 1;  ///< table of z, z^3, ..., z^(2 entries - 1)
    int first = 0;
    int count = 0;
    std::uint8_t squarings[130];  ///< the first `count` are set
    std::int8_t digit[130];
};
/// k must not be 0.
PowSchedule MakeSchedule(U128 k);

/// The field squarings and products of one batch power by `s`, its table
/// included: what the arithmetic of one element costs at least.
struct PowCost {
    int squarings = 0;
    int products = 0;
};
PowCost CostOf(const PowSchedule& s);

/// Working storage of one operation (one text, one block): powers of
/// secret values pass through it, so its owner wipes it when done.
struct Scratch {
    struct Lone {
        alignas(64) U128 table[16];  ///< z^0 .. z^15
        alignas(64) U128 pieces[4];  ///< the four partial powers
        std::uint8_t digits[8][4];   ///< the exponent's windows, lane by lane
        U128 exponent;
    };
    Lone lone[2];
    /// Two batches in flight: batch j uses table j % 2 and elements
    /// work[kBatch * (j % 2)...].
    alignas(64) U128 batchTable[2][kMaxEntries * kBatch];
    alignas(64) U128 work[2 * kBatch];
    bool even[2 * kBatch];
    PowSchedule schedule;
    U128 scheduleKey = 0;
    bool hasSchedule = false;
    int tablesUsed = 0;
    int workUsed = 0;
    /// Draws the literal form's wipes would have made: the generator moves on
    /// by as many when the scratch is released, so that it stands where the
    /// literal form leaves it.
    std::uint64_t draws = 0;

    Scratch() = default;
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    /// Overwrites what was used with random words; moves the generator on.
    ~Scratch();
};

/// One implementation of the cipher's inner loops.
struct Kernel {
    /// v^k for a value v of 127 bits and k != 0.
    U128 (*fieldPow)(U128 v, U128 k, Variant variant, Scratch& s);
    /// CipherBlockMasked of n blocks in place, all with the key value k.
    void (*cipherBlocks)(U128* blocks, std::size_t n, U128 k, U128 mask, Direction d, Scratch& s);
    /// Continues the condensation chain from `digest` over n valid blocks.
    U128 (*condense)(const U128* blocks, std::size_t n, U128 digest, Scratch& s);
    /// The batch power's operations alone (for the benchmarks): `rounds`
    /// squarings of the kBatch elements at z in place, or products by the
    /// kBatch elements at `factors`.
    void (*batchSquarings)(U128* z, int rounds, Variant variant);
    void (*batchProducts)(U128* z, const U128* factors, int rounds, Variant variant);
};

extern const Kernel kPortableKernel;
extern const Kernel kClmulKernel;
extern const Kernel kAvx512Kernel;

/// The kernel of the active path (crypto/cipher_path.h).
const Kernel& ActiveKernel();

}  // namespace quarnel::gf
