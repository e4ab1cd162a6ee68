// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's clipboard watch: the clipboard's text, when it is an
// encrypted message for the holder, is taken (the clipboard emptied) and the
// main window brought forward.

#include <optional>

#include "crypto/text_cipher.h"

class QWidget;

namespace quarnel {
struct HolderContext;
}

namespace quarnel::ui {

/// The message's lines, or nothing when the clipboard holds none to take.
[[nodiscard]] std::optional<Lines> WatchClipboard(const HolderContext& ctx, QWidget& mainWindow);

}  // namespace quarnel::ui
