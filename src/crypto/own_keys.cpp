// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/own_keys.h"

#include "crypto/bignum.h"
#include "crypto/cipher.h"
#include "crypto/hextext.h"
#include "crypto/random.h"
#include "crypto/secret.h"

namespace quarnel {
namespace {

const std::string& LineOf(const Record& r, std::size_t i) {
    static const std::string empty;
    return i < r.size() ? r[i] : empty;
}

// Mask of the password line: CipherBlock(line 1 of the current record, S).
// `mask` is left alone on failure.
bool PasswordMask(const RecordList& store, char digit, SecretQuad& mask) {
    OwnKey s;
    if (!OwnSigningKey(store, digit, s)) return false;
    const Quad k1 = HexToQuad(LineOf(store.back(), 1));
    mask = SecretQuad(CipherBlock(k1, *s.key, Direction::Encipher));
    s.taKey.Forget();  // its release was never a draw of the sequence
    return true;
}

}  // namespace

bool SelectKeyRecord(const RecordList& store, char digit, std::size_t& record) {
    std::size_t n = HexToWord(std::string(1, digit));
    if (n >= store.size()) return false;
    while (store.size() >= 16 && n < store.size() - 16)
        n += 16;
    record = n;
    return true;
}

bool OwnSigningKey(const RecordList& store, char digit, OwnKey& out) {
    std::size_t n = 0;
    if (!SelectKeyRecord(store, digit, n)) return false;
    const Record& r = store[n];
    out.record = n;
    out.taKey = SecretQuad(HexToQuad(LineOf(r, 1)));
    const SecretQuad w(HexToQuad(LineOf(r, 2)));
    out.key = SecretQuad(CipherBlock(*w, *out.taKey, Direction::Encipher));
    return true;
}

bool OwnUnwrappingKey(const RecordList& store, char digit, OwnKey& out) {
    OwnKey s;
    if (!OwnSigningKey(store, digit, s)) return false;
    out.record = s.record;
    out.taKey = std::move(s.taKey);
    out.key = SecretQuad(CipherBlock(*s.key, *s.key, Direction::Encipher));
    return true;
}

bool ReadRecordSeal(const RecordList& store, const Quad& signingKey, RecordSeal& out) {
    if (store.empty()) return false;
    const Record& r = store.back();
    const SecretQuad x(CipherBlock(HexToQuad(LineOf(r, 3)), signingKey, Direction::Decipher));
    RecordSeal seal;
    seal.sealed = QuadToHex(*x);
    std::size_t index = 4;
    const bool ok = DecipherText(r, index, signingKey, *x, seal.header);
    out = std::move(seal);
    return ok;
}

bool StoreMailPassword(RecordList& store, char digit, std::string_view password) {
    if (store.empty()) return false;
    Record& r = store.back();
    if (r.size() != 6 && r.size() != 7) return false;
    SecretString t(std::string(password) + std::string(15, ' '));
    t->resize(std::min<std::size_t>(t->size(), 16));
    SecretQuad w;
    if (!PasswordMask(store, digit, w)) return false;
    SecretQuad p(HexToQuad(TextToHex(*t)));
    XorQuad(*p, *w);
    if (r.size() == 6) {
        r.push_back(QuadToHex(*p));
    } else {
        r[6] = QuadToHex(*p);
    }
    return true;
}

bool ReadMailPassword(const RecordList& store, char digit, std::string& password) {
    if (store.empty() || store.back().size() < 7) return false;
    SecretQuad w;
    if (!PasswordMask(store, digit, w)) return false;
    XorQuad(*w, HexToQuad(store.back()[6]));
    SecretString hex(QuadToHex(*w));
    std::string text = HexToText(*hex);
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    password = std::move(text);
    return true;
}

}  // namespace quarnel
