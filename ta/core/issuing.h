// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the authority issues, worked out so that every check of the holder's
// program passes: signing keys and their wrapping, the record seal, pair keys
// and both holders' correspondent records, and certificates. Standard library,
// crypto core and stores only (the server and the tests of other subsystems
// share it).
//
// Notation: E/D = CipherBlock encipher/decipher; S_X the signing key the TA
// gives holder X; U_X = E(S_X, S_X); inv(k) the key whose value is the
// inverse of k's value modulo 2^127 - 1. One pair key K per pair of holders:
// one side writes with K, the other with inv(K).

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "crypto/records.h"
#include "crypto/text_cipher.h"
#include "crypto/types.h"

namespace quarnel::ta {

/// One of the authority's own texts (UTF-8 in the source) in code page 1252.
std::string Cp1252Text(std::string_view utf8);

/// Draws 128-bit values for keys and masks.
using RandomSource = std::function<Quad()>;
/// The operating system's random device (what the server uses).
RandomSource SystemRandom();

/// The even-parity key whose value is the inverse of `key`'s value modulo
/// 2^127 - 1: enciphering with one is undone by deciphering with the other.
/// A key whose value is 0 or 2^127 - 1 has no inverse and comes back as it is.
Quad InverseKey(const Quad& key);
/// A key whose value is neither 0, 1 nor 2^127 - 1 (so it is a valid block
/// and has an inverse).
Quad RandomKey(const RandomSource& random);
/// U = E(S, S).
Quad UnwrappingKey(const Quad& signingKey);
/// The w with E(w, key) = value.
Quad Wrap(const Quad& value, const Quad& key);

/// What the authority knows of one holder.
struct Affiliate {
    std::string number;                 ///< 11 hexadecimal digits: TA code + 8
    char category = 'A';                ///< A, D or F
    char digit = '0';                   ///< key generation digit of the holder's own record
    std::vector<std::string> identity;  ///< 11 lines (A) or 13 (D, F), as sent
    std::string versionCode = "D400F";  ///< from the holder's last request
    char registrationFlag = '0';        ///< '1' registered
    double affiliationDate = 0;         ///< fixed at the first affiliation
    Quad signingKey{};                  ///< S
    Quad taKey{};                       ///< the Diffie-Hellman key of the affiliation request
};

/// Lines 2-5 of the own key record (reply kind 04): the signing key wrapped
/// under the TA key, then the seal.
Lines PrivateKeyLines(const Affiliate& holder);
/// Lines 3-5 of the own key record (reply kinds 04 and 05): the settings
/// digest of the number and identity, enciphered with inv(S), and a
/// header-only text (code = version code, field 1 = category, field 2 =
/// registration flag, date = affiliation date) with that digest as mask.
Lines SealLines(const Affiliate& holder);

/// What goes into reply kinds 14 and 15 for `holder` about `subject`.
struct KeyIssue {
    std::string w;   ///< line 2: E(w, U_holder) = P
    std::string a;   ///< line 3: the record check value
    std::string k3;  ///< line 4: E(k3, P) = key line 3
    std::string k4;  ///< line 5: E(k4, P) = key line 4
    std::string q;   ///< line 6: the section mask is E(q, P)
    Lines section;   ///< the record text of the subject, enciphered with inv(P)
};

/// The record text the subject's holders receive: identity fields, number,
/// generation digit (the client appends version code, flag and date).
std::vector<std::string> RecordTextLines(const Affiliate& subject);

/// The reply lines for `holder` asking a key about `subject`, where
/// `holderPairKey` is the key the holder writes with (K or inv(K)).
KeyIssue IssueKey(const Affiliate& holder, const Affiliate& subject, const Quad& holderPairKey,
                  const RandomSource& random);

/// The correspondent record `holder` stores about `subject` (what the key
/// reply gives once processed): 15 lines (A subject) or 17 (D, F).
Record CorrespondentRecord(const Affiliate& holder, const Affiliate& subject,
                           const Quad& holderPairKey);

/// The four parts of a certification request's data (address line, digest,
/// signature, date-time text), joined by carriage returns.
struct CertificationData {
    std::string addressLine;
    std::string digest;
    std::string signature;
    std::string dateTime;
};
[[nodiscard]] bool ParseCertificationData(const std::string& text, CertificationData& out);

/// True when the signature is E(digest, S_sender).
bool SignatureIsSenders(const CertificationData& data, const Affiliate& sender);

/// The certificate text (code page 1252): the verdict and the certified data.
/// `sender` is null when the sender's number is unknown to this authority.
std::string CertificateText(const CertificationData& data, const Affiliate* sender,
                            const std::string& taCode, double issuedAt);

/// Reply kind 1C lines 2..: q, then the certificate enciphered with inv(S)
/// of the requester and the mask E(q, S).
Lines CertificateLines(const Affiliate& requester, const std::string& certificate, double issuedAt,
                       const RandomSource& random);

/// A whole reply body: separator, address line, `lines`, end marker.
Lines ReplyBody(const std::string& addressLine, const Lines& lines);

}  // namespace quarnel::ta
