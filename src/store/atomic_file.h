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

/// Writes `bytes` atomically; on failure the old file is untouched, no
/// temporary file is left, and `error` says why.
[[nodiscard]] bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                                       std::string* error = nullptr);

/// Splits file bytes into lines: CR LF, a lone LF and a lone CR each end a
/// line; a last line without an end is still a line.
std::vector<std::string> SplitLines(std::string_view bytes);

/// Joins lines, each followed by CR LF.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

}  // namespace quarnel
