#pragma once
// The holder's identity as the system exchanges it: the fields a
// correspondent sees, and the settings digest the TA seals.

#include <cstddef>
#include <string>
#include <vector>

namespace quarnel {

/// Lines of the identity record for a category: 11 (A), 13 (D, F), 0 for
/// any other letter.
std::size_t IdentityLineCount(char category);

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
