// SPDX-License-Identifier: GPL-3.0-or-later
#include "ta/core/issuing.h"

#include <memory>
#include <random>

#include "crypto/bignum.h"
#include "crypto/cipher.h"
#include "crypto/cp1252.h"
#include "crypto/datetime.h"
#include "crypto/hextext.h"
#include "crypto/secret.h"
#include "protocol/body.h"
#include "protocol/identity.h"
#include "protocol/lines.h"
#include "store/atomic_file.h"

namespace quarnel::ta {
namespace {

constexpr Quad kP{0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0x7FFFFFFF};

Quad E(const Quad& x, const Quad& k) {
    return CipherBlock(x, k, Direction::Encipher);
}

// v^(p-2) modulo p.
Quad InverseModP(const Quad& v) {
    Quad r{1, 0, 0, 0};
    Quad b = v;
    const Quad e{0xFFFFFFFD, 0xFFFFFFFF, 0xFFFFFFFF, 0x7FFFFFFF};
    for (int i = 0; i < 127; ++i) {
        if ((e[std::size_t(i / 32)] >> (i % 32)) & 1u) r = MulModP(r, b);
        b = MulModP(b, b);
    }
    return r;
}

Quad Condensed(std::string_view text) {
    Quad d{};
    (void)CondenseText(text, d);  // a failed condensation makes the client refuse
    return d;
}

// CondenseText of the holder's identity as its correspondents confirm it.
Quad IdentityCheckDigest(const Affiliate& holder) {
    std::string text = ConcatenatedLines(SenderIdentityFields(holder.category, holder.identity));
    text += holder.number;
    text += holder.digit;
    text += holder.versionCode;
    text += holder.registrationFlag;
    text += DateText(holder.affiliationDate);
    return Condensed(text);
}

}  // namespace

std::string Cp1252Text(std::string_view utf8) {
    std::string out;
    (void)Utf8ToCp1252(utf8, out);  // our own texts are all representable
    return out;
}

RandomSource SystemRandom() {
    auto device = std::make_shared<std::random_device>();
    return [device] {
        return Quad{Word((*device)()), Word((*device)()), Word((*device)()), Word((*device)())};
    };
}

Quad InverseKey(const Quad& key) {
    const Quad v = SplitBlock(key).value;
    if (v == Quad{} || v == kP) return key;
    return JoinBlock(InverseModP(v), true);
}

Quad RandomKey(const RandomSource& random) {
    for (;;) {
        Quad v = random();
        v[3] &= 0x7FFFFFFFu;
        if (v != Quad{} && v != kP && v != Quad{1, 0, 0, 0}) return JoinBlock(v, true);
    }
}

Quad UnwrappingKey(const Quad& signingKey) {
    return E(signingKey, signingKey);
}

Quad Wrap(const Quad& value, const Quad& key) {
    return CipherBlock(value, InverseKey(key), Direction::Decipher);
}

Lines SealLines(const Affiliate& holder) {
    std::string digestHex;
    (void)SettingsDigest(holder.number, holder.identity, digestHex);
    const Quad x = HexToQuad(digestHex);
    SecretQuad inverse(InverseKey(holder.signingKey));
    Lines lines{QuadToHex(E(x, *inverse))};
    (void)EncipherText(holder.versionCode, holder.category, holder.registrationFlag, lines, x,
                       *inverse, "", holder.affiliationDate);
    return lines;
}

Lines PrivateKeyLines(const Affiliate& holder) {
    Lines lines{QuadToHex(Wrap(holder.signingKey, holder.taKey))};
    for (auto& l : SealLines(holder))
        lines.push_back(std::move(l));
    return lines;
}

std::vector<std::string> RecordTextLines(const Affiliate& subject) {
    std::vector<std::string> lines = SenderIdentityFields(subject.category, subject.identity);
    lines.push_back(subject.number);
    lines.emplace_back(1, subject.digit);
    return lines;
}

Record CorrespondentRecord(const Affiliate& holder, const Affiliate& subject,
                           const Quad& holderPairKey) {
    Record r = RecordTextLines(subject);
    r.push_back(subject.versionCode);
    r.emplace_back(1, subject.registrationFlag);
    r.push_back(DateText(subject.affiliationDate));
    const Quad& p = holderPairKey;
    SecretQuad uh(UnwrappingKey(holder.signingKey));
    SecretQuad us(UnwrappingKey(subject.signingKey));
    const Quad recordDigest = Condensed(ConcatenatedLines(r));
    r.push_back(QuadToHex(Wrap(p, *uh)));
    r.push_back(QuadToHex(Wrap(Wrap(recordDigest, p), *uh)));
    r.push_back(QuadToHex(Wrap(InverseKey(p), *us)));
    r.push_back(QuadToHex(Wrap(E(IdentityCheckDigest(holder), p), *us)));
    return r;
}

KeyIssue IssueKey(const Affiliate& holder, const Affiliate& subject, const Quad& holderPairKey,
                  const RandomSource& random) {
    const Record r = CorrespondentRecord(holder, subject, holderPairKey);
    const std::size_t k = r.size() - 4;
    const Quad& p = holderPairKey;
    KeyIssue out;
    out.w = r[k];
    out.a = r[k + 1];
    out.k3 = QuadToHex(Wrap(HexToQuad(r[k + 2]), p));
    out.k4 = QuadToHex(Wrap(HexToQuad(r[k + 3]), p));
    const Quad q = random();
    out.q = QuadToHex(q);
    SecretQuad inverse(InverseKey(p));
    (void)EncipherText(subject.versionCode, subject.registrationFlag, subject.category, out.section,
                       E(q, p), *inverse, JoinWithCarriageReturns(RecordTextLines(subject)),
                       subject.affiliationDate);
    return out;
}

bool ParseCertificationData(const std::string& text, CertificationData& out) {
    const auto parts = SplitAtLineBreaks(text);
    if (parts.size() != 4 || parts[0].size() != 32 || !IsHexText(parts[1], 32) ||
        !IsHexText(parts[2], 32)) {
        return false;
    }
    out = {parts[0], parts[1], parts[2], parts[3]};
    return true;
}

bool SignatureIsSenders(const CertificationData& data, const Affiliate& sender) {
    AddressFields a;
    if (!ParseAddressLine(data.addressLine, a) || a.senderNumber != sender.number ||
        a.senderDigit != sender.digit) {
        return false;
    }
    return QuadToHex(E(HexToQuad(data.digest), sender.signingKey)) == data.signature;
}

std::string CertificateText(const CertificationData& data, const Affiliate* sender,
                            const std::string& taCode, double issuedAt) {
    AddressFields a;
    (void)ParseAddressLine(data.addressLine, a);
    std::vector<std::string> lines;
    lines.push_back(Cp1252Text("Certificat de signature délivré par l'Organisme de Confiance ") +
                    taCode);
    lines.push_back(Cp1252Text("Délivré le : ") + DateTimeText(issuedAt));
    lines.emplace_back();
    lines.push_back(Cp1252Text("Message chiffré le : ") + data.dateTime);
    lines.push_back(Cp1252Text("En-tête : ") + data.addressLine);
    lines.push_back(Cp1252Text("Message condensé : ") + data.digest);
    lines.push_back(Cp1252Text("Signature : ") + data.signature);
    lines.push_back(Cp1252Text("Expéditeur : n° ") + a.senderNumber);
    if (sender) {
        for (const auto& f : SenderIdentityFields(sender->category, sender->identity)) {
            if (f != "-") lines.push_back("  " + f);
        }
    }
    lines.push_back(Cp1252Text("Destinataire : n° ") + a.recipientNumber);
    lines.emplace_back();
    if (!sender) {
        lines.push_back(
            Cp1252Text("NON CERTIFIÉ : l'expéditeur n'est pas un affilié connu de "
                       "cet Organisme de Confiance."));
    } else if (SignatureIsSenders(data, *sender)) {
        lines.push_back(
            Cp1252Text("CERTIFIÉ : la signature ci-dessus est celle de l'expéditeur "
                       "pour ce message condensé."));
    } else {
        lines.push_back(
            Cp1252Text("NON CERTIFIÉ : la signature ci-dessus n'est pas celle de "
                       "l'expéditeur pour ce message condensé."));
    }
    std::string text = JoinLinesCrLf(lines);
    text.resize(text.size() - 2);  // no line break after the verdict
    return text;
}

Lines CertificateLines(const Affiliate& requester, const std::string& certificate, double issuedAt,
                       const RandomSource& random) {
    const Quad q = random();
    Lines lines{QuadToHex(q)};
    SecretQuad inverse(InverseKey(requester.signingKey));
    (void)EncipherText(requester.versionCode, requester.registrationFlag, requester.category, lines,
                       E(q, requester.signingKey), *inverse, certificate, issuedAt);
    return lines;
}

Lines ReplyBody(const std::string& addressLine, const Lines& lines) {
    Lines body{kSeparatorLine, addressLine};
    body.insert(body.end(), lines.begin(), lines.end());
    body.push_back(kEndMarkerLine);
    return body;
}

}  // namespace quarnel::ta
