// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A holder's data folder loaded as the program loads it (the holder core):
// settings, key store and own-key facts, correspondent lists.

#include <filesystem>
#include <memory>

#include "holder/holder_context.h"
#include "store/folder_lock.h"

namespace quarnel::tool {

/// What a command does with the holder's files.
enum class FolderUse {
    Reads,   ///< reads them, writes only files of its own under free names
    Writes,  ///< writes the holder's files (logs, queue, decrypted files)
};

/// Makes `dir` the current folder (the program's data folder; relative folder
/// settings are read from it) and loads the holder from it. Throws
/// UsageError with one clear line unless it ends affiliated (state 2) with
/// settings that are those the TA sealed. A correspondent list that fails its
/// check is reported on standard error and left empty, as at start-up.
///
/// A command that Writes first takes the data folder's lock, as the program
/// does (UsageError when the program or another command holds it), and
/// clears the holder's folders of what a crash left; the lock is kept by the
/// object returned until it is released.
[[nodiscard]] std::unique_ptr<DataFolderLock> LoadHolderFolder(const std::filesystem::path& dir,
                                                               HolderContext& ctx,
                                                               FolderUse use = FolderUse::Reads);

}  // namespace quarnel::tool
