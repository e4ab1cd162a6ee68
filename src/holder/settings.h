// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings file QuarnelTit.ini: a list of CR LF lines of code page 1252
// text, without sections or keys, read from the end: the identity record,
// then one setting per line, the version code last. Also the working folders
// and the TA parameter file beside the program (the TA connection values
// derived from the settings are in authority/connection.h).

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "holder/holder_context.h"
#include "store/record_list.h"
#include "store/ta_parameters.h"

namespace quarnel {

inline constexpr const char* kSettingsFileName = "QuarnelTit.ini";

/// Version codes beginning with this have no certificates-folder line.
inline constexpr std::string_view kVersionWithoutCertificates = "D300";

/// Reads the settings and the identity record from the file's lines. False
/// (and `out` untouched) when they are not a valid settings file.
[[nodiscard]] bool ParseSettings(const std::vector<std::string>& lines, Settings& out,
                                 std::string* problem = nullptr);
/// The file's lines for the settings (the certificates line left out for a
/// "D300" version code).
std::vector<std::string> SettingsLines(const Settings& settings);

/// Data folder + QuarnelTit.ini.
std::filesystem::path SettingsPath(const HolderContext& ctx);

/// Loads the file into ctx.settings and derives the display name, firm text
/// and e-mail address. False, with the settings untouched, when the file is
/// missing or invalid.
[[nodiscard]] bool LoadSettings(HolderContext& ctx, const std::filesystem::path& path,
                                std::string* problem = nullptr);
/// Writes the file (atomically) from ctx.settings, asking the lent onSaveFailure
/// when the write fails. Does nothing (Saved) when the identity is empty.
[[nodiscard]] SaveResult SaveSettings(const HolderContext& ctx, const std::filesystem::path& path);

/// Display name, firm text and e-mail address from the identity record.
void DeriveIdentityValues(HolderContext& ctx);

/// The digest of the affiliation number and the identity equals `expected`
/// (the sealed digest of the own key record).
[[nodiscard]] bool CheckSettingsDigest(const HolderContext& ctx, std::string_view expected);

/// A folder as a folder setting: code page 1252, ending in "/".
std::string FolderSetting(const std::filesystem::path& folder);

/// The eight folder settings by the options dialog's tags: 0 key folder,
/// 1 messages to send, 2 files to send, 3 sent encrypted, 4 received
/// encrypted, 5 decrypted messages, 6 decrypted files, 7 certificates.
inline constexpr int kFolderCount = 8;
std::string& FolderSettingByTag(Settings& settings, int tag);
const std::string& FolderSettingByTag(const Settings& settings, int tag);

/// The eight folder settings, by tag.
using FolderSettings = std::array<std::string, kFolderCount>;
FolderSettings FoldersOf(const Settings& settings);

/// Why a folder must not take in what comes from outside.
enum class ExposedReason {
    DataFolder,     ///< settings, queue, TA parameters, the mail servers' CA file
    KeyFolder,      ///< key store and correspondent lists
    ProgramFolder,  ///< TA parameters, text modules, help
};
struct ExposedFolder {
    int tag = 0;         ///< 3 sent, 4 received, 5 decrypted messages, 6 decrypted files
    std::string folder;  ///< its folder setting
    ExposedReason reason = ExposedReason::DataFolder;
};
/// The first folder that takes in files named by others (attachments sent,
/// received, decrypted; messages decrypted) which is also the data folder,
/// the key folder or the program's files folder, where a planted file would
/// be read as one of the program's own. Nothing when there is none. Folders
/// are compared as the file system resolves them.
[[nodiscard]] std::optional<ExposedFolder> FirstExposedFolder(
    const FolderSettings& folders, const std::filesystem::path& dataFolder,
    const std::filesystem::path& programFolder);

/// First-initialisation folders: the key folder is the data folder, the
/// others are named (in the current language) under it.
void SetDefaultFolders(HolderContext& ctx);

/// Creates the seven working folders (not the key folder) that do not exist,
/// with their parents, each new one private to its owner (0700). The first folder that could not be
/// made, if any.
[[nodiscard]] std::optional<std::filesystem::path> CreateFolders(const Settings& settings);

/// A valid parameter file is 9 lines of 32 digits; anything much larger is
/// not one and is not read.
inline constexpr std::uintmax_t kMaxTaParameterFileSize = 4096;

/// Checks one TA parameter file (name, size, content).
[[nodiscard]] bool ReadTaParameterCandidate(const std::filesystem::path& file, TaParameters& out,
                                            std::string* problem = nullptr);

/// The folders holding a TA parameter file, in the order they are searched:
/// the program folder (beside the program, or the installed data folder),
/// then the holder's data folder.
std::vector<std::filesystem::path> TaParameterFolders(const HolderContext& ctx);

/// Finds the TA parameter file in the first of `folders` that holds one and
/// checks it.
[[nodiscard]] bool ReadTaParameters(const std::vector<std::filesystem::path>& folders,
                                    TaParameters& out, std::string* problem = nullptr);
[[nodiscard]] inline bool ReadTaParameters(const HolderContext& ctx, TaParameters& out,
                                           std::string* problem = nullptr) {
    return ReadTaParameters(TaParameterFolders(ctx), out, problem);
}

/// Copies a checked parameter file into the data folder under its own name
/// (atomically, owner only); the path written, or nothing (`problem` says
/// why).
[[nodiscard]] std::optional<std::filesystem::path> InstallTaParameterFile(
    const HolderContext& ctx, const std::filesystem::path& file, std::string* problem = nullptr);

/// What KeepFilesBeforeInitialisation did.
struct KeptFiles {
    std::vector<std::filesystem::path> kept;      ///< the new names of the files kept
    std::optional<std::filesystem::path> failed;  ///< a file that could not be moved aside
    std::string reason;                           ///< why, for `failed`
};
/// Not initialised, the first affiliation writes the key store and the
/// settings file: any such file already there (left by an earlier set-up,
/// perhaps the only copy of a private key) is first moved aside under a
/// dated name ("QuarnelTit.kpr.old-yyyymmdd-hhmm"). Nothing in another state.
[[nodiscard]] KeptFiles KeepFilesBeforeInitialisation(const HolderContext& ctx);

enum class RelocationResult {
    Moved,
    Abandoned,  ///< a write failed and the person gave up (Abort or Ignore)
    Refused,    ///< the new folder is missing or already holds a key store
};
/// Moves the key store and the correspondent lists that exist to `newFolder`
/// (a folder setting): writes every file there first, then takes the new key
/// folder and runs `commit` (the settings that name it are saved there), and
/// only when that holds deletes the old files. On failure (`commit` false:
/// Abandoned) the files written are removed, and the old files and the key
/// folder stay as they were.
[[nodiscard]] RelocationResult RelocateKeyFolder(HolderContext& ctx, const std::string& newFolder,
                                                 const std::function<bool()>& commit = {});

}  // namespace quarnel
