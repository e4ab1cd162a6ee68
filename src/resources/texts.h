// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// User-interface texts by resource number. The logic names a text by its
// number; only the window layer turns it into the current language (French is
// the source language, built in; other languages are Qt translation modules
// keyed by the French text in the context "QuarnelTit").
//
// Numbers in 65000-65999 are the program's historic resource numbers and keep
// their value. Other texts take one from their owner's range:
//   70000-70999 shared (here), 71000-71999 app, 72000-72999 holder core,
//   73000-73999 messages, 74000-74999 authority, 75000-75999 mail,
//   76000-76999 protocol, 77000-77999 window kit, 78000-78999 local stores.
// Each owner keeps its numbers in its own texts.h, which declares its table
// with QUARNEL_TEXT_TABLE, and its French texts in texts.cpp.

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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

/// Adds a table to the lookup (a table given again is ignored); returns
/// true. Called through QUARNEL_TEXT_TABLE before main().
bool RegisterTexts(std::span<const TextEntry> table);

/// Every registered table, for the tests and the translation check.
std::vector<std::span<const TextEntry>> AllTextTables();

// Declares an owner's table `name()` (defined in its texts.cpp) and registers
// it in every program that uses one of the owner's texts: each file that
// includes the owner's texts.h registers the table during static
// initialisation (a variable of internal linkage is always initialised, so no
// linker can leave the table out).
#define QUARNEL_TEXT_TABLE(name)                  \
    std::span<const ::quarnel::TextEntry> name(); \
    [[maybe_unused]] static const bool name##Registered = ::quarnel::RegisterTexts(name())

QUARNEL_TEXT_TABLE(SharedTexts);

namespace txt {
// Shared by several subsystems.
inline constexpr int kFileUnreadable = 65236;  // "Le fichier %s n'a pu être lu."
inline constexpr int kFileSaveFailed = 65237;  // "Le fichier %s n'a pu être sauvé."
inline constexpr int kFileAltered = 65238;     // "Le fichier %s est altéré."
inline constexpr int kIdle = 65288;            // "En attente"
inline constexpr int kEncrypting = 65289;
inline constexpr int kVersionCode = 65296;  // "D400F"
inline constexpr int kHelpFile = 65297;
inline constexpr int kAffiliated = 65299;  // "Affilié %s"
inline constexpr int kTransmission = 70001;
inline constexpr int kDecrypting = 70002;
// Labels of the firm line (main window, message viewers).
inline constexpr int kFirmLabel = 65300;   // "Société :"
inline constexpr int kProfession = 65301;  // "Profession :"
}  // namespace txt

}  // namespace quarnel
