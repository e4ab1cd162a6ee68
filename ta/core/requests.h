// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Opening the holders' requests on the authority's side: the wire data back
// into lines, the affiliation request's Diffie-Hellman key, and the sections
// enciphered with the TA key or a holder's signing key.

#include <string>
#include <string_view>

#include "crypto/text_cipher.h"
#include "crypto/types.h"
#include "protocol/body.h"

namespace quarnel::ta {

/// The request data ("line" + "Z" for every line from the separator on)
/// back into lines. False when a piece is not followed by "Z" or the lines do
/// not begin with the separator and address lines.
[[nodiscard]] bool SplitRequestData(std::string_view data, Lines& lines);

/// Kind 00 opened: the holder's public value, the TA key shared with it, and
/// the identity section (text, version code, flag, category, date-time).
struct AffiliationRequest {
    std::string publicHex;
    Quad taKey{};
    DecipheredText identity;
};

/// Lines: separator, address, 8 public-value lines, its digest, the section,
/// the end marker. `why` says what is wrong.
[[nodiscard]] bool OpenAffiliationRequest(const Lines& lines, const Big& privateExponent,
                                          AffiliationRequest& out, std::string& why);

/// Kinds 01 and 18: the nonce line (E(N, S)) and the section enciphered with S
/// and mask N. False when the lines do not open with this signing key.
[[nodiscard]] bool OpenSignedRequest(const Lines& lines, const Quad& signingKey,
                                     DecipheredText& out, std::string& why);

}  // namespace quarnel::ta
