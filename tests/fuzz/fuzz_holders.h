// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fixed pair of holders of the fuzz targets and of make_corpus: x (F,
// MARTIN) writes to y (A, DUPONT). The same seeds give the same keys in every
// process, so that the seeds make_corpus writes decipher in the targets and
// the fuzzer reaches past the first checks.

#include <cstdlib>
#include <filesystem>
#include <string>

#include "holder_setup.h"

namespace quarnel::fuzz {

using FixedPair = test::HolderPair;
using test::FixClocks;

/// x and y with their folders under `root`, the clocks fixed.
inline FixedPair MakeFixedPair(const std::filesystem::path& root) {
    FixClocks();
    return test::MakeFixedPair(root);
}

/// A target's state, made on first use; its scratch folder (`root`) goes
/// when the fuzzer exits.
template <class State>
State& Shared() {
    static State state;
    [[maybe_unused]] static const bool cleanup =
        std::atexit([] { std::filesystem::remove_all(state.root); }) == 0;
    return state;
}

/// A private folder for one fuzzing process, under $TMPDIR.
inline std::filesystem::path ScratchFolder(const char* name) {
    const char* tmp = std::getenv("TMPDIR");
    std::filesystem::path dir =
        std::filesystem::path(tmp && *tmp ? tmp : "/tmp") /
        (std::string("quarnel-fuzz-") + name + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

}  // namespace quarnel::fuzz
