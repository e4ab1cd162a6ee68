#pragma once
// A holder's data folder loaded by the program's own start-up sequence:
// settings, key store and own-key facts, correspondent lists.

#include <filesystem>

#include "store/holder_context.h"

namespace quarnel::tool {

/// Makes `dir` the current folder (the program's data folder; relative folder
/// settings are read from it) and runs the start-up sequence on it. Throws
/// UsageError with one clear line unless it ends affiliated (state 2) with
/// settings that are those the TA sealed. A correspondent list that fails its
/// check is reported on standard error and left empty, as at start-up.
void LoadHolderFolder(const std::filesystem::path& dir, HolderContext& ctx);

}  // namespace quarnel::tool
