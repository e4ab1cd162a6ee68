// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The holder's identity as the system exchanges it: the fields a
// correspondent sees, and the settings digest the TA seals.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace quarnel {

/// Lines of the identity record for a category: 11 (A), 13 (D, F), 0 for
/// any other letter.
std::size_t IdentityLineCount(char category);

/// The longest text of each identity line, in the order of the record of
/// categories D and F (firm, department, name, first names, address, postcode,
/// locality, territorial entity, country, telephone, fax, e-mail, public-list
/// flag); category A has no firm lines, so its line i is line i + 2 here. The
/// affiliation forms take no more, and the authority refuses more.
inline constexpr std::array<std::size_t, 13> kIdentityLineMax = {60, 60, 60, 25, 60, 25, 60,
                                                                 60, 60, 25, 25, 60, 1};

/// The first line of `identity` longer than its field allows; nothing when
/// every line fits (the line count is not checked here).
std::optional<std::size_t> IdentityLineTooLong(char category,
                                               const std::vector<std::string>& identity);

/// The identity fields the holder's correspondents see (section 1 of a
/// message, and the record text the TA issues): identity lines 0, 1, 4, 5, 6,
/// 9 (category A) or 0, 1, 2, 3, 6, 7, 8, 11 (D, F). Empty for an identity of
/// the wrong size or category.
std::vector<std::string> SenderIdentityFields(char category,
                                              const std::vector<std::string>& identity);

/// The settings digest sealed by the TA: CondenseText of the affiliation
/// number followed by every identity line, as 32 digits. False when the
/// condensation fails.
[[nodiscard]] bool SettingsDigest(const std::string& ownNumber,
                                  const std::vector<std::string>& identity, std::string& digest);

}  // namespace quarnel
