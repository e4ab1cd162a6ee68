// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What tests and benchmarks build from the authority's issuing core and the
// program never does: a repeatable random source, a holder's own key record
// as its program keeps it, and both holders' records of a pair at once.

#include <cstdint>
#include <memory>
#include <random>
#include <utility>

#include "crypto/bignum.h"
#include "ta/core/issuing.h"

namespace quarnel::test {

/// A repeatable source of keys and masks.
inline ta::RandomSource SeededRandom(std::uint64_t seed) {
    auto g = std::make_shared<std::mt19937_64>(seed);
    return [g] {
        const std::uint64_t a = (*g)();
        const std::uint64_t b = (*g)();
        return Quad{Word(a), Word(a >> 32), Word(b), Word(b >> 32)};
    };
}

/// The holder's whole own key record as its program keeps it after the
/// private-key reply: number, TA key, lines 2-5.
inline Record OwnKeyRecord(const ta::Affiliate& holder) {
    Record r{holder.number, QuadToHex(holder.taKey)};
    for (auto& l : ta::PrivateKeyLines(holder))
        r.push_back(std::move(l));
    return r;
}

/// Both holders' records about each other for one fresh pair key: the first
/// record is `x`'s about `y` (written with K), the second `y`'s about `x`
/// (written with inv(K)).
inline std::pair<Record, Record> RecordsForPair(const ta::Affiliate& x, const ta::Affiliate& y,
                                                const Quad& k) {
    return {ta::CorrespondentRecord(x, y, k), ta::CorrespondentRecord(y, x, ta::InverseKey(k))};
}

}  // namespace quarnel::test
