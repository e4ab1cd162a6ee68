#pragma once
// A holder's data folder loaded as the program finds it at start-up: the
// settings file, the key store and the own-key facts, the correspondent lists.
// The shell's start-up sequence is not on main yet; this is the one place to
// switch to it.

#include <filesystem>

#include "store/holder_context.h"

namespace quarnel::tool {

/// Makes `dir` the current folder (the program's data folder; relative folder
/// settings are read from it) and loads it into `ctx`. Throws UsageError with
/// one clear line unless it is the folder of an affiliated holder whose
/// settings are those the TA sealed. A correspondent list that fails its
/// check is reported on standard error and left empty.
void LoadHolderFolder(const std::filesystem::path& dir, HolderContext& ctx);

}  // namespace quarnel::tool
