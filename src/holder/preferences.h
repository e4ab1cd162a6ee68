// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The holder's preferences beyond the settings: a file of their own in the
// data folder, "QuarnelTitPref.ini", of "key=value" lines (CR LF written, LF
// read), so that QuarnelTit.ini keeps the layout peers and the settings
// digest rely on. Lines of keys this version does not know (and "#"
// comments) are kept as read and written back by the next save, as many as
// fit within the size limit.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "store/record_list.h"

namespace quarnel {

inline constexpr const char* kPreferencesFileName = "QuarnelTitPref.ini";
/// Largest preferences file read; a larger one is damaged.
inline constexpr std::uintmax_t kMaxPreferencesFileBytes = 16 * 1024;

/// The period of the automatic retrieval of mail, in minutes.
inline constexpr int kMinRetrievalMinutes = 5;
inline constexpr int kMaxRetrievalMinutes = 120;
inline constexpr int kDefaultRetrievalMinutes = 15;

struct Preferences {
    /// Mail is retrieved every `retrievalMinutes` while the program is idle.
    bool autoRetrieval = false;
    int retrievalMinutes = kDefaultRetrievalMinutes;
    /// Lines this version does not read, in their order.
    std::vector<std::string> otherLines;
    /// The file was found damaged when loaded: defaults hold, and it is kept
    /// aside before the first save writes over it.
    bool damaged = false;

    /// The values the holder chooses (not the lines kept nor `damaged`).
    [[nodiscard]] bool SameChoices(const Preferences& other) const {
        return autoRetrieval == other.autoRetrieval && retrievalMinutes == other.retrievalMinutes;
    }
};

/// `minutes` brought into kMinRetrievalMinutes..kMaxRetrievalMinutes.
[[nodiscard]] int ClampRetrievalMinutes(long long minutes);

enum class PreferencesLoad {
    Loaded,
    Missing,  ///< no file yet: defaults
    Damaged,  ///< unreadable, too large, or a line that is not "key=value": defaults, `damaged`
};

/// Replaces `prefs` with those of data folder + kPreferencesFileName; a
/// period out of range is clamped. `reason` says why a file is damaged.
[[nodiscard]] PreferencesLoad LoadPreferences(const std::filesystem::path& dataFolder,
                                              Preferences& prefs, std::string* reason = nullptr);

/// Writes the preferences over data folder + kPreferencesFileName
/// (atomically, owner only), asking `onFailure` when the write fails. A file
/// found damaged is first moved aside to "<file>.damaged-yyyymmdd-hhmm".
[[nodiscard]] SaveResult SavePreferences(Preferences& prefs,
                                         const std::filesystem::path& dataFolder,
                                         const SaveFailureHandler& onFailure);

}  // namespace quarnel
