// Key store shape, generation digit and start-up states.

#include <gtest/gtest.h>

#include "store/key_store.h"

namespace quarnel {
namespace {

Record Own(std::size_t lines) {
    Record r{"1F400000123"};
    while (r.size() < lines) r.push_back(std::string(32, 'A'));
    return r;
}

TEST(KeyStore, ShapesThatPassAndFail) {
    EXPECT_TRUE(CheckKeyStore({Own(2), Own(6), Own(7)}));
    for (std::size_t n : {1u, 3u, 4u, 5u, 8u}) EXPECT_FALSE(CheckKeyStore({Own(n)})) << n;
    EXPECT_FALSE(CheckKeyStore({}));
    Record lower = Own(6);
    lower[2][5] = 'a';
    std::vector<std::string> problems;
    EXPECT_FALSE(CheckKeyStore({Own(6), lower, Own(4)}, &problems));
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_NE(problems[0].find("record 2, line 2"), std::string::npos) << problems[0];
    EXPECT_NE(problems[1].find("record 3"), std::string::npos) << problems[1];
}

TEST(KeyStore, GenerationDigit) {
    EXPECT_EQ(KeyGenerationDigit(1), '0');
    EXPECT_EQ(KeyGenerationDigit(2), '1');
    EXPECT_EQ(KeyGenerationDigit(16), 'F');
    EXPECT_EQ(KeyGenerationDigit(17), '0');
}

TEST(KeyStore, StartupStatesAndTheirOrder) {
    Record pending = Own(6);
    pending[3] = kZeroLine;
    EXPECT_EQ(StartupStateFromOwnRecord(Own(6), false), 2);
    EXPECT_EQ(StartupStateFromOwnRecord(Own(7), false), 2);
    EXPECT_EQ(StartupStateFromOwnRecord(pending, false), 5);
    EXPECT_EQ(StartupStateFromOwnRecord(pending, true), 3);  // 3 wins over 5
    EXPECT_EQ(StartupStateFromOwnRecord(Own(2), true), 1);   // 1 wins over both
    EXPECT_TRUE(HasMailPassword(Own(7)));
    EXPECT_FALSE(HasMailPassword(Own(6)));
}

}  // namespace
}  // namespace quarnel

#include "crypto/bignum.h"
#include "crypto/text_cipher.h"
#include "store/holder_context.h"

namespace quarnel {
namespace {

TEST(HolderContext, SettingsDigestCoversTheNumberAndEveryIdentityLine) {
    const std::vector<std::string> identity{"DURAND", "jean", "1 rue de la Paix"};
    std::string d;
    ASSERT_TRUE(SettingsDigest("1F400000123", identity, d));
    Quad q{};
    ASSERT_TRUE(CondenseText("1F400000123DURANDjean1 rue de la Paix", q));
    EXPECT_EQ(d, QuadToHex(q));
    std::string other;
    ASSERT_TRUE(SettingsDigest("1F400000124", identity, other));
    EXPECT_NE(d, other);
}

}  // namespace
}  // namespace quarnel
