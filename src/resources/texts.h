#pragma once
// User-interface texts by resource number. The logic names a text by its
// number; only the window layer turns it into the current language (French is
// the source language, built in; other languages are Qt translation modules
// keyed by the French text in the context "QuarnelTit").
//
// Numbers given by the design keep their value (65236 ...). Texts without a
// design number take one from their subsystem's range:
//   70000-70999 common, 71000-71999 app, 72000-72999 store,
//   73000-73999 messages, 74000-74999 authority, 75000-75999 mail.
// Each subsystem lists its texts in texts_<subsystem>.cpp.

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

// Marks a French text for lupdate without needing Qt here.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, text) text
#endif

namespace quarnel {

struct TextEntry {
    int id;
    const char* french;  ///< UTF-8
};

/// The translation context of every resource text.
inline constexpr const char* kTextContext = "QuarnelTit";

/// The French text (UTF-8) of a resource number, or "" when unknown.
const char* FrenchText(int id);

/// %s placeholders of `pattern` replaced in order by `args`.
std::string FillPlaceholders(std::string_view pattern,
                             std::initializer_list<std::string_view> args);
std::string FillPlaceholders(std::string_view pattern, std::span<const std::string_view> args);

/// The French text as code page 1252 bytes (for texts that travel in bodies,
/// such as title lines).
std::string FrenchTextCp1252(int id);

// Per-subsystem tables.
std::span<const TextEntry> CommonTexts();
std::span<const TextEntry> AppTexts();
std::span<const TextEntry> StoreTexts();
std::span<const TextEntry> MessagesTexts();
std::span<const TextEntry> AuthorityTexts();
std::span<const TextEntry> MailTexts();

/// Every table, for the tests and the translation check.
std::span<const std::span<const TextEntry>> AllTextTables();

namespace txt {
// Shared by several subsystems.
inline constexpr int kFileUnreadable = 65236;  // "Le fichier %s n'a pu être lu."
inline constexpr int kFileSaveFailed = 65237;  // "Le fichier %s n'a pu être sauvé."
inline constexpr int kFileAltered = 65238;     // "Le fichier %s est altéré."
inline constexpr int kEnAttente = 65288;       // "En attente"
inline constexpr int kChiffrementEnCours = 65289;
inline constexpr int kVersionCode = 65296;  // "D400F"
inline constexpr int kHelpFile = 65297;
inline constexpr int kAffilie = 65299;  // "Affilié %s"
// Set by the authority's reply processing, read by EvaluateState.
inline constexpr int kAffiliationConfirmed = 65268;
inline constexpr int kTransmission = 70001;
inline constexpr int kDechiffrementEnCours = 70002;
// Title lines of outgoing bodies, by request kind.
inline constexpr int kTitle00 = 70010;
inline constexpr int kTitle01Update = 70011;
inline constexpr int kTitle01Ack = 70012;
inline constexpr int kTitle10 = 70013;
inline constexpr int kTitle11 = 70014;
inline constexpr int kTitle18 = 70015;
inline constexpr int kTitleMessage = 70016;
inline constexpr int kTitleMessageUnregistered = 70017;
}  // namespace txt

}  // namespace quarnel
