// Key store faults as reported, and the start-up states read from the own record.

#include <gtest/gtest.h>

#include "store/key_store.h"

namespace quarnel {
namespace {

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
