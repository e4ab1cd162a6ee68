// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The user-interface language: locale numbers, the text module beside the
// program, and what a switch changes in the program state. French is built
// in; another language comes from a module named like the program file with
// the locale's three-letter abbreviation as extension (quarneltit.ENG).

#include <filesystem>
#include <optional>
#include <string>

#include "holder/holder_context.h"

namespace quarnel {

inline constexpr int kLocaleFrench = 1036;   // French (France)
inline constexpr int kLocaleEnglish = 2057;  // English (United Kingdom)

/// 1036 for Language 1, 2057 otherwise.
int LocaleOfLanguage(int language);
/// "FRA" or "ENG".
std::string LanguageAbbreviation(int locale);

/// The text module of a locale: program file with the extension replaced by
/// the abbreviation, failing that by its first two letters.
std::optional<std::filesystem::path> FindTextModule(const std::filesystem::path& programFile,
                                                    int locale);

/// What ApplyLanguage has to do for ctx.settings.language.
struct LanguageStep {
    bool changed = false;  ///< the locale differs from the one applied before
    int locale = 0;
    /// The module to load; nothing for the built-in French texts.
    std::optional<std::filesystem::path> module;
    /// A module was needed and none was found: the texts stay as they are.
    bool missing = false;
};
/// Says what to load. The built-in French is recorded as applied at once; a
/// locale that needs a module only by FinishLanguageSwitch, once loaded, so
/// that a missing module leaves the language as it was.
LanguageStep BeginLanguageSwitch(HolderContext& ctx);

/// After the module of `step` was loaded: the locale is recorded, the help
/// file follows the language, and when the texts shown changed Affiliated
/// becomes VersionChanged (the affiliation must be updated).
void FinishLanguageSwitch(HolderContext& ctx, const LanguageStep& step, bool textsChanged);

/// The version code stored in the settings is this program's own in one of
/// its languages: in state VersionChanged, the language was switched and the
/// program is the one affiliated.
[[nodiscard]] bool StoredVersionIsOurs(const HolderContext& ctx);

}  // namespace quarnel
