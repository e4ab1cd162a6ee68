// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Loading a holder's data folder: settings, language, key store, own record,
// program state and correspondent lists. The program's start-up and
// quarnel-tool both use it; the window layer (or the tool) answers its
// questions and applies the language.

#include <filesystem>
#include <string>

#include "holder/holder_context.h"
#include "holder/settings.h"

namespace quarnel {

/// What the sequence asks of the window layer.
class StartupHost {
  public:
    virtual ~StartupHost() = default;
    /// Applies ctx.settings.language (ApplyLanguage of the window layer).
    virtual void ApplyLanguage() = 0;
    /// "Le fichier %s n'a pu être lu." with Abort and Retry; true for Retry.
    virtual bool RetryMissingFile(const std::filesystem::path& path) = 0;
    /// "Le fichier %s est altéré." with Cancel.
    virtual void ReportAltered(const std::string& fileName) = 0;
    /// The settings make a working folder of a folder the program reads its
    /// own files from (FirstExposedFolder): said once, the start goes on.
    virtual void ReportExposedFolder(const ExposedFolder& exposed) = 0;
};

/// Where the program runs.
struct StartupPlaces {
    std::filesystem::path programFile;    ///< the executable
    std::filesystem::path currentFolder;  ///< becomes the data folder
    bool localeIsFrench = true;           ///< primary language of the user's locale
};

/// Busy cleared, program and data folders, help file, defaults (not
/// initialised, port choice A, indents, language from the locale).
void PrepareStartup(HolderContext& ctx, const StartupPlaces& places);

enum class StartupEnd {
    NoSettings,       ///< no valid settings file: not initialised
    KeyStoreMissing,  ///< the person chose Abort: not initialised
    KeyStoreAltered,  ///< not initialised
    Completed,        ///< state set; in an affiliated state the lists are loaded
};

/// Settings, language, key store, program state from the own record, the
/// seal check of the settings, and the correspondent lists.
StartupEnd LoadHolder(HolderContext& ctx, StartupHost& host);

/// Removes what saves and decryptions cut short by a crash left in the
/// holder's folders (the data folder, and the key and working folders the
/// settings name): hidden temporaries, overwritten first. Only for a run that
/// holds the data folder's lock. The number removed.
int SweepHolderFolders(const HolderContext& ctx);

/// Program folder + the help file text of the current language.
std::filesystem::path HelpFileOf(const HolderContext& ctx);

}  // namespace quarnel
