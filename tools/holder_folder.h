#pragma once
// A holder's data folder loaded as the program loads it (the holder core):
// settings, key store and own-key facts, correspondent lists.

#include <filesystem>

#include "holder/holder_context.h"

namespace quarnel::tool {

/// Makes `dir` the current folder (the program's data folder; relative folder
/// settings are read from it) and loads the holder from it. Throws
/// UsageError with one clear line unless it ends affiliated (state 2) with
/// settings that are those the TA sealed. A correspondent list that fails its
/// check is reported on standard error and left empty, as at start-up.
void LoadHolderFolder(const std::filesystem::path& dir, HolderContext& ctx);

}  // namespace quarnel::tool
