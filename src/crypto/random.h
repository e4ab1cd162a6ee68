// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The process-wide pseudo-random generator (crypto/generator.h) and the
// Diffie-Hellman key set-up that the eight clicks complete.

#include <string>

#include "crypto/generator.h"
#include "crypto/secret.h"
#include "crypto/types.h"

namespace quarnel {

/// One of the eight clicks: Reseed, counter - 1, and the Quad numbered by the
/// counter (0 = words 0-3) of the exponent := RandomQuad. Does nothing once
/// the counter is 0.
void KeyClick(Big& exponent, int& counter);

struct KeySetup {
    std::string publicHex;  ///< the holder's public value, 256 digits
    Quad publicDigest{};    ///< CondenseHex of publicHex
    SecretQuad taKey;       ///< CondenseHex of the shared value
};

/// Completes the key set-up: Y = base^x mod p and S = taPublic^x mod p. The
/// exponent is wiped. The system constants are used unless others are given.
[[nodiscard]] KeySetup KeyInitialise(Big& exponent, const Big& taPublic);
[[nodiscard]] KeySetup KeyInitialise(Big& exponent, const Big& taPublic, const Big& modulus,
                                     const Big& base);

}  // namespace quarnel
