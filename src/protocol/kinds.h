// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The kinds of bodies: requests to the TA, its replies, and user messages.
// On the wire a kind is the two hexadecimal digits that begin the address
// line.

#include <cstdint>
#include <optional>
#include <string_view>

namespace quarnel {

enum class Kind : std::uint8_t {
    Affiliation = 0x00,
    Update = 0x01,  ///< acknowledgement or affiliation update
    PrivateKey = 0x04,
    Updated = 0x05,
    Key = 0x10,
    KeyUpdate = 0x11,
    KeyDelivered = 0x14,
    KeyUpdated = 0x15,
    Certification = 0x18,
    Certificate = 0x1C,
    PlainMessage = 0x20,
    RichMessage = 0x21,
};

/// The kind's two digits ("00" ... "21").
std::string_view KindText(Kind kind);
/// The kind of two digits; nothing for any other text.
std::optional<Kind> KindOf(std::string_view text);

/// The kinds sent to the TA: 00, 01, 10, 11, 18.
bool IsTaRequestKind(Kind kind);
/// The TA's reply kinds: 04, 05, 14, 15, 1C.
bool IsTaReplyKind(Kind kind);
/// Kinds 20 and 21.
bool IsMessageKind(Kind kind);

/// Nothing is no kind of any group.
inline bool IsTaRequestKind(std::optional<Kind> kind) {
    return kind && IsTaRequestKind(*kind);
}
inline bool IsTaReplyKind(std::optional<Kind> kind) {
    return kind && IsTaReplyKind(*kind);
}
inline bool IsMessageKind(std::optional<Kind> kind) {
    return kind && IsMessageKind(*kind);
}

}  // namespace quarnel
