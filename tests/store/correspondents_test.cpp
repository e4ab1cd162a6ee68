// SPDX-License-Identifier: GPL-3.0-or-later
// Correspondent lists: shape rules, lookup, replacement, deletion, a damaged
// file kept aside; key store faults as reported.

#include <gtest/gtest.h>

#include "crypto/datetime.h"
#include "store/atomic_file.h"
#include "store/correspondents.h"
#include "store/key_store.h"
#include "temp_dir.h"

namespace quarnel {
namespace {

Record Correspondent(char category, const std::string& number, const std::string& surname) {
    const auto layout = *LayoutFor(category);
    Record r(layout.lineCount, "x");
    r[layout.numberLine] = number;
    r[layout.numberLine - 6] = surname;
    std::fill(r.begin() + std::ptrdiff_t(layout.firstKeyLine), r.end(), std::string(32, 'C'));
    return r;
}

TEST(Correspondents, ShapeRules) {
    EXPECT_TRUE(CheckCorrespondentList({}, 'A'));
    EXPECT_TRUE(CheckCorrespondentList({Correspondent('A', "1F400000001", "durand")}, 'A'));
    EXPECT_FALSE(CheckCorrespondentList({Correspondent('D', "1F400000001", "X")}, 'A'));
    EXPECT_FALSE(CheckCorrespondentList({Correspondent('A', "1F400000001", "X")}, 'D'));
    EXPECT_FALSE(CheckCorrespondentList({}, 'Z'));
    Record lower = Correspondent('F', "1F400000001", "X");
    lower[15][0] = 'c';
    std::vector<std::string> problems;
    EXPECT_FALSE(CheckCorrespondentList({Correspondent('F', "1F4", "Y"), lower}, 'F', &problems));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("record 2"), std::string::npos);
    // Duplicates from hand-made files are kept, and the first is found.
    const RecordList twice(2, Correspondent('D', "1F400000009", "B"));
    EXPECT_TRUE(CheckCorrespondentList(twice, 'D'));
    EXPECT_EQ(FindCorrespondent(CorrespondentLists{{}, twice, {}, {}}, 'D', "1F400000009"), 0);
}

TEST(Correspondents, StoringReplacesMovesToTheEndAndDeletingSaves) {
    test::TempDir dir;
    CorrespondentLists lists;
    const auto store = [&](char category, Record r) {
        return StoreCorrespondent(lists, category, std::move(r), dir.path(), {});
    };
    ASSERT_EQ(store('A', Correspondent('A', "1F400000001", "ONE")), SaveResult::Saved);
    ASSERT_EQ(store('A', Correspondent('A', "1F400000002", "TWO")), SaveResult::Saved);
    ASSERT_EQ(store('A', Correspondent('A', "1F400000001", "ONE AGAIN")), SaveResult::Saved);
    ASSERT_EQ(lists.a.size(), 2u);
    EXPECT_EQ(lists.a[0][6], "1F400000002");
    EXPECT_EQ(lists.a[1][0], "ONE AGAIN");
    EXPECT_EQ(FindCorrespondent(lists, 'A', "1F400000001"), 1);
    EXPECT_EQ(FindCorrespondent(lists, 'A', "1f400000001"), -1);
    EXPECT_EQ(FindCorrespondent(lists, 'D', "1F400000001"), -1);
    EXPECT_EQ(FindCorrespondent(lists, 'Q', "1F400000001"), -1);
    // A record that does not fit its category is refused and nothing changes.
    EXPECT_EQ(store('D', Correspondent('A', "1", "X")), SaveResult::Refused);
    EXPECT_EQ(store('Q', Correspondent('A', "1", "X")), SaveResult::Refused);
    EXPECT_TRUE(lists.d.empty());
    EXPECT_FALSE(std::filesystem::exists(dir / "QuarnelTitD.dat"));
    ASSERT_EQ(DeleteCorrespondent(lists, 'A', 0, dir.path(), {}), SaveResult::Saved);
    EXPECT_EQ(DeleteCorrespondent(lists, 'A', 5, dir.path(), {}), SaveResult::Refused);
    ASSERT_EQ(lists.a.size(), 1u);
    RecordList onDisk;
    ASSERT_TRUE(LoadRecordList(dir / "QuarnelTitA.dat", onDisk));
    EXPECT_EQ(onDisk, lists.a);
}

TEST(Correspondents, TheFileOfADamagedListIsKeptBeforeTheFirstSave) {
    test::TempDir dir;
    SetLocalClock([] { return LocalDateTime{2026, 12, 6, 14, 12, 0, 0}; });
    ASSERT_TRUE(WriteFileAtomically(dir / "QuarnelTitF.dat", "damaged bytes"));
    CorrespondentLists lists;
    lists.MarkDamaged('F');
    lists.MarkDamaged('Q');
    EXPECT_EQ(lists.damaged, "F");
    std::filesystem::path kept;
    ASSERT_EQ(StoreCorrespondent(lists, 'F', Correspondent('F', "1F400000001", "N"), dir.path(), {},
                                 &kept),
              SaveResult::Saved);
    EXPECT_EQ(kept, dir / "QuarnelTitF.dat.damaged-20261206-1412");
    EXPECT_EQ(*ReadWholeFile(kept), "damaged bytes");
    RecordList onDisk;
    ASSERT_TRUE(LoadRecordList(dir / "QuarnelTitF.dat", onDisk));
    EXPECT_EQ(onDisk, lists.f);
    // Once kept, later saves write over the new file only.
    std::filesystem::path again;
    ASSERT_EQ(StoreCorrespondent(lists, 'F', Correspondent('F', "1F400000002", "M"), dir.path(), {},
                                 &again),
              SaveResult::Saved);
    EXPECT_TRUE(again.empty());
    EXPECT_FALSE(lists.IsDamaged('F'));
    EXPECT_EQ(*ReadWholeFile(kept), "damaged bytes");
    SetLocalClock({});
}

Record Own(std::size_t lines) {
    Record r{"1F400000123"};
    r.resize(lines, std::string(32, 'A'));
    return r;
}

TEST(KeyStore, EveryFaultIsReportedWithItsPlace) {
    Record lower = Own(6);
    lower[2][5] = 'a';
    std::vector<std::string> problems;
    EXPECT_FALSE(CheckKeyStore({Own(6), lower, Own(4)}, &problems));
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_NE(problems[0].find("record 2, line 2"), std::string::npos) << problems[0];
    EXPECT_NE(problems[1].find("record 3"), std::string::npos) << problems[1];
}

}  // namespace
}  // namespace quarnel
