// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fixed pair of holders of the fuzz targets and of make_corpus: x (F,
// MARTIN) writes to y (A, DUPONT). The same seeds give the same keys in every
// process, so that the seeds make_corpus writes decipher in the targets and
// the fuzzer reaches past the first checks.

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "crypto/datetime.h"
#include "crypto/random.h"
#include "holder_setup.h"
#include "ta/core/issuing.h"

namespace quarnel::fuzz {

struct FixedPair {
    ta::Affiliate xa, ya;
    std::unique_ptr<ProgramData> x, y;
};

inline void FixClocks() {
    SetLocalClock([] { return LocalDateTime{2026, 12, 5, 14, 3, 7, 250}; });
    SetReseedClock([] { return 4242u; });
    SetSeed(4242);
}

/// x and y with their folders under `root`, each holding the other's record.
inline FixedPair MakeFixedPair(const std::filesystem::path& root) {
    FixClocks();
    const ta::RandomSource random = test::SeededRandom(2026);
    FixedPair p;
    p.xa = test::NewAffiliate('F', "0FF00002000", "MARTIN", '1', random);
    p.ya = test::NewAffiliate('A', "0FF01000000", "DUPONT", '0', random);
    p.x = test::ContextOf(p.xa, root / "MARTIN");
    p.y = test::ContextOf(p.ya, root / "DUPONT");
    test::GivePairRecords(*p.x, p.xa, *p.y, p.ya, random);
    return p;
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
