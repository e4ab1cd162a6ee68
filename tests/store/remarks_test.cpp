// SPDX-License-Identifier: GPL-3.0-or-later
// Remarks on correspondents: their own file, its limits, a damaged file kept.

#include <gtest/gtest.h>

#include <fstream>

#include "crypto/datetime.h"
#include "store/atomic_file.h"
#include "store/remarks.h"
#include "temp_dir.h"

namespace quarnel {
namespace {

TEST(Remarks, SetGetEraseAndTheFileRoundTrip) {
    test::TempDir dir;
    Remarks remarks;
    Remarks loaded;
    EXPECT_EQ(LoadRemarks(dir.path(), loaded), RemarksLoad::Missing);
    ASSERT_TRUE(remarks.Set('A', "1F400000001", "ami d'enfance"));
    ASSERT_TRUE(remarks.Set('F', "1F400000001", std::string(kMaxRemarkLength, 'x')));
    ASSERT_TRUE(remarks.Set('D', "1F400000002", "caf\xE9"));
    ASSERT_TRUE(remarks.Set('D', "1F400000002", "th\xE9"));  // replaced
    EXPECT_EQ(remarks.Get('D', "1F400000002"), "th\xE9");
    EXPECT_EQ(remarks.Get('A', "1F400000002"), "");
    // Refused, nothing changed: too long, a line break, no category, no number.
    EXPECT_FALSE(remarks.Set('A', "1F400000001", std::string(kMaxRemarkLength + 1, 'x')));
    EXPECT_FALSE(remarks.Set('A', "1F400000001", "two\r\nlines"));
    EXPECT_FALSE(remarks.Set('Q', "1F400000001", "x"));
    EXPECT_FALSE(remarks.Set('A', "", "x"));
    EXPECT_EQ(remarks.Get('A', "1F400000001"), "ami d'enfance");
    // An empty remark is no remark.
    ASSERT_TRUE(remarks.Set('F', "1F400000001", ""));
    EXPECT_EQ(remarks.size(), 2u);

    ASSERT_EQ(SaveRemarks(remarks, dir.path(), {}), SaveResult::Saved);
    EXPECT_EQ(
        std::filesystem::status(dir / kRemarksFileName).permissions() & std::filesystem::perms::all,
        std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    ASSERT_EQ(LoadRemarks(dir.path(), loaded), RemarksLoad::Loaded);
    EXPECT_EQ(loaded.ToRecords(), remarks.ToRecords());
    EXPECT_TRUE(loaded.Erase('A', "1F400000001"));
    EXPECT_FALSE(loaded.Erase('A', "1F400000001"));
    EXPECT_EQ(loaded.size(), 1u);
}

TEST(Remarks, CountLimit) {
    Remarks remarks;
    for (std::size_t i = 0; i < kMaxRemarks; ++i)
        ASSERT_TRUE(remarks.Set('A', std::to_string(i), "r"));
    EXPECT_FALSE(remarks.Set('A', "one more", "r"));
    EXPECT_TRUE(remarks.Set('A', "0", "changed"));  // changing one is still allowed
    // A file of kMaxRemarks remarks of full length stays under the size limit.
    remarks = Remarks();
    for (std::size_t i = 0; i < kMaxRemarks; ++i)
        ASSERT_TRUE(remarks.Set('A', std::to_string(100000000000 + i).substr(1),
                                std::string(kMaxRemarkLength, 'r')));
    EXPECT_LE(SerializeRecordList(remarks.ToRecords())->size(), kMaxRemarksFileBytes);
}

TEST(Remarks, ADamagedFileLoadsNothingAndIsKeptAsideAtTheNextSave) {
    SetLocalClock([] { return LocalDateTime{2026, 12, 7, 3, 10, 0, 0}; });
    const std::string file = kRemarksFileName;
    const std::string tooMany = [] {
        RecordList records(kMaxRemarks + 1, Record{"A", "1F400000001", "r"});
        return *SerializeRecordList(records);
    }();
    const std::string cases[] = {
        "not a record list",
        *SerializeRecordList({{"A", "1F400000001"}}),                         // 2 lines
        *SerializeRecordList({{"Z", "1F400000001", "r"}}),                    // category
        *SerializeRecordList({{"A", "1F400000001", std::string(201, 'r')}}),  // too long
        *SerializeRecordList({{"A", "", "r"}}),                               // no number
        tooMany,
    };
    for (const std::string& bytes : cases) {
        test::TempDir dir;
        ASSERT_TRUE(WriteFileAtomically(dir / file, bytes));
        Remarks remarks;
        ASSERT_TRUE(remarks.Set('A', "1F400000009", "before"));
        std::string reason;
        ASSERT_EQ(LoadRemarks(dir.path(), remarks, &reason), RemarksLoad::Damaged) << bytes.size();
        EXPECT_FALSE(reason.empty());
        EXPECT_EQ(remarks.size(), 0u);
        ASSERT_TRUE(remarks.Set('A', "1F400000001", "new"));
        std::filesystem::path kept;
        ASSERT_EQ(SaveRemarks(remarks, dir.path(), {}, &kept), SaveResult::Saved);
        EXPECT_EQ(kept, dir / (file + ".damaged-20261207-0310"));
        EXPECT_EQ(ReadWholeFile(kept), bytes);
        EXPECT_FALSE(remarks.damaged);
    }
    // Past the size limit the file is not even read.
    test::TempDir dir;
    { std::ofstream big(dir / file, std::ios::binary); }
    std::filesystem::resize_file(dir / file, kMaxRemarksFileBytes + 1);
    Remarks remarks;
    std::string reason;
    EXPECT_EQ(LoadRemarks(dir.path(), remarks, &reason), RemarksLoad::Damaged);
    EXPECT_NE(reason.find("bytes"), std::string::npos);
    SetLocalClock({});
}

}  // namespace
}  // namespace quarnel
