// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Correspondants": the menu of the three lists, and the correspondents
// window of the list chosen.

#include <array>
#include <optional>

#include "holder/holder_context.h"
#include "windowkit/main_command.h"

class QAction;
class QMenu;

namespace quarnel::ui {

class FormListe;

class CorrespondentsCommand final : public MainCommand {
  public:
    static std::optional<bool> EnabledIn(const StateFacts& facts);
    static constexpr CommandRule kRule{&EnabledIn, true, false};

    /// `lists` are the menu's entries for the F, D and A lists.
    CorrespondentsCommand(HolderContext& ctx, MainWindowHost& host, FormListe& liste, QMenu& menu,
                          const std::array<QAction*, 3>& lists, QWidget& button);
    /// Pops the menu up under the button, each list's entry usable when the
    /// list has a record.
    void Run() override;
    /// Shows the correspondents window on the list of `category`.
    void OpenList(char category);

  private:
    HolderContext& ctx_;
    MainWindowHost& host_;
    FormListe& liste_;
    QMenu& menu_;
    std::array<QAction*, 3> lists_;
    QWidget& button_;
};

}  // namespace quarnel::ui
