// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The key store QuarnelTit.kpr: one record per key generation, the last being
// the holder's own key record.

#include <string>
#include <vector>

#include "crypto/records.h"

namespace quarnel {

inline constexpr const char* kKeyStoreFileName = "QuarnelTit.kpr";

/// Every record has 2, 6 or 7 lines; line 0 is 11 upper-case hexadecimal
/// digits, every other line 32. An empty store fails. `problems`, when given,
/// receives one text per fault.
[[nodiscard]] bool CheckKeyStore(const RecordList& store,
                                 std::vector<std::string>* problems = nullptr);

/// The hexadecimal digit of (records - 1) mod 16: the current record is the
/// one that OwnSigningKey picks. "0" for an empty store.
char KeyGenerationDigit(std::size_t records);

/// Line 3 of 32 "0": an update or first affiliation was not completed.
bool IsUpdatePending(const Record& own);

inline const std::string kZeroLine(32, '0');

}  // namespace quarnel
