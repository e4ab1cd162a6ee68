// What the authority issues must pass the holder's own checks: the key
// derivations and seal of the own record, the record check before
// encryption, the recipient's pair key and identity confirmation.

#include <gtest/gtest.h>

#include "crypto/bignum.h"
#include "crypto/cipher.h"
#include "crypto/datetime.h"
#include "crypto/hextext.h"
#include "crypto/own_keys.h"
#include "messages/format.h"
#include "store/correspondents.h"
#include "store/holder_context.h"
#include "ta/core/issuing.h"

namespace quarnel::ta {
namespace {

Quad E(const Quad& x, const Quad& k) {
    return CipherBlock(x, k, Direction::Encipher);
}
Quad D(const Quad& x, const Quad& k) {
    return CipherBlock(x, k, Direction::Decipher);
}
Quad H(const std::string& s) {
    return HexToQuad(s);
}

Affiliate Holder(char category, const std::string& number, const RandomSource& random) {
    Affiliate a;
    a.number = number;
    a.category = category;
    if (category == 'A') {
        a.identity = {"DUPONT",   "jean", "3 rue haute",      "75001", "PARIS", "-", "FRANCE",
                      "+33 1 00", "-",    "jean@example.org", "x"};
    } else {
        a.identity = {"ACME", "-",     "MARTIN", "claire",   "1 quai bas", "69001",
                      "LYON", "RHONE", "FRANCE", "+33 4 00", "-",          "claire@example.org",
                      "-"};
    }
    a.affiliationDate = OleFromLocal({2026, 12, 5, 14, 3, 7, 0});
    a.signingKey = RandomKey(random);
    a.taKey = RandomKey(random);
    return a;
}

std::string Concat(const Record& r, std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i)
        s += r[i];
    return s;
}

Quad Condensed(const std::string& s) {
    Quad d{};
    EXPECT_TRUE(CondenseText(s, d));
    return d;
}

class Issuing : public ::testing::Test {
  protected:
    RandomSource random = SeededRandom(7);
    Affiliate x = Holder('F', "0FF00002000", random);
    Affiliate y = Holder('A', "0FF01000000", random);
};

TEST_F(Issuing, InverseKeysUndoEachOther) {
    for (int i = 0; i < 6; ++i) {
        const Quad k = RandomKey(random);
        const Quad m = random();
        EXPECT_EQ(D(E(m, k), InverseKey(k)), m);
        EXPECT_EQ(E(Wrap(m, k), k), m);
    }
}

TEST_F(Issuing, TheOwnRecordGivesTheSigningKeyAndOpensItsSealIntoTheSettingsDigest) {
    const RecordList store{OwnKeyRecord(x)};
    ASSERT_EQ(store[0].size(), 6u);
    OwnKey s;
    ASSERT_TRUE(OwnSigningKey(store, '0', s));
    EXPECT_EQ(s.key, x.signingKey);
    RecordSeal seal;
    ASSERT_TRUE(ReadRecordSeal(store, s.key, seal));
    std::string digest;
    ASSERT_TRUE(SettingsDigest(x.number, x.identity, digest));
    EXPECT_EQ(seal.sealed, digest);
    EXPECT_EQ(seal.header.code, "D400F");
    EXPECT_EQ(seal.header.field1, 'F');
    EXPECT_EQ(seal.header.field2, '0');
    EXPECT_EQ(seal.header.dateTime, x.affiliationDate);
}

TEST_F(Issuing, BothRecordsOfAPairPassTheRecordCheckAndReadEachOthersMessages) {
    const Quad k = RandomKey(random);
    const auto [xAboutY, yAboutX] = RecordsForPair(x, y, k);
    ASSERT_TRUE(CheckCorrespondentRecord(xAboutY, 'A'));
    ASSERT_TRUE(CheckCorrespondentRecord(yAboutX, 'F'));
    EXPECT_EQ(xAboutY[6], y.number);
    EXPECT_EQ(xAboutY[10], "05/12/2026");
    // As first issued, each side's writing key is the other side's line 3.
    EXPECT_EQ(xAboutY[11], yAboutX[15]);
    EXPECT_EQ(yAboutX[13], xAboutY[13]);

    struct Side {
        const Affiliate& me;
        const Affiliate& peer;
        const Record& record;
        std::size_t key;  // first key line
    };
    for (const Side& side : {Side{x, y, xAboutY, 11}, Side{y, x, yAboutX, 13}}) {
        const RecordList sender{OwnKeyRecord(side.me)};
        const RecordList receiver{OwnKeyRecord(side.peer)};
        OwnKey us, ur;
        ASSERT_TRUE(OwnUnwrappingKey(sender, '0', us));
        ASSERT_TRUE(OwnUnwrappingKey(receiver, '0', ur));
        const Record& r = side.record;
        // Record check before encryption.
        const Quad pair = E(H(r[side.key]), us.key);
        EXPECT_EQ(E(E(H(r[side.key + 1]), us.key), pair), Condensed(Concat(r, side.key)));
        // The recipient unwraps key line 3 and deciphers what was written.
        const Quad readKey = E(H(r[side.key + 2]), ur.key);
        const Quad m = random();
        EXPECT_EQ(D(E(m, pair), readKey), m);
        // Identity confirmation of the sender.
        std::string id;
        for (const auto& f : IdentityFields(side.me.category, side.me.identity))
            id += f;
        id += side.me.number + "0D400F0" + DateText(side.me.affiliationDate);
        EXPECT_EQ(D(E(H(r[side.key + 3]), ur.key), readKey), Condensed(id));
    }
}

TEST_F(Issuing, TheKeyReplyGivesTheRecordThroughThePairKey) {
    const Quad k = RandomKey(random);
    const KeyIssue issue = IssueKey(x, y, k, random);
    const Record expected = CorrespondentRecord(x, y, k);
    const RecordList store{OwnKeyRecord(x)};
    OwnKey u;
    ASSERT_TRUE(OwnUnwrappingKey(store, '0', u));
    const Quad p = E(H(issue.w), u.key);
    EXPECT_EQ(p, k);
    EXPECT_EQ(issue.a, expected[12]);
    EXPECT_EQ(QuadToHex(E(H(issue.k3), p)), expected[13]);
    EXPECT_EQ(QuadToHex(E(H(issue.k4), p)), expected[14]);
    std::size_t index = 0;
    DecipheredText t;
    ASSERT_TRUE(DecipherText(issue.section, index, p, E(H(issue.q), p), t));
    EXPECT_EQ(SplitAtLineBreaks(t.text), RecordTextLines(y));
    EXPECT_EQ(t.code, "D400F");
    EXPECT_EQ(t.field1, '0');
    EXPECT_EQ(t.field2, 'A');
    EXPECT_EQ(t.dateTime, y.affiliationDate);
}

TEST_F(Issuing, CertificatesTellWhetherTheSignatureIsTheSenders) {
    const Quad digest = random();
    CertificationData data{AddressLine("20", "05C26", '0', '0', y.number, x.number),
                           QuadToHex(digest), QuadToHex(E(digest, x.signingKey)),
                           "05/12/2026 14:03:07"};
    std::string joined =
        data.addressLine + "\r" + data.digest + "\r" + data.signature + "\r" + data.dateTime;
    CertificationData parsed;
    ASSERT_TRUE(ParseCertificationData(joined, parsed));
    EXPECT_TRUE(SignatureIsSenders(parsed, x));
    EXPECT_FALSE(SignatureIsSenders(parsed, y));
    EXPECT_NE(CertificateText(parsed, &x, "0FF", 46000).find("CERTIFI\xC9 :"), std::string::npos);
    parsed.signature = QuadToHex(E(digest, y.signingKey));
    EXPECT_FALSE(SignatureIsSenders(parsed, x));
    EXPECT_NE(CertificateText(parsed, &x, "0FF", 46000).find("NON CERTIFI"), std::string::npos);
    EXPECT_FALSE(ParseCertificationData(data.addressLine + "\r" + data.digest, parsed));

    const RecordList store{OwnKeyRecord(y)};
    const Lines lines = CertificateLines(y, "texte", 46000, random);
    OwnKey s;
    ASSERT_TRUE(OwnSigningKey(store, '0', s));
    std::size_t index = 1;
    DecipheredText t;
    ASSERT_TRUE(DecipherText(lines, index, s.key, E(H(lines[0]), s.key), t));
    EXPECT_EQ(t.text, "texte");
}

}  // namespace
}  // namespace quarnel::ta
