// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The shell's own commands: "Initialisation" / "Options", "Aide" and
// "Sortie", and the table that gives every button its command's rule.

#include <optional>
#include <span>

#include "app/main_view.h"
#include "windowkit/main_command.h"

class QMenu;

namespace quarnel::ui {

class AffiliationCommand;
class FormOptions;

/// A button of the main window: its object name, caption and rule.
struct MainCommandInfo {
    Command command;
    const char* objectName;  ///< "BitBtnCorrespondants" ...
    int caption;             ///< resource number of its caption
    CommandRule rule;
};
std::span<const MainCommandInfo> MainCommands();
const MainCommandInfo& CommandInfo(Command command);
/// Every command's rule, by Command.
CommandRules MainCommandRules();

/// The options dialog; before the affiliation, confirming it goes on with the
/// affiliation.
class OptionsCommand final : public MainCommand {
  public:
    static std::optional<bool> EnabledIn(const StateFacts&) { return true; }
    static constexpr CommandRule kRule{&EnabledIn, true, true};

    OptionsCommand(HolderContext& ctx, MainWindowHost& host, FormOptions& options,
                   AffiliationCommand& affiliation)
        : ctx_(ctx), host_(host), options_(options), affiliation_(affiliation) {}
    void Run() override;

  private:
    HolderContext& ctx_;
    MainWindowHost& host_;
    FormOptions& options_;
    AffiliationCommand& affiliation_;
};

/// Pops the help menu up under its button.
class HelpCommand final : public MainCommand {
  public:
    static constexpr CommandRule kRule{&LeftAsItIs, false, false};
    HelpCommand(MainWindowHost& host, QMenu& menu, QWidget& button)
        : host_(host), menu_(menu), button_(button) {}
    void Run() override;

  private:
    MainWindowHost& host_;
    QMenu& menu_;
    QWidget& button_;
};

/// Closes the main window, and with it the program.
class ExitCommand final : public MainCommand {
  public:
    static constexpr CommandRule kRule{&LeftAsItIs, false, false};
    explicit ExitCommand(MainWindowHost& host) : host_(host) {}
    void Run() override;

  private:
    MainWindowHost& host_;
};

}  // namespace quarnel::ui
