#pragma once
// Code page 1252, the 8-bit text encoding of every system text, files and
// wire. Conversions to UTF-8 happen only at the window and file-name
// boundaries.

#include <optional>
#include <string>
#include <string_view>

namespace quarnel {

/// Every byte maps to one code point (the five unassigned bytes of 0x80-0x9F
/// to the C1 controls of the same value), so this never fails.
std::string Cp1252ToUtf8(std::string_view cp1252);

/// False when the text is not valid UTF-8 or holds a character that code page
/// 1252 cannot represent; `out` then holds what was converted before it.
[[nodiscard]] bool Utf8ToCp1252(std::string_view utf8, std::string& out);

/// The first character of a UTF-8 text that code page 1252 cannot represent
/// (as UTF-8), or nothing when the whole text converts.
std::optional<std::string> FirstOutsideCp1252(std::string_view utf8);

/// Each character of a UTF-8 text that code page 1252 cannot represent, once,
/// in order (as UTF-8); empty when the whole text converts.
std::string DistinctOutsideCp1252(std::string_view utf8);

}  // namespace quarnel
