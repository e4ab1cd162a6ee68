// SPDX-License-Identifier: GPL-3.0-or-later
// Code page 1252, date-time values and their texts, digest comparison.

#include <gtest/gtest.h>

#include "crypto/compare.h"
#include "crypto/cp1252.h"
#include "crypto/datetime.h"
#include "crypto/hextext.h"

namespace quarnel {
namespace {

TEST(Cp1252, EveryByteRoundTripsAndOnlyItsCharactersAreTaken) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    std::string out;
    ASSERT_TRUE(Utf8ToCp1252(Cp1252ToUtf8(all), out));
    EXPECT_EQ(out, all);
    // The euro and the accents map to their bytes.
    ASSERT_TRUE(Utf8ToCp1252("\u20AC \u00E9t\u00E9 \u0152uvre \u2019", out));
    EXPECT_EQ(out, "\x80 \xE9t\xE9 \x8Cuvre \x92");
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\u20AC");
    // Chinese, a truncated sequence, an overlong "/", an emoji.
    for (const char* refused : {"\u4E2D\u6587", "caf\xC3", "\xC0\xAF", "\xF0\x9F\x98\x80"}) {
        EXPECT_FALSE(Utf8ToCp1252(refused, out)) << refused;
    }
    // The lossy way: one "?" per character (or stray byte) that does not fit.
    const std::pair<std::string, std::string> lossy[] = {
        {"\u20AC \u4E2D\u6587 \U0001F600", "\x80 ?? ?"},
        {"caf\xC3", "caf?"},
        {"\xFF\xBFz", "??z"},
        {"\u00E9t\u00E9", "\xE9t\xE9"},
    };
    for (const auto& [in, want] : lossy)
        EXPECT_EQ(Utf8ToCp1252Lossy(in), want) << in;
}

TEST(DateTime, OleValuesTheirFixedTextAndTheLocalClock) {
    const LocalDateTime t{2026, 12, 5, 14, 7, 9, 0};
    const double v = OleFromLocal(t);
    EXPECT_DOUBLE_EQ(v, 46361.0 + (14 * 3600 + 7 * 60 + 9) / 86400.0);
    EXPECT_EQ(DateTimeText(v), "05/12/2026 14:07:09");
    EXPECT_EQ(DateText(v), "05/12/2026");
    EXPECT_EQ(OleToLocal(v), t);
    EXPECT_EQ(DateTimeText(0.0), "30/12/1899 00:00:00");
    EXPECT_EQ(DateTimeText(36526.0), "01/01/2000 00:00:00");
    // Just before midnight rounds within the day, never to 24:00.
    EXPECT_EQ(DateTimeText(36526.0 + 86399.9994 / 86400.0), "01/01/2000 23:59:59");
    // Nonsense values give a harmless text, no fault.
    EXPECT_EQ(DateTimeText(1e300).size(), 19u);
    SetLocalClock([] { return LocalDateTime{2000, 1, 1, 0, 0, 0, 0}; });
    EXPECT_EQ(DateCode(), "01100");
    EXPECT_DOUBLE_EQ(OleNow(), 36526.0);
    SetLocalClock({});
}

TEST(EqualDigests, AnyDifferingBitAnywhereAndLengths) {
    const std::string digest = "0123456789ABCDEF0123456789ABCDEF";
    EXPECT_TRUE(EqualDigests(digest, std::string(digest)));
    EXPECT_TRUE(EqualDigests("", ""));
    for (std::size_t at : {std::size_t(0), digest.size() / 2, digest.size() - 1}) {
        for (int bit = 0; bit < 8; ++bit) {
            std::string other = digest;
            other[at] = char(other[at] ^ (1 << bit));
            EXPECT_FALSE(EqualDigests(digest, other)) << at << " " << bit;
        }
    }
    EXPECT_FALSE(EqualDigests(digest, digest.substr(0, 31)));
    EXPECT_FALSE(EqualDigests(std::string_view("A\0B", 3), std::string_view("A\0C", 3)));
}

}  // namespace
}  // namespace quarnel
