// SPDX-License-Identifier: GPL-3.0-or-later
#include "ta/core/requests.h"

#include "crypto/bignum.h"
#include "crypto/cipher.h"
#include "crypto/compare.h"
#include "crypto/dh_constants.h"
#include "crypto/hextext.h"
#include "crypto/secret.h"
#include "ta/core/issuing.h"

namespace quarnel::ta {
namespace {

bool HexLinesBetween(const Lines& lines, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
        if (!IsHexText(lines[i], 32)) return false;
    }
    return true;
}

bool CheckFrame(const Lines& lines, std::size_t minimum, std::string& why) {
    if (lines.size() < minimum) {
        why = "too few lines";
        return false;
    }
    if (lines.back() != kEndMarkerLine) {
        why = "no end-marker line";
        return false;
    }
    if (!HexLinesBetween(lines, 2, lines.size() - 1)) {
        why = "a line is not 32 upper-case hexadecimal digits";
        return false;
    }
    return true;
}

}  // namespace

bool SplitRequestData(std::string_view data, Lines& lines) {
    lines.clear();
    std::size_t start = 0;
    while (start < data.size()) {
        const std::size_t z = data.find('Z', start);
        if (z == std::string_view::npos) return false;
        lines.emplace_back(data.substr(start, z - start));
        start = z + 1;
    }
    return lines.size() >= 3 && lines[0] == kSeparatorLine && lines[1].size() == 32;
}

bool OpenAffiliationRequest(const Lines& lines, const Big& privateExponent, AffiliationRequest& out,
                            std::string& why) {
    // separator, address, 8 public lines, digest, 2 header lines, end marker
    if (!CheckFrame(lines, 14, why)) return false;
    std::string publicHex;
    for (std::size_t i = 2; i < 10; ++i)
        publicHex += lines[i];
    Quad digest{};
    if (!CondenseHex(publicHex, digest) || !EqualDigests(QuadToHex(digest), lines[10])) {
        why = "the public value does not match its digest";
        return false;
    }
    const Big y = HexToBig(publicHex);
    SecretBig shared(ModPowBigSecret(y, privateExponent, SystemModulus()));
    Quad taKey{};
    {
        std::string sharedHex = BigToHex(*shared);
        (void)CondenseHex(sharedHex, taKey);
        // Overwritten without drawing: the generator's sequence is the holders'.
        WipeBytes(sharedHex.data(), sharedHex.size());
    }
    SecretQuad inverse(InverseKey(taKey));
    const Quad mask = CipherBlock(digest, taKey, Direction::Encipher);
    std::size_t index = 11;
    if (!DecipherText(lines, index, *inverse, mask, out.identity) || index != lines.size() - 1) {
        why = "the identity section does not open with the shared key";
        return false;
    }
    out.publicHex = std::move(publicHex);
    out.taKey = taKey;
    return true;
}

bool OpenSignedRequest(const Lines& lines, const Quad& signingKey, DecipheredText& out,
                       std::string& why) {
    // separator, address, nonce, 2 header lines, end marker
    if (!CheckFrame(lines, 6, why)) return false;
    SecretQuad inverse(InverseKey(signingKey));
    SecretQuad nonce(CipherBlock(HexToQuad(lines[2]), *inverse, Direction::Decipher));
    std::size_t index = 3;
    if (!DecipherText(lines, index, *inverse, *nonce, out) || index != lines.size() - 1) {
        why = "the request is not enciphered with the sender's key";
        return false;
    }
    return true;
}

}  // namespace quarnel::ta
