// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The TA parameter file "QuarnelTaPr." + TA code, beside the program: nine
// lines of 32 upper-case hexadecimal digits, lines 0-7 the TA's public value,
// line 8 its condensation.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "crypto/types.h"

namespace quarnel {

inline constexpr const char* kTaParameterPrefix = "QuarnelTaPr.";

struct TaParameters {
    std::string code;       ///< the file's extension: the TA code
    std::string publicHex;  ///< 256 digits
    Big publicValue{};
    Quad digest{};  ///< shown as "Certificat D-H condensé"
};

/// Checks the nine lines and the digest.
[[nodiscard]] bool ParseTaParameters(const std::vector<std::string>& lines, TaParameters& out,
                                     std::string* problem = nullptr);

/// Reads and checks one parameter file; the TA code comes from its extension,
/// which must be three upper-case hexadecimal digits.
[[nodiscard]] bool ReadTaParameterFile(const std::filesystem::path& file, TaParameters& out,
                                       std::string* problem = nullptr);

/// The first "QuarnelTaPr.*" file of the folder (by name), if any.
std::optional<std::filesystem::path> FindTaParameterFile(const std::filesystem::path& folder);

/// The nine lines of the file for a public value.
std::vector<std::string> TaParameterLines(const Big& publicValue);

}  // namespace quarnel
