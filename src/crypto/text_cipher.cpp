#include "crypto/text_cipher.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "crypto/bignum.h"
#include "crypto/gf127.h"
#include "crypto/hextext.h"
#include "crypto/random.h"

namespace quarnel {
namespace {

using gf::U128;

// Blocks go through the kernels this many at a time: the buffer stays in the
// cache and is the only copy of the plain blocks, wiped once per text.
constexpr std::size_t kChunk = 512;

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
constexpr DigitValues kDigitValues = MakeDigitValues();

bool IsHexDigit(char c) {
    return kDigitValues.of[static_cast<unsigned char>(c)] < 16;
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
constexpr DigitPairs kDigitPairs = MakeDigitPairs();

std::uint64_t LoadBigEndian(const char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return __builtin_bswap64(v);
}

/// 16 bytes, the first the most significant (TextToHex then HexToQuad).
U128 BlockOfBytes(const char* p) {
    return gf::Make(LoadBigEndian(p + 8), LoadBigEndian(p));
}

void BytesOfBlock(U128 b, char* p) {
    const std::uint64_t hi = __builtin_bswap64(gf::Hi(b));
    const std::uint64_t lo = __builtin_bswap64(gf::Lo(b));
    std::memcpy(p, &hi, 8);
    std::memcpy(p + 8, &lo, 8);
}

/// Block i of `text` padded with `pad` to whole blocks.
U128 PaddedBlock(std::string_view text, std::size_t i, char pad) {
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

/// QuadToHex.
std::string HexLine(U128 b) {
    char bytes[16];
    BytesOfBlock(b, bytes);
    std::string s(32, '0');
    for (int i = 0; i < 16; ++i) {
        std::memcpy(&s[std::size_t(2 * i)], kDigitPairs.of[static_cast<unsigned char>(bytes[i])],
                    2);
    }
    return s;
}

/// HexToQuad, read directly when the text is 32 digits.
U128 HexValue(std::string_view text) {
    if (text.size() == 32) {
        U128 r = 0;
        unsigned bad = 0;
        for (char c : text) {
            const unsigned d = kDigitValues.of[static_cast<unsigned char>(c)];
            bad |= d;
            r = (r << 4) | (d & 15);
        }
        if (bad < 16) return r;
    }
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

/// Deciphers the two header lines at `index` (the first must decipher to the
/// second) and gives the header text, when the blocks it announces are all
/// in the list.
bool ReadHeader(const Lines& lines, std::size_t index, U128 key, U128 mask, gf::Scratch& s,
                std::string& header) {
    if (lines.size() < 2 || index > lines.size() - 2) return false;
    const gf::Kernel& kernel = gf::ActiveKernel();
    U128 pair[2] = {HexValue(lines[index]), HexValue(lines[index + 1])};
    kernel.cipherBlocks(pair, 1, key, mask, Direction::Decipher, s);
    const bool ok = pair[0] == pair[1];
    if (ok) kernel.cipherBlocks(pair + 1, 1, key, mask, Direction::Decipher, s);
    std::string text = ok ? HexLine(pair[1]) : std::string();
    WipeBytes(pair, sizeof pair);
    if (!ok) return false;
    const auto n = static_cast<std::int32_t>(HexToWord(std::string_view(text).substr(16, 8)));
    if (n < 0 || index + 2 + std::size_t(n) > lines.size()) return false;
    header = std::move(text);
    return true;
}

/// The condensation chain over `count` blocks that `blockAt` gives; `extra`
/// draws are those of the caller's own wipes.
template <class BlockAt>
bool CondenseBlocks(std::size_t count, BlockAt blockAt, std::uint64_t extra, Quad& digest) {
    gf::Scratch s;
    s.draws = extra;
    Chunk chunk;
    const gf::Kernel& kernel = gf::ActiveKernel();
    U128 d = 0;
    for (std::size_t i = 0; i < count; i += kChunk) {
        const std::size_t n = std::min(kChunk, count - i);
        U128* b = chunk.Take(n);
        for (std::size_t j = 0; j < n; ++j) {
            b[j] = blockAt(i + j);
            if (!gf::IsValid(b[j])) {
                // The blocks before it went through the chain all the same.
                (void)kernel.condense(b, j, d, s);
                digest = Quad{};
                return false;
            }
        }
        d = kernel.condense(b, n, d, s);
    }
    digest = gf::ToQuad(d);
    return true;
}

}  // namespace

bool EncipherText(std::string_view code, char field1, char field2, Lines& lines, const Quad& mask,
                  const Quad& key, std::string_view plain, double dateTime) {
    if (code.size() != 5 || !IsHexDigit(field1) || !IsHexDigit(field2)) return false;
    if (!std::all_of(code.begin(), code.end(), IsHexDigit)) return false;
    const std::size_t n = (plain.size() + 15) / 16;
    if (n > 0x7FFFFFFFu) return false;
    const std::size_t pad = 16 * n - plain.size();

    std::string header = DateToHex(dateTime) + WordToHex(Word(n));
    header += kHexDigits[pad];
    header += code;
    header += field1;
    header += field2;

    const gf::Kernel& kernel = gf::ActiveKernel();
    const U128 k = gf::KeyValue(key);
    const U128 m = gf::FromQuad(mask);
    gf::Scratch s;
    Chunk chunk;
    U128* c = chunk.Take(2);
    c[0] = gf::FromQuad(HexToQuad(header));
    kernel.cipherBlocks(c, 1, k, m, Direction::Encipher, s);
    c[1] = c[0];
    kernel.cipherBlocks(c + 1, 1, k, m, Direction::Encipher, s);
    lines.reserve(lines.size() + n + 2);
    lines.push_back(HexLine(c[1]));
    lines.push_back(HexLine(c[0]));
    // The literal form wipes each plain block, the header and the padded text.
    s.draws += 8 * n + 8 + 16 * n;
    for (std::size_t i = 0; i < n; i += kChunk) {
        const std::size_t count = std::min(kChunk, n - i);
        U128* b = chunk.Take(count);
        for (std::size_t j = 0; j < count; ++j)
            b[j] = PaddedBlock(plain, i + j, 'U');
        kernel.cipherBlocks(b, count, k, m, Direction::Encipher, s);
        for (std::size_t j = 0; j < count; ++j)
            lines.push_back(HexLine(b[j]));
    }
    return true;
}

bool VerifyHeader(const Lines& lines, std::size_t index, const Quad& key, const Quad& mask,
                  std::string& headerText) {
    gf::Scratch s;
    return ReadHeader(lines, index, gf::KeyValue(key), gf::FromQuad(mask), s, headerText);
}

bool DecipherText(const Lines& lines, std::size_t& index, const Quad& key, const Quad& mask,
                  DecipheredText& out) {
    const U128 k = gf::KeyValue(key);
    const U128 m = gf::FromQuad(mask);
    gf::Scratch s;
    std::string header;
    if (!ReadHeader(lines, index, k, m, s, header)) return false;

    const std::string_view h(header);
    DecipheredText result;
    result.dateTime = HexToDate(h.substr(0, 16));
    const std::size_t n = HexToWord(h.substr(16, 8));
    const std::size_t pad = kDigitValues.of[static_cast<unsigned char>(h[24])];
    result.code = std::string(h.substr(25, 5));
    result.field1 = h[30];
    result.field2 = h[31];

    const gf::Kernel& kernel = gf::ActiveKernel();
    Chunk chunk;
    s.draws += 8 * n;  // the literal form wipes each deciphered block
    result.text.resize(16 * n);
    for (std::size_t i = 0; i < n; i += kChunk) {
        const std::size_t count = std::min(kChunk, n - i);
        U128* b = chunk.Take(count);
        for (std::size_t j = 0; j < count; ++j)
            b[j] = HexValue(lines[index + 2 + i + j]);
        kernel.cipherBlocks(b, count, k, m, Direction::Decipher, s);
        for (std::size_t j = 0; j < count; ++j)
            BytesOfBlock(b[j], &result.text[16 * (i + j)]);
    }
    result.text.resize(result.text.size() - std::min(pad, result.text.size()));
    index += 2 + n;
    out = std::move(result);
    return true;
}

bool CondenseText(std::string_view text, Quad& digest) {
    const std::size_t n = (text.size() + 15) / 16;
    // The literal form wipes every piece, whatever the chain gave.
    return CondenseBlocks(
        n, [&](std::size_t i) { return PaddedBlock(text, i, 'U'); }, 8 * n, digest);
}

bool CondenseHex(std::string_view hex, Quad& digest) {
    const auto groupAt = [&](std::size_t i) {
        const std::size_t begin = 32 * i;
        if (hex.size() - begin >= 32) return HexValue(hex.substr(begin, 32));
        std::string last(hex.substr(begin));
        last.resize(32, '5');
        return HexValue(last);
    };
    return CondenseBlocks((hex.size() + 31) / 32, groupAt, 0, digest);
}

}  // namespace quarnel
