// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/compare.h"

#include "crypto/path_probe.h"

namespace quarnel {

bool EqualDigests(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    unsigned char diff = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        QUARNEL_PATH_STEP(CompareByte, i);
        diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    }
    // An empty asm on the accumulated difference keeps the compiler from
    // turning the loop into one that stops early.
    asm volatile("" : "+r"(diff));
    return diff == 0;
}

}  // namespace quarnel
