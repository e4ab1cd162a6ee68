// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/install_places.h"

#include <system_error>

namespace quarnel {

namespace {

bool HoldsProgramFiles(const std::filesystem::path& folder, const std::filesystem::path& name) {
    std::error_code ec;
    std::filesystem::path module = folder / name;
    module.replace_extension(".ENG");
    return std::filesystem::is_regular_file(module, ec) ||
           std::filesystem::is_regular_file(folder / "QuarnelTit_F.html", ec);
}

}  // namespace

std::filesystem::path ProgramFilesFolder(const std::filesystem::path& programFile) {
    const std::filesystem::path beside = programFile.parent_path();
    if (HoldsProgramFiles(beside, programFile.filename())) return beside;
    std::error_code ec;
    const std::filesystem::path installed = (beside / kInstalledFilesFolder).lexically_normal();
    if (std::filesystem::is_directory(installed, ec)) return installed;
    return beside;
}

}  // namespace quarnel
