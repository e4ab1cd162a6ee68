// SPDX-License-Identifier: GPL-3.0-or-later
#include "authority/requests.h"

#include "authority/texts.h"
#include "crypto/bignum.h"
#include "crypto/cipher.h"
#include "crypto/datetime.h"
#include "crypto/hextext.h"
#include "crypto/own_keys.h"
#include "crypto/random.h"
#include "crypto/secret.h"
#include "holder/program_state.h"
#include "protocol/body.h"
#include "store/key_store.h"

namespace quarnel {
namespace {

BuildResult Refuse(int problem) {
    return {false, problem};
}

// The program's own version code is a text of the current language (each
// text module carries its own); a module without a valid one falls back on the
// built-in code, which a section header can carry.
std::string OwnVersionCode(const HolderContext& ctx) {
    std::string code = CurrentText(ctx, txt::kVersionCode);
    if (!IsHexText(code, 5)) code = FrenchTextCp1252(txt::kVersionCode);
    return code;
}

// The identity text of requests: every identity line, carriage returns between.
std::string RequestIdentityText(const Settings& settings) {
    return JoinWithCarriageReturns(settings.identity);
}

// Kind 00: the key set-up results and the identity enciphered with the TA key.
BuildResult AppendAffiliation(HolderContext& ctx, const AuthorityState& auth, Lines& body) {
    const Settings& s = ctx.settings;
    if (!IsHexText(auth.publicHex, 256) || !IsHexText(s.taCode, 3) || !LayoutFor(s.category) ||
        s.identity.empty()) {
        return Refuse(txt::kKeySetupMissing);
    }
    if (ctx.State() == ProgramState::NotInitialised || ctx.keyStore.empty()) {
        ctx.keyStore.push_back({s.taCode + "00000000", QuadToHex(*auth.taKey)});
    } else {
        Record& own = ctx.OwnRecord();
        own.resize(std::max<std::size_t>(own.size(), 2));
        own[1] = QuadToHex(*auth.taKey);
    }
    ctx.ownDigit = KeyGenerationDigit(ctx.keyStore.size());
    ctx.ownNumber = ctx.OwnRecord()[0];
    body.push_back(AddressLine(Kind::Affiliation, DateCode(), ctx.ownDigit, '0', kNoNumber,
                               s.taCode + "00000000"));
    for (std::size_t i = 0; i < 8; ++i)
        body.push_back(auth.publicHex.substr(32 * i, 32));
    body.push_back(QuadToHex(auth.publicDigest));
    SecretQuad mask(CipherBlock(auth.publicDigest, *auth.taKey, Direction::Encipher));
    // Code, flag and category are hexadecimal digits: this cannot fail.
    (void)EncipherText(OwnVersionCode(ctx), '0', s.category, body, *mask, *auth.taKey,
                       RequestIdentityText(s), OleNow());
    return {true, 0};
}

// Kinds 01 and 18: a nonce enciphered with the signing key, and a section
// enciphered with the signing key and the nonce.
BuildResult AppendSigned(HolderContext& ctx, Lines& body, Kind kind, const std::string& text) {
    OwnKey s;
    if (!IsHexText(ctx.ownNumber, 11) || !LayoutFor(ctx.settings.category) ||
        !OwnSigningKey(ctx.keyStore, ctx.ownDigit, s) || ctx.OwnRecord().size() < 6) {
        s.key.Forget();
        s.taKey.Forget();
        return Refuse(txt::kNoSigningKey);
    }
    SecretQuad key(*s.key);
    s.key.Wipe();
    s.taKey.Forget();
    body.push_back(AddressLine(kind, DateCode(), ctx.ownDigit, '0', kNoNumber, ctx.ownNumber));
    SecretQuad nonce(RandomQuad());
    body.push_back(QuadToHex(CipherBlock(*nonce, *key, Direction::Encipher)));
    // Code, flag and category are hexadecimal digits: this cannot fail.
    (void)EncipherText(OwnVersionCode(ctx), '0', ctx.settings.category, body, *nonce, *key, text,
                       OleNow());
    return {true, 0};
}

}  // namespace

BuildResult BuildOutgoingBody(HolderContext& ctx, AuthorityState& auth, const MessageState& msgs) {
    if (!IsTaRequestKind(auth.requestKind)) return Refuse(txt::kNotARequestKind);
    const Kind k = *auth.requestKind;
    // Checked before anything changes, so a refused build leaves no trace.
    if ((k == Kind::Key || k == Kind::KeyUpdate) &&
        (!IsHexText(auth.correspondentNumber, 11) || !IsHexText(ctx.ownNumber, 11))) {
        return Refuse(IsHexText(ctx.ownNumber, 11) ? txt::kBadCorrespondentNumber
                                                   : txt::kNoSigningKey);
    }
    if (k == Kind::Certification && msgs.certificationData.empty()) {
        return Refuse(txt::kNoCertificationData);
    }
    Lines body{CurrentText(ctx, TitleTextId(k, auth.firstAffiliation, ctx.registrationFlag)),
               kSeparatorLine};
    BuildResult r{true, 0};
    if (k == Kind::Affiliation) {
        r = AppendAffiliation(ctx, auth, body);
    } else if (k == Kind::Update) {
        r = AppendSigned(ctx, body, k, RequestIdentityText(ctx.settings));
    } else if (k == Kind::Certification) {
        r = AppendSigned(ctx, body, k, msgs.certificationData);
    } else {
        body.push_back(
            AddressLine(k, DateCode(), ctx.ownDigit, '0', auth.correspondentNumber, ctx.ownNumber));
    }
    if (!r.ok) return r;
    body.push_back(kEndMarkerLine);
    if (k == Kind::Affiliation || k == Kind::Update || k == Kind::Certification) {
        ctx.settings.versionCode = OwnVersionCode(ctx);
    }
    auth.outgoingBody = std::move(body);
    return r;
}

}  // namespace quarnel
