// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdint>

#include "crypto/bignum.h"
#include "crypto/hextext.h"
#include "crypto/random.h"
#include "crypto/secret.h"
#include "literal_cipher.h"

namespace quarnel::literal {
namespace {

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

constexpr char kDigits[] = "0123456789ABCDEF";

Quad PieceToQuad(std::string_view piece) {
    return HexToQuad(TextToHex(piece));
}

// The chain shared by both condensations: digest := E(B, key B, mask digest).
bool CondenseBlocks(const std::vector<Quad>& blocks, Quad& digest) {
    digest = Quad{};
    for (const Quad& b : blocks) {
        if (!IsValidBlock(b)) {
            digest = Quad{};
            return false;
        }
        digest = literal::CipherBlockMasked(b, b, digest, Direction::Encipher);
    }
    return true;
}

}  // namespace

bool EncipherText(std::string_view code, char field1, char field2, Lines& lines, const Quad& mask,
                  const Quad& key, std::string_view plain, double dateTime) {
    if (code.size() != 5 || !IsHexDigit(field1) || !IsHexDigit(field2)) return false;
    for (char c : code) {
        if (!IsHexDigit(c)) return false;
    }
    const std::size_t n = (plain.size() + 15) / 16;
    if (n > 0x7FFFFFFFu) return false;
    const std::size_t pad = 16 * n - plain.size();
    std::string text(plain);
    text.append(pad, 'U');

    std::string header = DateToHex(dateTime) + WordToHex(Word(n));
    header += kDigits[pad];
    header += code;
    header += field1;
    header += field2;
    Quad h = HexToQuad(header);
    Quad c1 = literal::CipherBlockMasked(h, key, mask, Direction::Encipher);
    Quad c2 = literal::CipherBlockMasked(c1, key, mask, Direction::Encipher);
    lines.reserve(lines.size() + n + 2);
    lines.push_back(QuadToHex(c2));
    lines.push_back(QuadToHex(c1));
    for (std::size_t i = 0; i < n; ++i) {
        Quad b = PieceToQuad(std::string_view(text).substr(16 * i, 16));
        lines.push_back(QuadToHex(literal::CipherBlockMasked(b, key, mask, Direction::Encipher)));
        WipeQuad(b);
    }
    WipeQuad(h);
    WipeString(text);
    return true;
}

bool VerifyHeader(const Lines& lines, std::size_t index, const Quad& key, const Quad& mask,
                  std::string& headerText) {
    if (lines.size() < 2 || index > lines.size() - 2) return false;
    const Quad x =
        literal::CipherBlockMasked(HexToQuad(lines[index]), key, mask, Direction::Decipher);
    const Quad y = HexToQuad(lines[index + 1]);
    if (x != y) return false;
    const std::string header =
        QuadToHex(literal::CipherBlockMasked(y, key, mask, Direction::Decipher));
    const auto n = static_cast<std::int32_t>(HexToWord(std::string_view(header).substr(16, 8)));
    if (n < 0 || index + 2 + std::size_t(n) > lines.size()) return false;
    headerText = header;
    return true;
}

bool DecipherText(const Lines& lines, std::size_t& index, const Quad& key, const Quad& mask,
                  DecipheredText& out) {
    std::string header;
    if (!VerifyHeader(lines, index, key, mask, header)) return false;
    const std::string_view h(header);
    DecipheredText result;
    result.dateTime = HexToDate(h.substr(0, 16));
    const std::size_t n = HexToWord(h.substr(16, 8));
    const char padChar = h[24];
    const std::size_t pad =
        padChar >= '0' && padChar <= '9' ? std::size_t(padChar - '0') : std::size_t(padChar - 55);
    result.code = std::string(h.substr(25, 5));
    result.field1 = h[30];
    result.field2 = h[31];
    result.text.reserve(16 * n);
    for (std::size_t i = 0; i < n; ++i) {
        Quad b = literal::CipherBlockMasked(HexToQuad(lines[index + 2 + i]), key, mask,
                                            Direction::Decipher);
        result.text += HexToText(QuadToHex(b));
        WipeQuad(b);
    }
    result.text.resize(result.text.size() - std::min(pad, result.text.size()));
    index += 2 + n;
    out = std::move(result);
    return true;
}

bool CondenseText(std::string_view text, Quad& digest) {
    std::vector<Quad> blocks;
    blocks.reserve(text.size() / 16 + 1);
    std::size_t i = 0;
    for (; i + 16 <= text.size(); i += 16)
        blocks.push_back(PieceToQuad(text.substr(i, 16)));
    if (i < text.size()) {
        std::string last(text.substr(i));
        last.resize(16, 'U');
        blocks.push_back(PieceToQuad(last));
    }
    const bool ok = CondenseBlocks(blocks, digest);
    for (Quad& b : blocks)
        WipeQuad(b);
    return ok;
}

bool CondenseHex(std::string_view hex, Quad& digest) {
    std::vector<Quad> blocks;
    blocks.reserve(hex.size() / 32 + 1);
    std::size_t i = 0;
    for (; i + 32 <= hex.size(); i += 32)
        blocks.push_back(HexToQuad(hex.substr(i, 32)));
    if (i < hex.size()) {
        std::string last(hex.substr(i));
        last.resize(32, '5');
        blocks.push_back(HexToQuad(last));
    }
    return CondenseBlocks(blocks, digest);
}

}  // namespace quarnel::literal
