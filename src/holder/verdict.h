// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A verdict on a received message or its sender (confirmed or not, registered
// or not): always shown with its text, in teal when positive and maroon when
// negative (the colours are chosen in one place of the window layer,
// ui::VerdictColour).

namespace quarnel {

struct Verdict {
    bool positive = false;
    int text = 0;  ///< resource number of the text shown
};

}  // namespace quarnel
