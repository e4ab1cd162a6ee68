// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the enciphered texts held in memory and the streamed ones share: the
// batch of blocks, the hexadecimal lines, the header pair. Private to the
// two units.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

#include "crypto/bignum.h"
#include "crypto/gf127.h"
#include "crypto/hextext.h"
#include "crypto/random.h"

namespace quarnel::textblocks {

using gf::U128;

// Blocks go through the kernels this many at a time: the buffer stays in the
// cache and is the only copy of the plain blocks, wiped once per text.
inline constexpr std::size_t kChunk = 512;

/// Value of a hexadecimal digit of either case; 16 for any other character.
struct DigitValues {
    std::uint8_t of[256];
};
constexpr DigitValues MakeDigitValues() {
    DigitValues d{};
    for (int c = 0; c < 256; ++c) {
        const int v = HexDigitValue(char(c));
        d.of[c] = v < 0 ? 16 : std::uint8_t(v);
    }
    return d;
}
inline constexpr DigitValues kDigitValues = MakeDigitValues();

inline unsigned DigitOf(char c) {
    return kDigitValues.of[static_cast<unsigned char>(c)];
}
inline bool IsHexDigit(char c) {
    return DigitOf(c) < 16;
}

/// The two upper-case digits of every byte.
struct DigitPairs {
    char of[256][2];
};
constexpr DigitPairs MakeDigitPairs() {
    DigitPairs p{};
    for (int b = 0; b < 256; ++b) {
        p.of[b][0] = kHexDigits[b >> 4];
        p.of[b][1] = kHexDigits[b & 15];
    }
    return p;
}
inline constexpr DigitPairs kDigitPairs = MakeDigitPairs();

inline std::uint64_t LoadBigEndian(const char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return __builtin_bswap64(v);
}

/// 16 bytes, the first the most significant (TextToHex then HexToQuad).
inline U128 BlockOfBytes(const char* p) {
    return gf::Make(LoadBigEndian(p + 8), LoadBigEndian(p));
}

inline void BytesOfBlock(U128 b, char* p) {
    const std::uint64_t hi = __builtin_bswap64(gf::Hi(b));
    const std::uint64_t lo = __builtin_bswap64(gf::Lo(b));
    std::memcpy(p, &hi, 8);
    std::memcpy(p + 8, &lo, 8);
}

/// Block i of `text` padded with `pad` to whole blocks.
inline U128 PaddedBlock(std::string_view text, std::size_t i, char pad) {
    const std::size_t begin = 16 * i;
    if (text.size() - begin >= 16) return BlockOfBytes(text.data() + begin);
    char piece[16];
    const std::size_t n = text.size() - begin;
    std::memcpy(piece, text.data() + begin, n);
    std::memset(piece + n, pad, 16 - n);
    const U128 b = BlockOfBytes(piece);
    WipeBytes(piece, sizeof piece);
    return b;
}

/// QuadToHex into `out`: 32 digits, by a table of digit pairs.
inline char* PutHexLine(U128 b, char* out) {
    char bytes[16];
    BytesOfBlock(b, bytes);
    for (int i = 0; i < 16; ++i, out += 2)
        std::memcpy(out, kDigitPairs.of[static_cast<unsigned char>(bytes[i])], 2);
    return out;
}

inline std::string HexLine(U128 b) {
    std::string s(32, '0');
    PutHexLine(b, s.data());
    return s;
}

/// The 8 hexadecimal digits at p (the first the most significant) as a
/// word, eight characters at once in one 64-bit integer; false when one of
/// them is not a digit (lower case counting only with `lowerCase`).
inline bool HexWordAt(const char* p, bool lowerCase, std::uint32_t& out) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kTops = 0x8080808080808080ull;
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    const std::uint64_t b = v & ~kTops;
    // Bit 7 of each byte of AtLeast(c): that byte of b is c or more (no
    // carry leaves a byte: b < 0x80 and c >= 0x30).
    const auto atLeast = [b](unsigned c) { return b + (0x80 - c) * kOnes; };
    std::uint64_t ok = (atLeast('0') & ~atLeast('9' + 1)) | (atLeast('A') & ~atLeast('F' + 1));
    if (lowerCase) ok |= atLeast('a') & ~atLeast('f' + 1);
    ok &= ~v;  // a byte with its top bit set is no digit
    // Letters have bit 6: their value is their low nibble plus 9.
    const std::uint64_t nibbles = (b & 0x0F0F0F0F0F0F0F0Full) + ((b >> 6) & kOnes) * 9;
    std::uint64_t t =
        ((nibbles & 0x00FF00FF00FF00FFull) << 4) | ((nibbles >> 8) & 0x00FF00FF00FF00FFull);
    t = (t | (t >> 8)) & 0x0000FFFF0000FFFFull;
    t = (t | (t >> 16)) & 0xFFFFFFFFull;
    out = __builtin_bswap32(std::uint32_t(t));  // the first pair is the top byte
    return (ok & kTops) == kTops;
}

#if defined(__SSE2__)
/// The 16 hexadecimal digits at p as 8 bytes, in 16-bit lanes, in the order
/// of the digits; the mask of the characters that are digits.
inline int HexHalfAt(const char* p, bool lowerCase, __m128i& pairs) {
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    // Signed: a byte with its top bit set is below every digit.
    const auto within = [c](char lo, char hi) {
        return _mm_and_si128(_mm_cmpgt_epi8(c, _mm_set1_epi8(char(lo - 1))),
                             _mm_cmplt_epi8(c, _mm_set1_epi8(char(hi + 1))));
    };
    __m128i ok = _mm_or_si128(within('0', '9'), within('A', 'F'));
    if (lowerCase) ok = _mm_or_si128(ok, within('a', 'f'));
    // Letters have bit 6: their value is their low nibble plus 9.
    const __m128i bit6 = _mm_set1_epi8(0x40);
    const __m128i letter = _mm_cmpeq_epi8(_mm_and_si128(c, bit6), bit6);
    const __m128i nibbles = _mm_add_epi8(_mm_and_si128(c, _mm_set1_epi8(0x0F)),
                                         _mm_and_si128(letter, _mm_set1_epi8(9)));
    // A lane holds a pair, its first digit in the low byte.
    pairs = _mm_or_si128(_mm_slli_epi16(_mm_and_si128(nibbles, _mm_set1_epi16(0x00FF)), 4),
                         _mm_srli_epi16(nibbles, 8));
    return _mm_movemask_epi8(ok);
}
#endif

/// The 32 hexadecimal digits at p as a block; false when one is not a digit.
inline bool HexLineAt(const char* p, bool lowerCase, U128& out) {
#if defined(__SSE2__)
    // Sixteen digits at a time: this parse runs once per block deciphered.
    __m128i first, second;
    const int ok = HexHalfAt(p, lowerCase, first) & HexHalfAt(p + 16, lowerCase, second);
    std::uint64_t bytes[2];  // the block's bytes, the most significant first
    _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes), _mm_packus_epi16(first, second));
    out = gf::Make(__builtin_bswap64(bytes[1]), __builtin_bswap64(bytes[0]));
    return ok == 0xFFFF;
#else
    std::uint32_t w[4];
    bool ok = true;
    for (int i = 0; i < 4; ++i)
        ok &= HexWordAt(p + 8 * i, lowerCase, w[i]);
    out = gf::Make(std::uint64_t(w[2]) << 32 | w[3], std::uint64_t(w[0]) << 32 | w[1]);
    return ok;
#endif
}

/// HexToQuad, read directly when the text is 32 digits.
inline U128 HexValue(std::string_view text) {
    U128 r;
    if (text.size() == 32 && HexLineAt(text.data(), true, r)) return r;
    return gf::FromQuad(HexToQuad(text));
}

/// Chunk buffer of a text's blocks, wiped when released.
struct Chunk {
    U128 blocks[kChunk];
    std::size_t used = 0;
    Chunk() = default;
    Chunk(const Chunk&) = delete;
    Chunk& operator=(const Chunk&) = delete;
    ~Chunk() { WipeBytes(blocks, sizeof(U128) * used); }
    U128* Take(std::size_t n) {
        used = std::max(used, n);
        return blocks;
    }
};

/// The batch kernel both paths share: up to kChunk blocks of `plain` from
/// block `first` (the last padded with 'U') enciphered into the chunk. Gives
/// how many.
inline std::size_t EncipherBatch(std::string_view plain, std::size_t first, std::size_t total,
                                 U128 k, U128 m, gf::Scratch& s, Chunk& chunk) {
    const std::size_t count = std::min(kChunk, total - first);
    U128* b = chunk.Take(count);
    for (std::size_t j = 0; j < count; ++j)
        b[j] = PaddedBlock(plain, first + j, 'U');
    gf::ActiveKernel().cipherBlocks(b, count, k, m, Direction::Encipher, s);
    return count;
}

/// The header's two blocks as the enciphered text begins with them.
inline void EncipherHeader(std::string_view header, U128 k, U128 m, gf::Scratch& s, Chunk& chunk,
                           U128& first, U128& second) {
    const gf::Kernel& kernel = gf::ActiveKernel();
    U128* c = chunk.Take(2);
    c[0] = gf::FromQuad(HexToQuad(header));
    kernel.cipherBlocks(c, 1, k, m, Direction::Encipher, s);
    c[1] = c[0];
    kernel.cipherBlocks(c + 1, 1, k, m, Direction::Encipher, s);
    first = c[1];
    second = c[0];
}

/// The 32 digits of the header the two lines carry (the first must decipher
/// to the second); false when they do not match.
inline bool DecipherHeader(U128 first, U128 second, U128 key, U128 mask, gf::Scratch& s,
                           std::string& header) {
    const gf::Kernel& kernel = gf::ActiveKernel();
    U128 pair[2] = {first, second};
    kernel.cipherBlocks(pair, 1, key, mask, Direction::Decipher, s);
    const bool ok = pair[0] == pair[1];
    if (ok) kernel.cipherBlocks(pair + 1, 1, key, mask, Direction::Decipher, s);
    if (ok) header = HexLine(pair[1]);
    WipeBytes(pair, sizeof pair);
    return ok;
}

/// The header text: date-time, block count, padding, code and the two fields.
inline std::string HeaderText(double dateTime, std::size_t n, std::size_t pad,
                              std::string_view code, char field1, char field2) {
    std::string header = DateToHex(dateTime) + WordToHex(Word(n));
    header += kHexDigits[pad];
    header += code;
    header += field1;
    header += field2;
    return header;
}

inline bool ValidFields(std::string_view code, char field1, char field2) {
    return code.size() == 5 && IsHexDigit(field1) && IsHexDigit(field2) &&
           std::all_of(code.begin(), code.end(), IsHexDigit);
}

}  // namespace quarnel::textblocks
