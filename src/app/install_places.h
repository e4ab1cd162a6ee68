// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the program's own files are (English module, help pages, the TA
// parameter file delivered with it): beside the program in a build or a
// copied folder, else in the data folder of an installation
// (<prefix>/bin/quarneltit finds <prefix>/share/quarneltit).

#include <filesystem>

namespace quarnel {

/// Relative to the program's folder.
inline constexpr const char* kInstalledFilesFolder = "../share/quarneltit";

/// The program folder when it holds the English module or a help page, else
/// the installed data folder when it exists, else the program folder.
std::filesystem::path ProgramFilesFolder(const std::filesystem::path& programFile);

}  // namespace quarnel
