// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system Diffie-Hellman constants, the same for every client and the TA.

#include "crypto/types.h"

namespace quarnel {

/// p: a 1023-bit safe prime (p = 2q + 1, q prime).
const Big& SystemModulus();
/// g: a 1022-bit generator of the subgroup of order q.
const Big& SystemBase();

}  // namespace quarnel
