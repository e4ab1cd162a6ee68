// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Enciphered texts (two header lines, then one line per 16 characters) and
// the condensation, the system's digest.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "crypto/types.h"

namespace quarnel {

using Lines = std::vector<std::string>;

/// Appends the n + 2 lines of `plain` enciphered with `key` and `mask`. The
/// header carries the date-time, the block count, the padding, `code` (5
/// hexadecimal digits) and the two one-digit fields. Returns false and appends
/// nothing when the code or a field is not hexadecimal.
[[nodiscard]] bool EncipherText(std::string_view code, char field1, char field2, Lines& lines,
                                const Quad& mask, const Quad& key, std::string_view plain,
                                double dateTime);

/// Checks the two header lines at `index` with the deciphering key and mask,
/// and that the announced blocks are present; gives the 32-digit header text.
[[nodiscard]] bool VerifyHeader(const Lines& lines, std::size_t index, const Quad& key,
                                const Quad& mask, std::string& headerText);

struct DecipheredText {
    std::string text;
    double dateTime = 0;
    std::string code;
    char field1 = '0';
    char field2 = '0';
};

/// Deciphers the text at `index` and advances `index` past it. On failure
/// nothing changes.
[[nodiscard]] bool DecipherText(const Lines& lines, std::size_t& index, const Quad& key,
                                const Quad& mask, DecipheredText& out);

/// Digest of a byte string; fails (digest 0) at a piece that is not a valid block.
[[nodiscard]] bool CondenseText(std::string_view text, Quad& digest);
/// Digest of a hexadecimal text read in groups of 32 digits.
[[nodiscard]] bool CondenseHex(std::string_view hex, Quad& digest);

}  // namespace quarnel
