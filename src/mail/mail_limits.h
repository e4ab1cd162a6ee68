#pragma once
// Limits shared by the mail clients: everything a server sends is bounded.

#include <chrono>
#include <cstddef>

namespace quarnel {

/// Time limits of a mail dialogue (tests shorten them).
struct MailLimits {
    std::chrono::milliseconds connect{30000};       ///< to open the connection
    std::chrono::milliseconds reply{60000};         ///< for each reply
    std::chrono::milliseconds dataPerMiB{10000};    ///< added to `reply` per MiB of a transfer
    std::chrono::milliseconds tlsHandshake{30000};  ///< for the TLS handshake to complete
};

/// The longest reply line a server may send, end of line included; a longer
/// line ends the dialogue.
inline constexpr std::size_t kMaxReplyLine = 4096;
/// The most lines one multi-line reply may hold.
inline constexpr std::size_t kMaxReplyLines = 100;

}  // namespace quarnel
