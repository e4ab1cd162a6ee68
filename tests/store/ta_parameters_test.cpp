// SPDX-License-Identifier: GPL-3.0-or-later
// The TA parameter file: written and read back, and every fault reported.

#include <gtest/gtest.h>

#include "crypto/bignum.h"
#include "crypto/dh_constants.h"
#include "protocol/lines.h"
#include "store/atomic_file.h"
#include "store/ta_parameters.h"
#include "temp_dir.h"

namespace quarnel {
namespace {

TEST(TaParameters, WrittenLinesReadBackUnderAHexadecimalTaCodeOnly) {
    test::TempDir dir;
    const Big value = SystemBase();
    for (const char* name : {"QuarnelTaPr.0FF", "QuarnelTaPr.xyz"}) {
        ASSERT_TRUE(WriteFileAtomically(dir / name, JoinLinesCrLf(TaParameterLines(value))));
    }
    const auto found = FindTaParameterFile(dir.path());
    ASSERT_TRUE(found);
    TaParameters p;
    std::string why;
    ASSERT_TRUE(ReadTaParameterFile(*found, p, &why)) << why;
    EXPECT_EQ(p.code, "0FF");
    EXPECT_EQ(p.publicValue, value);
    EXPECT_EQ(p.publicHex, BigToHex(value));
    EXPECT_FALSE(ReadTaParameterFile(dir / "QuarnelTaPr.xyz", p, &why));
    EXPECT_FALSE(why.empty());
    EXPECT_FALSE(FindTaParameterFile(dir / "missing"));
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

}  // namespace
}  // namespace quarnel
