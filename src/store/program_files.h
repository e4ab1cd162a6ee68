// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The names the program reads and writes as its own, and the one check that
// keeps a name from outside (a mail's attachment, a message's attachment
// list, a name typed in a save dialog) off them in every folder.

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace quarnel {

/// The lock file that keeps a data folder to one run (store/folder_lock.h).
inline constexpr const char* kLockFileName = "QuarnelTit.lock";

/// Whether `name` (a bare file name, UTF-8 or code page 1252) is one the
/// program takes as its own, now or at its next start: "QuarnelTit*" (the
/// settings, key store, lists, remarks, queue, the CA file, the lock file,
/// copies kept aside), "QuarnelTaPr.*" (the TA parameters), "MsgChif*" (the
/// logs), and the hidden temporaries of any of them (".NAME.tmpN"). Letters
/// in any case: a file system may not tell them apart.
[[nodiscard]] bool IsProgramFileName(std::string_view name);

/// The name a file from outside is saved under instead of `name` when that
/// is a program file name ("_" in front, which no pattern starts with);
/// otherwise `name`.
[[nodiscard]] std::filesystem::path ClearOfProgramNames(const std::filesystem::path& name);

/// How many names a free-name search tries before it gives up: a folder path
/// cut short (by a NUL) makes every name look taken.
inline constexpr int kMaxFreeNameTries = 10000;

/// Where a file named `name` may be written in `folder` without replacing
/// anything: `name` (ClearOfProgramNames first) when no such file exists, else
/// the first free of base_1.ext, base_2.ext, ... A path of `reserved` counts
/// as taken even when no file is there yet. Nothing after kMaxFreeNameTries
/// names.
[[nodiscard]] std::optional<std::filesystem::path> FreeFileName(
    const std::filesystem::path& folder, const std::filesystem::path& name,
    const std::vector<std::filesystem::path>& reserved = {});

}  // namespace quarnel
