#pragma once
// The start-up sequence: settings, language, key store, own record, program
// state, correspondent lists, outgoing queue and logs. Plain logic; the
// window layer answers its questions and applies the language.

#include <filesystem>
#include <string>

#include "store/holder_context.h"

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
};

/// Where the program runs.
struct StartupPlaces {
    std::filesystem::path programFile;    ///< the executable
    std::filesystem::path currentFolder;  ///< becomes the data folder
    bool localeIsFrench = true;           ///< primary language of the user's locale
};

/// Steps 1 to 3: Busy and queue mode cleared, program and data folders,
/// help file, defaults (state 0, port choice A, indents, language from the
/// locale).
void PrepareStartup(HolderContext& ctx, const StartupPlaces& places);

enum class StartupEnd {
    NoSettings,       ///< no valid settings file: not initialised, nothing evaluated
    KeyStoreMissing,  ///< the person chose Abort: state 0, nothing evaluated
    KeyStoreAltered,  ///< state 0, nothing evaluated
    Completed,        ///< state set, lists loaded, information line "En attente"
};

/// Steps 4 to 14 (without the evaluation of the buttons, which is the main
/// window's).
StartupEnd RunStartup(HolderContext& ctx, StartupHost& host);

}  // namespace quarnel
