// SPDX-License-Identifier: GPL-3.0-or-later
#include "authority/replies.h"

#include "authority/texts.h"
#include "crypto/bignum.h"
#include "crypto/cipher.h"
#include "crypto/compare.h"
#include "crypto/datetime.h"
#include "crypto/hextext.h"
#include "crypto/own_keys.h"
#include "crypto/secret.h"
#include "holder/program_state.h"
#include "protocol/body.h"
#include "protocol/identity.h"
#include "protocol/lines.h"
#include "store/atomic_file.h"
#include "store/key_store.h"

namespace quarnel {
namespace {

Quad E(const Quad& x, const Quad& k) {
    return CipherBlock(x, k, Direction::Encipher);
}

// The own key `derive` gives for `digit`, into `out`; the copies it made are
// wiped. False when there is no such key.
bool TakeOwnKey(bool (*derive)(const RecordList&, char, OwnKey&), const RecordList& store,
                char digit, SecretQuad& out) {
    OwnKey k;
    const bool found = derive(store, digit, k);
    *out = *k.key;
    k.key.Wipe();
    k.taKey.Wipe();
    return found;
}

// A private key (04) is taken only while the affiliation is awaited: in any
// other state it would store an empty pending password over the mailbox one.
bool StateAccepts(ProgramState state, Kind k) {
    switch (state) {
        case ProgramState::NotInitialised:
            return false;
        case ProgramState::NotAffiliated:
            return k == Kind::PrivateKey;
        default:
            return k != Kind::PrivateKey;
    }
}

// The seal of the own record must open with the signing key into the
// settings digest; on success the flag and date of the seal are taken.
bool SealMatchesSettings(HolderContext& ctx) {
    SecretQuad key;
    if (!TakeOwnKey(OwnSigningKey, ctx.keyStore, ctx.ownDigit, key)) return false;
    RecordSeal seal;
    std::string digest;
    if (!ReadRecordSeal(ctx.keyStore, *key, seal) ||
        !SettingsDigest(ctx.ownNumber, ctx.settings.identity, digest) ||
        !EqualDigests(digest, seal.sealed)) {
        return false;
    }
    ctx.registrationFlag = seal.header.field2;
    ctx.affiliationDate = seal.header.dateTime;
    return true;
}

// Kind 04: the private key and the seal become lines 2-5 of the own record.
ReplyRefusal PrivateKey(HolderContext& ctx, AuthorityState& auth, const Lines& reply,
                        const AddressFields& a) {
    const SecretString password(std::move(auth.pendingPassword));
    if (ctx.keyStore.empty()) return ReplyRefusal::NoKey;
    if (a.senderDigit != ctx.ownDigit) return ReplyRefusal::WrongGeneration;
    Record& own = ctx.OwnRecord();
    Record before = own;
    const std::string numberBefore = ctx.ownNumber;
    own.resize(std::max<std::size_t>(own.size(), 6));
    own[0] = a.senderNumber;
    for (std::size_t i = 2; i <= 5; ++i)
        own[i] = reply[i];
    ctx.ownNumber = a.senderNumber;
    if (!SealMatchesSettings(ctx)) {
        // Refused: the record is as it was, so a retry reads no stale lines.
        WipeLines(own);
        own = std::move(before);
        ctx.ownNumber = numberBefore;
        return ReplyRefusal::BadSeal;
    }
    WipeLines(before);
    (void)StoreMailPassword(ctx.keyStore, ctx.ownDigit, *password);
    return ReplyRefusal::None;
}

// Kind 05: a new seal replaces lines 3-5 of the own record.
ReplyRefusal Updated(HolderContext& ctx, const Lines& reply) {
    if (ctx.keyStore.empty() || ctx.OwnRecord().size() < 6) return ReplyRefusal::NoKey;
    Record& own = ctx.OwnRecord();
    const Record before(own.begin() + 3, own.begin() + 6);
    for (std::size_t i = 0; i < 3; ++i)
        own[3 + i] = reply[2 + i];
    if (!SealMatchesSettings(ctx)) {
        // Refused: the old seal stays, so the next start does not see state 4.
        for (std::size_t i = 0; i < 3; ++i)
            own[3 + i] = before[i];
        return ReplyRefusal::BadSeal;
    }
    return ReplyRefusal::None;
}

// Kinds 14 and 15: a correspondent record, checked against its check value.
ReplyRefusal KeyToCorrespond(HolderContext& ctx, AuthorityState& auth, const Lines& reply,
                             const AddressFields& a, char& category, Record& out) {
    SecretQuad unwrap;
    if (!TakeOwnKey(OwnUnwrappingKey, ctx.keyStore, a.senderDigit, unwrap)) {
        return ReplyRefusal::NoKey;
    }
    SecretQuad p(E(HexToQuad(reply[2]), *unwrap));
    const Quad check = HexToQuad(reply[3]);
    const std::string c = QuadToHex(E(HexToQuad(reply[4]), *p));
    const std::string e = QuadToHex(E(HexToQuad(reply[5]), *p));
    SecretQuad mask(E(HexToQuad(reply[6]), *p));
    std::size_t index = 7;
    DecipheredText t;
    if (!DecipherText(reply, index, *p, *mask, t)) return ReplyRefusal::BadSection;
    Record record = SplitAtLineBreaks(t.text);
    if (record.size() < 2) return ReplyRefusal::BadRecord;
    category = t.field2;
    const auto layout = LayoutFor(category);
    // A record that does not fit its list would make the whole list fail its
    // check at the next start.
    if (!layout || record.size() + 3 != layout->textLines) return ReplyRefusal::BadRecord;
    const std::string number = record[record.size() - 2];
    record.push_back(t.code);
    record.emplace_back(1, t.field1);
    record.push_back(DateText(t.dateTime));
    Quad digest{};
    if (!CondenseText(ConcatenatedLines(record), digest) ||
        !EqualDigests(QuadToHex(digest), QuadToHex(E(E(check, *unwrap), *p)))) {
        return ReplyRefusal::BadCheckValue;
    }
    record.insert(record.end(), {reply[2], reply[3], c, e});
    auth.correspondentNumber = number;
    out = std::move(record);
    return ReplyRefusal::None;
}

// Kind 1C: the certificate, enciphered for the own signing key.
ReplyRefusal Certificate(HolderContext& ctx, AuthorityState& auth, const Lines& reply,
                         const AddressFields& a) {
    SecretQuad key;
    if (!TakeOwnKey(OwnSigningKey, ctx.keyStore, a.recipientDigit, key)) return ReplyRefusal::NoKey;
    SecretQuad mask(E(HexToQuad(reply[2]), *key));
    std::size_t index = 3;
    DecipheredText t;
    if (!DecipherText(reply, index, *key, *mask, t)) return ReplyRefusal::BadSection;
    auth.certificateText = std::move(t.text);
    return ReplyRefusal::None;
}

ReplyOutcome Refused(ReplyOutcome o, ReplyRefusal why) {
    o.accepted = false;
    o.refusal = why;
    return o;
}

}  // namespace

ReplyOutcome ProcessTaReply(HolderContext& ctx, AuthorityState& auth, std::string_view replyText) {
    return ProcessTaReplyLines(ctx, auth, SplitLines(replyText));
}

ReplyOutcome ProcessTaReplyLines(HolderContext& ctx, AuthorityState& auth, Lines lines) {
    ReplyOutcome o;
    std::size_t first = 0;
    while (first < lines.size() && lines[first] != kSeparatorLine)
        ++first;
    lines.erase(lines.begin(), lines.begin() + std::ptrdiff_t(first));
    AddressFields a;
    if (lines.size() < 3 || !ParseAddressLine(lines[1], a)) {
        return Refused(o, ReplyRefusal::NoSeparator);
    }
    o.kind = a.kind;
    if (!IsTaReplyKind(a.kind)) return Refused(o, ReplyRefusal::NotAReplyKind);
    const Kind kind = *a.kind;
    if (!StateAccepts(ctx.State(), kind)) return Refused(o, ReplyRefusal::NotInThisState);
    if (IsAffiliatedState(ctx.State()) && a.senderNumber != ctx.ownNumber) {
        return Refused(o, ReplyRefusal::NotForThisHolder);
    }
    std::optional<Kind> checkedKind;
    if (!CheckBodyStructure(lines, checkedKind)) return Refused(o, ReplyRefusal::Malformed);
    SetInformation(ctx, txt::kDecrypting);

    ReplyRefusal why = ReplyRefusal::None;
    char category = 0;
    Record record;
    if (kind == Kind::PrivateKey) {
        why = PrivateKey(ctx, auth, lines, a);
    } else if (kind == Kind::Updated) {
        why = Updated(ctx, lines);
    } else if (kind == Kind::Certificate) {
        why = Certificate(ctx, auth, lines, a);
    } else {
        why = KeyToCorrespond(ctx, auth, lines, a, category, record);
    }
    if (why != ReplyRefusal::None) return Refused(o, why);

    o.accepted = true;
    if (kind == Kind::PrivateKey || kind == Kind::Updated) {
        // Only a new seal settles the state: a key or a certificate reply
        // must not lift the lock of altered settings or of a failed update.
        state::Affiliated(ctx);
        if (kind == Kind::PrivateKey) {
            ctx.information = txt::kPrivateKeyDelivered;
        } else if (auth.firstAffiliation) {
            ctx.information = txt::kAffiliationConfirmed;
        } else {
            ctx.information = ctx.registrationFlag == '0' ? txt::kAffiliationUpdated
                                                          : txt::kAffiliationUpdatedRegistered;
        }
        o.captionChanged = true;
        o.save = ctx.SaveKeyStore();
    } else if (kind == Kind::Certificate) {
        ctx.information = txt::kCertificateDelivered;
        o.showCertificate = true;
    } else {
        ctx.information = kind == Kind::KeyDelivered ? txt::kKeyDelivered : txt::kKeyUpdated;
        o.listCategory = category;
        std::filesystem::path keptDamaged;
        o.save =
            StoreCorrespondent(ctx.correspondents, category, std::move(record),
                               PathFromSetting(ctx.settings.keyFolder), ctx.Hooks().onSaveFailure,
                               &keptDamaged, ctx.Hooks().saveRunner);
        ctx.informationNote.clear();
        if (!keptDamaged.empty()) NoteKeptDamagedList(ctx, keptDamaged);
    }
    return o;
}

}  // namespace quarnel
