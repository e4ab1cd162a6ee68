// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a message names its correspondent: the composer's addressee label and
// the addressee line the sending window keeps, from the correspondent record
// chosen in the correspondents window.

#include <string>

#include "crypto/records.h"
#include "holder/holder_context.h"

namespace quarnel {

/// The correspondent's name in the current language (code page 1252):
/// A "surname first names"; D "surname first names, profession"; F "firm,
/// department, à l'attention de surname first names" (no department when it
/// is "-"). Empty for a record that does not fit its category.
[[nodiscard]] std::string AddresseeText(const HolderContext& ctx, char category,
                                        const Record& record);

/// The first character of the record's registration flag is "1". False for a
/// record that does not fit its category.
[[nodiscard]] bool AddresseeRegistered(char category, const Record& record);

/// Resource number of the addressee line: "Message destiné au correspondant,
/// %s", or the unregistered form, which the composer shows in maroon.
[[nodiscard]] int AddresseeLineText(char category, const Record& record);

/// The addressee line filled with AddresseeText, in the current language.
/// Empty for a record that does not fit its category.
[[nodiscard]] std::string AddresseeLine(const HolderContext& ctx, char category,
                                        const Record& record);

}  // namespace quarnel
