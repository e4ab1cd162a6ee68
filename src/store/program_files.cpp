// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/program_files.h"

#include <set>
#include <string>
#include <system_error>

namespace quarnel {

namespace {

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        char p = prefix[i];
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        if (p >= 'A' && p <= 'Z') p = char(p - 'A' + 'a');
        if (c != p) return false;
    }
    return true;
}

}  // namespace

bool IsProgramFileName(std::string_view name) {
    // A temporary is "." + the name it will take: the dots say nothing.
    while (!name.empty() && name.front() == '.')
        name.remove_prefix(1);
    for (const std::string_view prefix : {"QuarnelTit", "QuarnelTaPr.", "MsgChif"}) {
        if (StartsWithIgnoringCase(name, prefix)) return true;
    }
    return false;
}

std::filesystem::path ClearOfProgramNames(const std::filesystem::path& name) {
    if (!IsProgramFileName(name.string())) return name;
    return "_" + name.string();
}

std::optional<std::filesystem::path> FreeFileName(
    const std::filesystem::path& folder, const std::filesystem::path& wanted,
    const std::vector<std::filesystem::path>& reserved) {
    std::set<std::filesystem::path> taken;
    for (const auto& r : reserved) {
        std::error_code ec;
        taken.insert(std::filesystem::weakly_canonical(r, ec));
    }
    const std::filesystem::path name = ClearOfProgramNames(wanted);
    std::filesystem::path candidate = folder / name;
    for (int tries = 1; tries <= kMaxFreeNameTries; ++tries) {
        std::error_code ec;
        // A name that cannot be looked at counts as taken.
        const bool exists = std::filesystem::exists(candidate, ec) || ec;
        if (!exists &&
            (taken.empty() || !taken.count(std::filesystem::weakly_canonical(candidate, ec)))) {
            return candidate;
        }
        std::filesystem::path next = name.stem();
        next += "_" + std::to_string(tries);
        next += name.extension();
        candidate = folder / next;
    }
    return std::nullopt;
}

}  // namespace quarnel
