// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rules of the affiliation forms and of the new-correspondent dialog,
// without widgets: field limits and letter case, when Exécuter is enabled,
// the identity record they write, and the checks of a typed affiliation
// number.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "holder/holder_context.h"

namespace quarnel {

/// The fields of an affiliation form, in the order of the identity record of
/// categories D and F (Société/Profession and Département/Enregistrement are
/// not on the form of category A).
enum class IdField {
    Firm,        ///< Société / Profession
    Department,  ///< Département / Enregistrement
    Surname,
    FirstNames,
    Address,
    Postcode,
    Locality,
    Region,
    Country,
    Telephone,
    Fax,
    Email,
};
inline constexpr std::size_t kIdFieldCount = 12;

struct FieldRule {
    bool upper;     ///< shown and kept in upper case, else lower case
    int maxLength;  ///< what the authority takes (kIdentityLineMax)
    bool refuseDiacritics;
};
FieldRule RuleOf(IdField field);

/// What the form holds. `publicList`: "oui" (true), "non" (false), or neither.
struct AffiliationEntry {
    std::array<std::string, kIdFieldCount> fields;  ///< code page 1252
    std::optional<bool> publicList;

    std::string& operator[](IdField f) { return fields[std::size_t(f)]; }
    const std::string& operator[](IdField f) const { return fields[std::size_t(f)]; }
};

/// The fields the form shows for a category (A: from Nom on).
std::vector<IdField> FieldsOf(char category);

/// Exécuter is enabled when every required field is non-empty and "oui" or
/// "non" is chosen. Pre-filled (states 1-5): only the address, postcode,
/// locality, telephone and e-mail are required; fresh (state 0) also Nom,
/// Prénoms and, for D and F, Société/Profession.
bool ExecuteEnabled(char category, bool prefilled, const AffiliationEntry& entry);

/// Why Exécuter is disabled: the first required field still empty, in the
/// form's order, else the public-list choice; nothing when it is enabled.
struct ExecuteBlock {
    std::optional<IdField> field;  ///< nothing: "oui" or "non" is still to choose
};
std::optional<ExecuteBlock> ExecuteBlocked(char category, bool prefilled,
                                           const AffiliationEntry& entry);

/// The identity record: 13 lines (D, F) or 11 (A), the public-list flag last
/// ("x" for "oui"), every empty line "-".
std::vector<std::string> IdentityRecord(char category, const AffiliationEntry& entry);

/// The form pre-filled from a stored identity record ("oui" when the flag is
/// "x", else "non"). Nothing when the record does not fit the category.
std::optional<AffiliationEntry> EntryFromIdentity(char category,
                                                  const std::vector<std::string>& identity);

/// Exécuter: the identity record and the values derived from it go into the
/// settings of `ctx`.
void ApplyAffiliationEntry(HolderContext& ctx, const AffiliationEntry& entry);

/// True when a text (code page 1252 or UTF-8) holds a character outside
/// 7-bit ASCII.
bool HasDiacritics(std::string_view text);

/// Why a text typed in a field (UTF-8) is refused: a field that refuses
/// diacritics takes 7-bit ASCII only (kNoDiacritics); any other field
/// takes what code page 1252 can represent (kCharacterRefused, `character`
/// naming the first that it cannot). Nothing when the text is taken.
struct FieldRefusal {
    int text = 0;
    std::string character;
};
std::optional<FieldRefusal> RefuseFieldText(IdField field, std::string_view utf8);

/// The new-correspondent dialog's verdict on the typed number: Exécuter
/// enabled, or the information to show (resource number: known, own, or not
/// 11 hexadecimal digits), or neither (fewer than 11 characters).
struct NumberCheck {
    bool executeEnabled = false;
    int information = 0;
};
NumberCheck CheckNewCorrespondent(const HolderContext& ctx, std::string_view number);

}  // namespace quarnel
