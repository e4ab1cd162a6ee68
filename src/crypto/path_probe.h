// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The steps of the work that must not depend on a secret (comparing digests,
// powers with a secret exponent), recorded only in the copy of the crypto
// library that the constant-path test links (QUARNEL_PATH_PROBE). Everywhere
// else QUARNEL_PATH_STEP is empty: the program pays nothing for it.

#ifdef QUARNEL_PATH_PROBE

#include <cstdint>
#include <vector>

namespace quarnel::probe {

enum class Step : std::uint8_t {
    CompareByte,  ///< a byte pair of two digests read (detail: its index)
    Product,      ///< a Montgomery product
    TableRead,    ///< a power table entry read (detail: the entry)
};

struct Mark {
    Step step;
    std::uint32_t detail;
    bool operator==(const Mark&) const = default;
};

/// Starts recording this thread's steps, dropping what was recorded before.
void Start();
/// Stops recording; the steps since Start, in order.
[[nodiscard]] std::vector<Mark> Stop();
void Record(Step step, std::uint32_t detail);

}  // namespace quarnel::probe

#define QUARNEL_PATH_STEP(step, detail) \
    ::quarnel::probe::Record(::quarnel::probe::Step::step, static_cast<std::uint32_t>(detail))

#else

#define QUARNEL_PATH_STEP(step, detail) static_cast<void>(0)

#endif
