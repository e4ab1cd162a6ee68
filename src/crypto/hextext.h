// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Conversions between byte strings, date-time values and hexadecimal text.

#include <cstdint>
#include <string>
#include <string_view>

namespace quarnel {

/// The hexadecimal digits, upper case.
inline constexpr char kHexDigits[] = "0123456789ABCDEF";

/// The value of a hexadecimal digit of either case; -1 for any other character.
constexpr int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

/// Two upper-case digits per byte, high nibble first.
std::string TextToHex(std::string_view bytes);
/// One byte per digit pair; digits other than 0-9 and A-F count as 0, a
/// trailing odd digit is ignored.
std::string HexToText(std::string_view hex);

/// The 8 bytes of the double in little-endian order, two digits each.
std::string DateToHex(double value);
/// The reverse of DateToHex; digits other than 0-9 and A-F count as 0.
double HexToDate(std::string_view hex);

/// Byte of two digits (0-9, A-F), modulo 256.
std::uint8_t HexByte(std::string_view two);

/// "dd" + month as one hexadecimal digit + "yy": 5 December 2026 -> "05C26".
std::string DateCode(int day, int month, int year);
/// DateCode of today's local date (from the clock of datetime.h).
std::string DateCode();

/// True when `text` has exactly n characters, each 0-9 or A-F (upper case).
bool IsHexText(std::string_view text, std::size_t n);

/// True when every character is 0-9 or A-F (upper case); true for "".
bool IsUpperHex(std::string_view text);

}  // namespace quarnel
