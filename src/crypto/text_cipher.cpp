// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/text_cipher.h"

#include <algorithm>
#include <cstdint>

#include "crypto/text_blocks.h"

namespace quarnel {
namespace {

using namespace textblocks;

/// Deciphers the two header lines at `index` (the first must decipher to the
/// second) and gives the header text, when the blocks it announces are all
/// in the list.
bool ReadHeader(const Lines& lines, std::size_t index, U128 key, U128 mask, gf::Scratch& s,
                std::string& header) {
    if (lines.size() < 2 || index > lines.size() - 2) return false;
    std::string text;
    if (!DecipherHeader(HexValue(lines[index]), HexValue(lines[index + 1]), key, mask, s, text))
        return false;
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
    if (!ValidFields(code, field1, field2)) return false;
    const std::size_t n = (plain.size() + 15) / 16;
    if (n > 0x7FFFFFFFu) return false;
    const std::size_t pad = 16 * n - plain.size();

    const U128 k = gf::KeyValue(key);
    const U128 m = gf::FromQuad(mask);
    gf::Scratch s;
    Chunk chunk;
    U128 first;
    U128 second;
    EncipherHeader(HeaderText(dateTime, n, pad, code, field1, field2), k, m, s, chunk, first,
                   second);
    lines.reserve(lines.size() + n + 2);
    lines.push_back(HexLine(first));
    lines.push_back(HexLine(second));
    // The literal form wipes each plain block, the header and the padded text.
    s.draws += 8 * n + 8 + 16 * n;
    for (std::size_t i = 0; i < n;) {
        const std::size_t count = EncipherBatch(plain, i, n, k, m, s, chunk);
        for (std::size_t j = 0; j < count; ++j)
            lines.push_back(HexLine(chunk.blocks[j]));
        i += count;
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
