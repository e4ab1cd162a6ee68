// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cipher and the condensation transcribed literally from their register
// description: slow (about 300 us a block), kept only as the oracle that the
// fast paths of the library are compared with. Never linked into a program.

#include <string>
#include <string_view>

#include "crypto/cipher.h"
#include "crypto/text_cipher.h"
#include "crypto/types.h"

namespace quarnel::literal {

Quad MulModP(const Quad& a, const Quad& b);
Quad FieldPow(const Quad& v, const Quad& k, Variant variant);
Quad ExpBlock(const Quad& x, const Quad& key, Variant variant);
Quad MulBlock(const Quad& x, const Quad& key);
Quad CipherBlockMasked(const Quad& x, const Quad& key, const Quad& mask, Direction direction);
Quad CipherBlock(const Quad& x, const Quad& key, Direction direction);

[[nodiscard]] bool EncipherText(std::string_view code, char field1, char field2, Lines& lines,
                                const Quad& mask, const Quad& key, std::string_view plain,
                                double dateTime);
[[nodiscard]] bool VerifyHeader(const Lines& lines, std::size_t index, const Quad& key,
                                const Quad& mask, std::string& headerText);
[[nodiscard]] bool DecipherText(const Lines& lines, std::size_t& index, const Quad& key,
                                const Quad& mask, DecipheredText& out);
[[nodiscard]] bool CondenseText(std::string_view text, Quad& digest);
[[nodiscard]] bool CondenseHex(std::string_view hex, Quad& digest);

}  // namespace quarnel::literal
