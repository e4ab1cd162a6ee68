// Enciphered texts and condensation beyond the vectors.

#include <gtest/gtest.h>

#include <bit>

#include "crypto/bignum.h"
#include "crypto/cipher.h"
#include "crypto/hextext.h"
#include "crypto/text_cipher.h"

namespace quarnel {
namespace {

// A key and its inverse, taken from the vectors' first encipher case.
const Quad kKey = HexToQuad("9BD9ED158BB87F46B6E1F66DF3A7DB35");
const Quad kInverse = HexToQuad("AE5A4540640542E136CD064716DE0E58");
const Quad kMask = HexToQuad("F44174B95D499343596D98F6A8B5E23B");

TEST(TextCipher, BlockCountsAndPaddingAtTheEdges) {
    struct Case {
        std::size_t length;
        std::size_t blocks;
        char pad;
    };
    for (const Case c : {Case{0, 0, '0'}, Case{1, 1, 'F'}, Case{16, 1, '0'}, Case{17, 2, 'F'},
                         Case{32, 2, '0'}, Case{33, 3, 'F'}}) {
        SCOPED_TRACE(c.length);
        Lines lines;
        ASSERT_TRUE(EncipherText("D400F", '1', 'F', lines, kMask, kKey, std::string(c.length, 'x'),
                                 45000.5));
        ASSERT_EQ(lines.size(), c.blocks + 2);
        std::string header;
        ASSERT_TRUE(VerifyHeader(lines, 0, kInverse, kMask, header));
        EXPECT_EQ(header.substr(16, 8), WordToHex(Word(c.blocks)));
        EXPECT_EQ(header[24], c.pad);
    }
}

TEST(TextCipher, RoundTripKeepsEveryByteTheDateAndTheFields) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += char(b);
    for (const std::string& text : {all, std::string("ends in UUU"), std::string("U"),
                                    std::string(16, 'U'), std::string()}) {
        Lines lines{"not part of the text"};
        const double when = 46361.6543210123;
        ASSERT_TRUE(EncipherText("0A1B2", 'C', '7', lines, kMask, kKey, text, when));
        std::size_t index = 1;
        DecipheredText d;
        ASSERT_TRUE(DecipherText(lines, index, kInverse, kMask, d));
        EXPECT_EQ(d.text, text);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(d.dateTime), std::bit_cast<std::uint64_t>(when));
        EXPECT_EQ(d.code, "0A1B2");
        EXPECT_EQ(d.field1, 'C');
        EXPECT_EQ(d.field2, '7');
        EXPECT_EQ(index, lines.size());
    }
}

TEST(TextCipher, TwoTextsInOneListAreReadInTurn) {
    Lines lines;
    ASSERT_TRUE(EncipherText("00001", '0', '0', lines, kMask, kKey, "first text, two blocks", 1.0));
    ASSERT_TRUE(EncipherText("00002", '0', '0', lines, kMask, kKey, "second", 2.0));
    std::size_t index = 0;
    DecipheredText a, b;
    ASSERT_TRUE(DecipherText(lines, index, kInverse, kMask, a));
    ASSERT_TRUE(DecipherText(lines, index, kInverse, kMask, b));
    EXPECT_EQ(a.text, "first text, two blocks");
    EXPECT_EQ(b.text, "second");
    EXPECT_EQ(index, lines.size());
}

TEST(TextCipher, FailuresChangeNothing) {
    Lines lines;
    ASSERT_TRUE(EncipherText("D400F", '1', 'F', lines, kMask, kKey, "some secret text!", 3.0));
    DecipheredText d;
    d.text = "untouched";
    std::size_t index = 0;
    // Wrong key, wrong mask, an altered header line, a missing block, too few lines.
    EXPECT_FALSE(DecipherText(lines, index, kKey, kMask, d));
    EXPECT_FALSE(DecipherText(lines, index, kInverse, Quad{}, d));
    Lines altered = lines;
    altered[1][5] = altered[1][5] == '0' ? '1' : '0';
    EXPECT_FALSE(DecipherText(altered, index, kInverse, kMask, d));
    Lines shortened(lines.begin(), lines.end() - 1);
    EXPECT_FALSE(DecipherText(shortened, index, kInverse, kMask, d));
    EXPECT_FALSE(DecipherText(Lines{lines[0]}, index, kInverse, kMask, d));
    EXPECT_FALSE(DecipherText(Lines{}, index, kInverse, kMask, d));
    std::size_t far = 7;
    EXPECT_FALSE(DecipherText(lines, far, kInverse, kMask, d));
    EXPECT_EQ(index, 0u);
    EXPECT_EQ(far, 7u);
    EXPECT_EQ(d.text, "untouched");
}

TEST(TextCipher, HeaderFieldsMustBeHexadecimal) {
    Lines lines;
    EXPECT_FALSE(EncipherText("D40", '1', 'F', lines, kMask, kKey, "x", 1.0));
    EXPECT_FALSE(EncipherText("D400G", '1', 'F', lines, kMask, kKey, "x", 1.0));
    EXPECT_FALSE(EncipherText("D400F", ' ', 'F', lines, kMask, kKey, "x", 1.0));
    EXPECT_TRUE(lines.empty());
}

TEST(Condense, PaddingAndInvalidPieces) {
    Quad a{}, b{};
    // "U" padding is implicit: a text and the same text padded give one digest.
    ASSERT_TRUE(CondenseText("abc", a));
    ASSERT_TRUE(CondenseText("abcUUUUUUUUUUUUU", b));
    EXPECT_EQ(a, b);
    // 16 characters of code 0 make the block 0: not valid.
    EXPECT_FALSE(CondenseText(std::string("0123456789ABCDEF") + std::string(16, '\0'), a));
    EXPECT_EQ(a, Quad{});
    // A hexadecimal group that does not parse reads as 0.
    EXPECT_FALSE(CondenseHex(std::string(31, '1') + "G", a));
    // 33 digits: the second group is the last digit then 31 "5".
    ASSERT_TRUE(CondenseHex(std::string(32, '1') + "7", a));
    ASSERT_TRUE(CondenseHex(std::string(32, '1') + "7" + std::string(31, '5'), b));
    EXPECT_EQ(a, b);
}

TEST(Condense, TheChainFeedsEachDigestAsTheNextMask) {
    const std::string t = "0123456789abcdefFEDCBA9876543210";
    Quad d{};
    ASSERT_TRUE(CondenseText(t, d));
    const Quad b1 = HexToQuad(TextToHex(t.substr(0, 16)));
    const Quad b2 = HexToQuad(TextToHex(t.substr(16, 16)));
    const Quad d1 = CipherBlockMasked(b1, b1, Quad{}, Direction::Encipher);
    EXPECT_EQ(d, CipherBlockMasked(b2, b2, d1, Direction::Encipher));
}

}  // namespace
}  // namespace quarnel
