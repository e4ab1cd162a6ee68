#pragma once
// Whole-file reads and atomic whole-file writes: a temporary file in the same
// folder, flushed, then renamed over the old one, so a crash or a full disk
// leaves the old content whole.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quarnel {

/// The bytes of the file, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

/// Writes `bytes` atomically, the file readable and writable by its owner
/// only (an existing file's stricter mode is kept); on failure the old file is untouched, no
/// temporary file is left, and `error` says why.
[[nodiscard]] bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                                       std::string* error = nullptr);

/// Creates the folder and its missing parents, each new one readable by its
/// owner only (0700). True when the folder exists at the end.
[[nodiscard]] bool CreatePrivateFolders(const std::filesystem::path& folder,
                                        std::string* error = nullptr);

/// How many names KeepUnderDatedName tries before it gives up.
inline constexpr int kMaxKeptNameTries = 100;

/// Moves the file aside to "<name>.<label>-yyyymmdd-hhmm" in its folder
/// (local time; "-2", "-3"... when that name is taken), so that a write over
/// its name loses nothing. The new path, or nothing (file left in place)
/// when it could not be moved.
[[nodiscard]] std::optional<std::filesystem::path> KeepUnderDatedName(
    const std::filesystem::path& path, std::string_view label, std::string* error = nullptr);

/// Splits file bytes into lines: CR LF, a lone LF and a lone CR each end a
/// line; a last line without an end is still a line.
std::vector<std::string> SplitLines(std::string_view bytes);

/// Joins lines, each followed by CR LF.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

}  // namespace quarnel
