// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which clipboard text the main window takes as an encrypted message for the
// holder: a user message (kind 20 or 21), from program state 2 on, and in
// state 2 only one addressed to the holder's own number. Replies of the TA,
// requests and plain text are left where they are.

#include <cstddef>
#include <optional>
#include <string_view>

#include "crypto/text_cipher.h"
#include "holder/holder_context.h"

namespace quarnel {

/// Longer clipboard texts are not examined (as long as a saved message).
inline constexpr std::size_t kMaxClipboardBytes = std::size_t(64) << 20;
/// Lines allowed before the separator line (a mail's header copied along).
inline constexpr std::size_t kMaxLinesBeforeSeparator = 1000;

/// The text's lines, leading lines kept (the decryption drops them), when it
/// is to be taken; nothing otherwise. `text` is in the program's code page.
[[nodiscard]] std::optional<Lines> TakeClipboardMessage(std::string_view text, ProgramState state,
                                                        std::string_view ownNumber);

}  // namespace quarnel
