// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Basic value types of the cryptographic core.

#include <array>
#include <cstdint>

namespace quarnel {

/// Unsigned 32-bit word; multi-word numbers keep word 0 least significant.
using Word = std::uint32_t;

/// 128-bit value (block, key, mask, digest): 4 words, word 0 least significant.
using Quad = std::array<Word, 4>;

/// 1024-bit value (Diffie-Hellman numbers): 32 words, word 0 least significant.
using Big = std::array<Word, 32>;

/// Direction of the block cipher.
enum class Direction : int { Decipher = 0, Encipher = 1 };

}  // namespace quarnel
