// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the window layer lends the holder core while the program runs: the
// decisions and notices only a window can give. The main window lends its
// own for its life (HolderContext::LendHooks); without them saves fail
// without asking and run on the caller's thread, texts are French, and a
// change of the information line is told to nobody. Tests lend their own.

#include <functional>
#include <string>

#include "store/record_list.h"

namespace quarnel {

struct WindowHooks {
    /// Asked when a save fails: try again, or give up.
    SaveFailureHandler onSaveFailure;
    /// Where long saves run (the long-work runner with its progress).
    SaveRunner saveRunner;
    /// The text of a resource number in the current language, as code page
    /// 1252. Use CurrentText (holder/program_state.h).
    std::function<std::string(int)> currentText;
    /// Told when the information line changed through SetInformation, so
    /// that the main window shows it.
    std::function<void()> onInformationChanged;
};

}  // namespace quarnel
