// Own key records beyond the vectors (which hold the choice of the record by
// the generation digit): short records and none.

#include <gtest/gtest.h>

#include "crypto/own_keys.h"

namespace quarnel {
namespace {

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
