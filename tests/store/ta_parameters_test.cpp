// The TA parameter file: written and read back, and every fault reported.

#include <gtest/gtest.h>

#include <fstream>

#include "crypto/bignum.h"
#include "crypto/dh_constants.h"
#include "store/atomic_file.h"
#include "store/ta_parameters.h"
#include "temp_dir.h"

namespace quarnel {
namespace {

using test::TempDir;

void Write(const std::filesystem::path& p, const std::vector<std::string>& lines) {
    ASSERT_TRUE(WriteFileAtomically(p, JoinLinesCrLf(lines)));
}

TEST(TaParameters, WrittenLinesReadBack) {
    TempDir dir;
    const Big value = SystemBase();
    Write(dir / "QuarnelTaPr.0FF", TaParameterLines(value));
    const auto found = FindTaParameterFile(dir.path());
    ASSERT_TRUE(found);
    TaParameters p;
    std::string why;
    ASSERT_TRUE(ReadTaParameterFile(*found, p, &why)) << why;
    EXPECT_EQ(p.code, "0FF");
    EXPECT_EQ(p.publicValue, value);
    EXPECT_EQ(p.publicHex, BigToHex(value));
}

TEST(TaParameters, EveryFaultIsReported) {
    const auto good = TaParameterLines(SystemBase());
    auto check = [](std::vector<std::string> lines, const std::string& expect) {
        TaParameters p;
        std::string why;
        EXPECT_FALSE(ParseTaParameters(lines, p, &why));
        EXPECT_NE(why.find(expect), std::string::npos) << why;
    };
    check({good.begin(), good.end() - 1}, "8 lines");
    auto lower = good;
    lower[3][0] = 'a';
    check(lower, "line 4");
    auto digest = good;
    digest[8][31] = digest[8][31] == '0' ? '1' : '0';
    check(digest, "digest");
    auto extra = good;
    extra.push_back("");
    check(extra, "10 lines");
}

TEST(TaParameters, TheFileNameMustCarryAHexadecimalTaCode) {
    TempDir dir;
    Write(dir / "QuarnelTaPr.xyz", TaParameterLines(SystemBase()));
    TaParameters p;
    std::string why;
    EXPECT_FALSE(ReadTaParameterFile(dir / "QuarnelTaPr.xyz", p, &why));
    EXPECT_FALSE(why.empty());
    EXPECT_FALSE(FindTaParameterFile(dir / "missing"));
}

}  // namespace
}  // namespace quarnel
