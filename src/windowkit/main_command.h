// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A command of the main window, one object per button, and what a command
// may ask of the main window. The main window checks the command's rule
// before Run and evaluates its buttons again after it.

#include "holder/command_rule.h"

class QWidget;

namespace quarnel::ui {

/// What a command asks of the main window.
class MainWindowHost {
  public:
    virtual ~MainWindowHost() = default;
    /// The window that commands' dialogs are placed against.
    virtual QWidget& Window() = 0;
    /// Buttons, focus and information line from the program state.
    virtual void EvaluateState() = 0;
    /// Name labels, caption and registration label from the holder.
    virtual void RefreshNames() = 0;
    /// The information line as the holder core holds it.
    virtual void ShowInformation() = 0;
    /// The texts of the settings' language, in every window.
    virtual void ApplyLanguage() = 0;
    /// The information line back to "En attente".
    virtual void ResetInformation() = 0;
};

class MainCommand {
  public:
    virtual ~MainCommand() = default;
    virtual void Run() = 0;
};

/// A command whose window arrives with a later version: it says so.
class NotAvailableCommand final : public MainCommand {
  public:
    explicit NotAvailableCommand(MainWindowHost& host) : host_(host) {}
    void Run() override;

  private:
    MainWindowHost& host_;
};

}  // namespace quarnel::ui
