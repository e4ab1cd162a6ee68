// Correspondent lists: shape rules, lookup, replacement, deletion.

#include <gtest/gtest.h>

#include "store/correspondents.h"
#include "temp_dir.h"

namespace quarnel {
namespace {

using test::TempDir;

Record Correspondent(char category, const std::string& number, const std::string& name) {
    const auto layout = *LayoutFor(category);
    Record r(layout.lineCount, "x");
    r[layout.numberLine] = number;
    r[layout.numberLine - 6] = name;  // surname
    for (std::size_t i = layout.firstKeyLine; i < layout.lineCount; ++i) r[i] = std::string(32, 'C');
    return r;
}

TEST(Correspondents, ShapeRules) {
    EXPECT_TRUE(CheckCorrespondentList({}, 'A'));
    EXPECT_TRUE(CheckCorrespondentList({Correspondent('A', "1F400000001", "durand")}, 'A'));
    EXPECT_FALSE(CheckCorrespondentList({Correspondent('D', "1F400000001", "X")}, 'A'));
    EXPECT_FALSE(CheckCorrespondentList({Correspondent('A', "1F400000001", "X")}, 'D'));
    Record lower = Correspondent('F', "1F400000001", "X");
    lower[15][0] = 'c';
    std::vector<std::string> problems;
    EXPECT_FALSE(CheckCorrespondentList({Correspondent('F', "1F4", "Y"), lower}, 'F', &problems));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("record 2"), std::string::npos);
    EXPECT_FALSE(CheckCorrespondentList({}, 'Z'));
}

TEST(Correspondents, StoringReplacesAndMovesToTheEnd) {
    TempDir dir;
    CorrespondentLists lists;
    const auto save = [&](Record r) {
        return StoreCorrespondent(lists, 'A', std::move(r), dir.path(), {});
    };
    ASSERT_EQ(save(Correspondent('A', "1F400000001", "ONE")), SaveResult::Saved);
    ASSERT_EQ(save(Correspondent('A', "1F400000002", "TWO")), SaveResult::Saved);
    ASSERT_EQ(save(Correspondent('A', "1F400000001", "ONE AGAIN")), SaveResult::Saved);
    ASSERT_EQ(lists.a.size(), 2u);
    EXPECT_EQ(lists.a[0][6], "1F400000002");
    EXPECT_EQ(lists.a[1][0], "ONE AGAIN");
    EXPECT_EQ(FindCorrespondent(lists, 'A', "1F400000001"), 1);
    EXPECT_EQ(FindCorrespondent(lists, 'A', "1f400000001"), -1);
    EXPECT_EQ(FindCorrespondent(lists, 'D', "1F400000001"), -1);
    EXPECT_EQ(FindCorrespondent(lists, 'Q', "1F400000001"), -1);
    RecordList onDisk;
    ASSERT_TRUE(LoadRecordList(dir / "QuarnelTitA.dat", onDisk));
    EXPECT_EQ(onDisk, lists.a);
}

TEST(Correspondents, ARecordThatDoesNotFitIsRefusedAndNothingChanges) {
    TempDir dir;
    CorrespondentLists lists;
    EXPECT_EQ(StoreCorrespondent(lists, 'A', Correspondent('D', "1", "X"), dir.path(), {}),
              SaveResult::Refused);
    EXPECT_EQ(StoreCorrespondent(lists, 'Q', Correspondent('A', "1", "X"), dir.path(), {}),
              SaveResult::Refused);
    EXPECT_TRUE(lists.a.empty());
    EXPECT_FALSE(std::filesystem::exists(dir / "QuarnelTitA.dat"));
}

TEST(Correspondents, DuplicatesFromHandMadeFilesAreKeptAndTheFirstIsFound) {
    CorrespondentLists lists;
    lists.d = {Correspondent('D', "1F400000009", "FIRST"), Correspondent('D', "1F400000009", "B")};
    EXPECT_TRUE(CheckCorrespondentList(lists.d, 'D'));
    EXPECT_EQ(FindCorrespondent(lists, 'D', "1F400000009"), 0);
}

TEST(Correspondents, DeletingSavesTheList) {
    TempDir dir;
    CorrespondentLists lists;
    lists.f = {Correspondent('F', "1F400000001", "A"), Correspondent('F', "1F400000002", "B")};
    ASSERT_EQ(DeleteCorrespondent(lists, 'F', 0, dir.path(), {}), SaveResult::Saved);
    ASSERT_EQ(lists.f.size(), 1u);
    RecordList onDisk;
    ASSERT_TRUE(LoadRecordList(dir / "QuarnelTitF.dat", onDisk));
    EXPECT_EQ(onDisk, lists.f);
    EXPECT_EQ(DeleteCorrespondent(lists, 'F', 5, dir.path(), {}), SaveResult::Refused);
}

}  // namespace
}  // namespace quarnel
