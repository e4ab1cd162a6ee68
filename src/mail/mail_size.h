// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How large the mail that carries a message will be, known before anything
// is enciphered: each attached file travels as lines of 32 hexadecimal digits
// (34 bytes per 16) in Base64 (78 bytes per 57), about 2.9 times its size.

#include <cstdint>
#include <span>

namespace quarnel {

/// Many mail providers refuse a mail above this size; the composer warns
/// before a message would pass it.
inline constexpr std::uint64_t kProviderMailLimitBytes = 25'000'000;

/// About the bytes of the mail of a message with `textBytes` of text and one
/// attached file of each size in `fileBytes` (headers and parts included).
[[nodiscard]] std::uint64_t EstimatedMailBytes(std::uint64_t textBytes,
                                               std::span<const std::uint64_t> fileBytes);

}  // namespace quarnel
