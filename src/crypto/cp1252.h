// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Code page 1252, the 8-bit text encoding of every system text, files and
// wire. Conversions to UTF-8 happen only at the window and file-name
// boundaries.

#include <optional>
#include <string>
#include <string_view>

namespace quarnel {

/// The code point of a byte: 0x80-0x9F through the code page's table (the
/// five unassigned bytes keep their own value), every other byte itself.
char32_t Cp1252CodePoint(unsigned char byte);

/// The byte of a code point the code page holds, or nothing.
std::optional<unsigned char> Cp1252Byte(char32_t codePoint);

/// Every byte maps to one code point (the five unassigned bytes of 0x80-0x9F
/// to the C1 controls of the same value), so this never fails.
std::string Cp1252ToUtf8(std::string_view cp1252);

/// False when the text is not valid UTF-8 or holds a character that code page
/// 1252 cannot represent; `out` then holds what was converted before it.
[[nodiscard]] bool Utf8ToCp1252(std::string_view utf8, std::string& out);

/// A UTF-8 text as code page 1252, each character the code page cannot
/// represent (or each byte that is not UTF-8) as "?".
std::string Utf8ToCp1252Lossy(std::string_view utf8);

/// The first character of a UTF-8 text that code page 1252 cannot represent
/// (as UTF-8), or nothing when the whole text converts.
std::optional<std::string> FirstOutsideCp1252(std::string_view utf8);

/// Each character of a UTF-8 text that code page 1252 cannot represent, once,
/// in order (as UTF-8); empty when the whole text converts.
std::string DistinctOutsideCp1252(std::string_view utf8);

}  // namespace quarnel
