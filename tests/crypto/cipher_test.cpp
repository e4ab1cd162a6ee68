// SPDX-License-Identifier: GPL-3.0-or-later
// The cipher, enciphered texts and own key records beyond what the vectors
// and the oracle pin: keys outside the data model, failures that change
// nothing, short records and none.

#include <gtest/gtest.h>

#include "crypto/bignum.h"
#include "crypto/cipher.h"
#include "crypto/own_keys.h"
#include "crypto/text_blocks.h"
#include "crypto/text_cipher.h"

namespace quarnel {
namespace {

// A key and its inverse, taken from the vectors' first encipher case.
const Quad kKey = HexToQuad("9BD9ED158BB87F46B6E1F66DF3A7DB35");
const Quad kInverse = HexToQuad("AE5A4540640542E136CD064716DE0E58");
const Quad kMask = HexToQuad("F44174B95D499343596D98F6A8B5E23B");

TEST(Cipher, AKeyOfValueZeroGivesAnInvalidBlock) {
    // Keys 0 and 2^127 have value 0: outside the data model. The power step
    // leaves values alone and the product with 0 gives an invalid block, which
    // no later step touches: no hang, no fault, and nothing readable.
    const Quad v{5, 6, 7, 8};
    EXPECT_EQ(FieldPow(v, Quad{}, Variant::A), v);
    for (const Quad& key : {Quad{}, Quad{0, 0, 0, 0x80000000}}) {
        EXPECT_FALSE(IsValidBlock(CipherBlock(Quad{1, 2, 3, 4}, key, Direction::Encipher)));
    }
}

TEST(TextCipher, FailuresChangeNothing) {
    Lines lines;
    ASSERT_TRUE(EncipherText("D400F", '1', 'F', lines, kMask, kKey, "some secret text!", 3.0));
    DecipheredText d;
    d.text = "untouched";
    std::size_t index = 0;
    std::size_t far = 7;
    // A wrong key, an empty list, an index past the end; the vectors hold the
    // other faults (mask, altered header, missing blocks) to an unmoved index.
    EXPECT_FALSE(DecipherText(lines, index, kKey, kMask, d));
    EXPECT_FALSE(DecipherText(Lines{}, index, kInverse, kMask, d));
    EXPECT_FALSE(DecipherText(lines, far, kInverse, kMask, d));
    EXPECT_EQ(index, 0u);
    EXPECT_EQ(far, 7u);
    EXPECT_EQ(d.text, "untouched");
    // Header fields that are not hexadecimal: nothing is appended.
    Lines none;
    EXPECT_FALSE(EncipherText("D40", '1', 'F', none, kMask, kKey, "x", 1.0));
    EXPECT_FALSE(EncipherText("D400G", '1', 'F', none, kMask, kKey, "x", 1.0));
    EXPECT_FALSE(EncipherText("D400F", ' ', 'F', none, kMask, kKey, "x", 1.0));
    EXPECT_TRUE(none.empty());
}

// The streamed reader's parse of a line: every byte in every place is a digit
// exactly when the text reader takes it, and the value is the same.
TEST(TextCipher, EveryByteAnywhereInALineParsesAsTheTextReaderReadsIt) {
    for (const bool lowerCase : {false, true}) {
        const std::string line =
            lowerCase ? "0123456789ABCDEFabcdef0123456789" : "0123456789ABCDEF0123456789ABCDEF";
        for (std::size_t at = 0; at < line.size(); ++at) {
            for (int byte = 0; byte < 256; ++byte) {
                std::string l = line;
                l[at] = char(byte);
                const auto digit = [lowerCase](char c) {
                    return std::isdigit(static_cast<unsigned char>(c)) || (c >= 'A' && c <= 'F') ||
                           (lowerCase && c >= 'a' && c <= 'f');
                };
                const bool want = std::all_of(l.begin(), l.end(), digit);
                textblocks::U128 got;
                ASSERT_EQ(textblocks::HexLineAt(l.data(), lowerCase, got), want)
                    << at << " " << byte;
                if (want) {
                    ASSERT_EQ(gf::ToQuad(got), HexToQuad(l)) << l;
                }
            }
        }
    }
}

TEST(OwnKeys, ShortRecordsNeverReadOutOfRange) {
    // A provisional two-line record: derivations read missing lines as 0.
    RecordList store{Record{"1F400000000", std::string(32, 'A')}};
    OwnKey k;
    EXPECT_TRUE(OwnSigningKey(store, '0', k));
    RecordSeal seal;
    EXPECT_FALSE(ReadRecordSeal(store, *k.key, seal));
    std::string pw;
    EXPECT_FALSE(ReadMailPassword(store, '0', pw));
    EXPECT_FALSE(StoreMailPassword(store, '0', "secret"));
    EXPECT_EQ(store.back().size(), 2u);
    // No record at all.
    EXPECT_FALSE(OwnSigningKey(RecordList{}, '0', k));
    EXPECT_FALSE(ReadRecordSeal(RecordList{}, *k.key, seal));
}

}  // namespace
}  // namespace quarnel
