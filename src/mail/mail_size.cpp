// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/mail_size.h"

namespace quarnel {

namespace {

constexpr std::uint64_t kLineBytes = 34;  // 32 hexadecimal digits and CR LF
// The lines of a body that are not the text: title, separator, address, key
// lines, nonce, digest, signature, the two identity sections, end marker.
constexpr std::uint64_t kBodyOtherLines = 26;
// The mail's headers, the text part's and the multipart boundaries.
constexpr std::uint64_t kMailHeaderBytes = 400;
// One attachment part's headers and its name after the end marker.
constexpr std::uint64_t kAttachmentPartBytes = 300;

// An enciphered text: two header lines, then one line per 16 bytes.
std::uint64_t EncipheredBytes(std::uint64_t plain) {
    return ((plain + 15) / 16 + 2) * kLineBytes;
}

// Base64 lines of 76 characters and CR LF.
std::uint64_t Base64Bytes(std::uint64_t bytes) {
    return (bytes + 56) / 57 * 78;
}

}  // namespace

std::uint64_t EstimatedMailBytes(std::uint64_t textBytes,
                                 std::span<const std::uint64_t> fileBytes) {
    std::uint64_t total =
        kMailHeaderBytes + kBodyOtherLines * kLineBytes + EncipheredBytes(textBytes);
    for (const std::uint64_t file : fileBytes)
        total += kAttachmentPartBytes + Base64Bytes(EncipheredBytes(file));
    return total;
}

}  // namespace quarnel
