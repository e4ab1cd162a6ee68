// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Comparison of digests and check values that takes as long whatever the
// position of the first difference.

#include <string_view>

namespace quarnel {

/// True when a and b hold the same bytes. Different lengths give false at
/// once (lengths are public); otherwise every byte pair is read.
[[nodiscard]] bool EqualDigests(std::string_view a, std::string_view b);

}  // namespace quarnel
