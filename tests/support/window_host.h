// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A main window for window tests that need one to place their dialogs
// against, and that do nothing with its buttons.

#include <QWidget>

#include "windowkit/main_command.h"

namespace quarnel::test {

class WindowHost : public ui::MainWindowHost {
  public:
    QWidget& Window() override { return window; }
    void EvaluateState() override {}
    void RefreshNames() override {}
    void ShowInformation() override {}
    void ApplyLanguage() override {}
    void ResetInformation() override {}
    QWidget window;
};

}  // namespace quarnel::test
