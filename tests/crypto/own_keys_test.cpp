// Own key records beyond the vectors: the generation digit among many
// records, short records, and a stored password replaced in place.

#include <gtest/gtest.h>

#include "crypto/bignum.h"
#include "crypto/own_keys.h"

namespace quarnel {
namespace {

TEST(OwnKeys, TheDigitPicksAmongTheLastSixteenRecords) {
    RecordList store(20, Record(6, std::string(32, '1')));
    struct Case {
        std::size_t records;
        char digit;
        std::size_t picked;  ///< none when not below `records`
    };
    for (const Case c : {Case{20, '2', 18}, Case{20, '3', 19}, Case{20, '4', 4}, Case{5, '7', 5},
                         Case{5, '4', 4}, Case{0, '0', 0}}) {
        std::size_t r = 99;
        store.resize(c.records);
        EXPECT_EQ(SelectKeyRecord(store, c.digit, r), c.picked < c.records) << c.digit;
        if (c.picked < c.records) {
            EXPECT_EQ(r, c.picked) << c.digit;
        }
    }
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

TEST(OwnKeys, AStoredPasswordIsReplacedInPlace) {
    // An authority-made record: line 2 wraps the signing key S under the TA key.
    RecordList store{Record{"1F400000123", "93DB583C8583C4BB439417591AD681EE",
                            "8031B25D6E8863A9C64CDFC2D8EDECFB", std::string(32, '0'),
                            std::string(32, '0'), std::string(32, '0')}};
    std::string back;
    ASSERT_TRUE(StoreMailPassword(store, '0', "first password"));
    ASSERT_TRUE(StoreMailPassword(store, '0', "second"));
    EXPECT_EQ(store.back().size(), 7u);
    ASSERT_TRUE(ReadMailPassword(store, '0', back));
    EXPECT_EQ(back, "second");
}

}  // namespace
}  // namespace quarnel
