// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The applicability rule of a main-window command, as EvaluateState applies
// it. Each command's rule lives beside the command, in its subsystem's
// windows folder.

#include <optional>

#include "holder/program_state.h"

namespace quarnel {

struct CommandRule {
    /// Whether the button is usable; nothing when the state leaves it as it
    /// was (the states before the affiliation leave most buttons alone).
    std::optional<bool> (*enabledIn)(const StateFacts& facts);
    /// Busy disables the button.
    bool disabledWhileBusy;
    /// Busy makes a click do nothing.
    bool blockedWhileBusy;
};

/// The rule of a button that the program state never changes.
inline std::optional<bool> LeftAsItIs(const StateFacts&) {
    return std::nullopt;
}

}  // namespace quarnel
