// Own key record cryptography beyond the vectors: a record made as the
// authority makes it opens with the derived keys.

#include <gtest/gtest.h>

#include "crypto/bignum.h"
#include "crypto/cipher.h"
#include "crypto/hextext.h"
#include "crypto/own_keys.h"
#include "crypto/text_cipher.h"

namespace quarnel {
namespace {

Record FakeRecord(std::size_t i) {
    return Record{"1F4000001" + WordToHex(Word(i)).substr(6), std::string(32, '1'),
                  std::string(32, '2'), std::string(32, '3'), std::string(32, '4'),
                  std::string(32, '5')};
}

TEST(OwnKeys, TheDigitPicksAmongTheLastSixteenRecords) {
    RecordList store;
    for (std::size_t i = 0; i < 20; ++i) store.push_back(FakeRecord(i));
    std::size_t r = 0;
    ASSERT_TRUE(SelectKeyRecord(store, '2', r));
    EXPECT_EQ(r, 18u);
    ASSERT_TRUE(SelectKeyRecord(store, '3', r));
    EXPECT_EQ(r, 19u);
    ASSERT_TRUE(SelectKeyRecord(store, '4', r));
    EXPECT_EQ(r, 4u);
    store.resize(5);
    EXPECT_FALSE(SelectKeyRecord(store, '7', r));
    ASSERT_TRUE(SelectKeyRecord(store, '4', r));
    EXPECT_EQ(r, 4u);
    EXPECT_FALSE(SelectKeyRecord(RecordList{}, '0', r));
}

TEST(OwnKeys, ShortRecordsNeverReadOutOfRange) {
    // A provisional two-line record: derivations read missing lines as 0.
    RecordList store{Record{"1F400000000", std::string(32, 'A')}};
    OwnKey k;
    EXPECT_TRUE(OwnSigningKey(store, '0', k));
    RecordSeal seal;
    EXPECT_FALSE(ReadRecordSeal(store, k.key, seal));
    std::string pw;
    EXPECT_FALSE(ReadMailPassword(store, '0', pw));
    EXPECT_FALSE(StoreMailPassword(store, '0', "secret"));
    EXPECT_EQ(store.back().size(), 2u);
    EXPECT_FALSE(ReadRecordSeal(RecordList{}, k.key, seal));
}

TEST(OwnKeys, PasswordsAreCutToSixteenAndReplacedInPlace) {
    // An authority-made record: line 2 wraps the signing key S under the TA key.
    const Quad taKey = HexToQuad("93DB583C8583C4BB439417591AD681EE");
    RecordList store{Record{"1F400000123", QuadToHex(taKey), "8031B25D6E8863A9C64CDFC2D8EDECFB",
                            std::string(32, '0'), std::string(32, '0'), std::string(32, '0')}};
    std::string back;
    ASSERT_TRUE(StoreMailPassword(store, '0', "exactly16chars!!"));
    ASSERT_TRUE(ReadMailPassword(store, '0', back));
    EXPECT_EQ(back, "exactly16chars!!");
    ASSERT_TRUE(StoreMailPassword(store, '0', "twenty characters..."));
    EXPECT_EQ(store.back().size(), 7u);
    ASSERT_TRUE(ReadMailPassword(store, '0', back));
    EXPECT_EQ(back, "twenty character");
    ASSERT_TRUE(StoreMailPassword(store, '0', "abc  "));
    ASSERT_TRUE(ReadMailPassword(store, '0', back));
    EXPECT_EQ(back, "abc");
}

}  // namespace
}  // namespace quarnel
