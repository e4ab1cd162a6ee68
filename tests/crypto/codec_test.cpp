// Code page 1252, date-time values and their texts, hexadecimal texts.

#include <gtest/gtest.h>

#include "crypto/cp1252.h"
#include "crypto/datetime.h"
#include "crypto/hextext.h"

namespace quarnel {
namespace {

TEST(Cp1252, EveryByteRoundTripsThroughUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += char(b);
    std::string back;
    ASSERT_TRUE(Utf8ToCp1252(Cp1252ToUtf8(all), back));
    EXPECT_EQ(back, all);
}

TEST(Cp1252, TheEuroAndTheAccentsMapToTheirBytes) {
    std::string out;
    ASSERT_TRUE(Utf8ToCp1252("\u20AC \u00E9t\u00E9 \u0152uvre \u2019", out));
    EXPECT_EQ(out, "\x80 \xE9t\xE9 \x8Cuvre \x92");
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\u20AC");
}

TEST(Cp1252, CharactersOutsideTheCodePageAreRefused) {
    std::string out;
    EXPECT_FALSE(Utf8ToCp1252("\u4E2D\u6587", out));        // Chinese
    EXPECT_FALSE(Utf8ToCp1252("caf\xC3", out));             // truncated sequence
    EXPECT_FALSE(Utf8ToCp1252("\xC0\xAF", out));            // overlong "/"
    EXPECT_FALSE(Utf8ToCp1252("\xF0\x9F\x98\x80", out));    // emoji
}

TEST(DateTime, OleValuesAndTheirFixedText) {
    LocalDateTime t;
    t.year = 2026;
    t.month = 12;
    t.day = 5;
    t.hour = 14;
    t.minute = 7;
    t.second = 9;
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
}

TEST(DateTime, TheLocalClockCanBeFixed) {
    LocalDateTime t;
    t.year = 2000;
    t.month = 1;
    t.day = 1;
    SetLocalClock([t] { return t; });
    EXPECT_EQ(DateCode(), "01100");
    EXPECT_DOUBLE_EQ(OleNow(), 36526.0);
    SetLocalClock({});
}

TEST(HexText, OddAndInvalidDigits) {
    EXPECT_EQ(HexToText("414"), "A");
    EXPECT_EQ(HexToText("4g"), std::string(1, '\x40'));
    EXPECT_EQ(TextToHex(std::string(16, 'x')).size(), 32u);
    EXPECT_TRUE(IsHexText("0123456789ABCDEF0123456789ABCDEF", 32));
    EXPECT_FALSE(IsHexText("0123456789abcdef0123456789abcdef", 32));
    EXPECT_FALSE(IsHexText(std::string(31, '0'), 32));
}

}  // namespace
}  // namespace quarnel
