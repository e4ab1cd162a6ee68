// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text as lines: how the system's files and bodies are cut into lines and
// written back, CR LF after each.

#include <string>
#include <string_view>
#include <vector>

namespace quarnel {

/// Splits bytes into lines: CR LF, a lone LF and a lone CR each end a line;
/// a last line without an end is still a line.
std::vector<std::string> SplitLines(std::string_view bytes);

/// Joins lines, each followed by CR LF.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

}  // namespace quarnel
