// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's commands and EvaluateState: which commands are usable,
// which has the focus and what the information line says, as a pure function
// of the program state, the lists, the outgoing queue and the own record.

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "authority/authority_state.h"
#include "holder/command_rule.h"
#include "mail/mail_state.h"

namespace quarnel {

/// The main window's command buttons.
enum class Command {
    Correspondents,
    IncomingMail,
    AffiliationUpdate,
    Dispatch,
    NewKeys,
    Certification,
    Exit,
    Options,
    Help,
    Mailbox,
};
inline constexpr std::size_t kCommandCount = 10;

/// The applicability rules of the commands, by Command.
using CommandRules = std::span<const CommandRule, kCommandCount>;

/// What the main window shows: enabled commands, the caption of
/// BitBtnOptions, the focused command and the information line.
struct MainView {
    std::array<bool, kCommandCount> enabled{};
    bool optionsCaptionIsOptions = false;  ///< "&Options" instead of "Initialisation"
    std::optional<Command> focus;
    int information = 0;  ///< resource number; 0 = empty line

    bool Enabled(Command c) const { return enabled[std::size_t(c)]; }
    void Enable(Command c, bool on) { enabled[std::size_t(c)] = on; }
    bool operator==(const MainView&) const = default;
};

/// The appearance at creation: only Sortie, Options and Aide usable.
MainView InitialView();

/// The facts of the whole program (the queue is the mail subsystem's).
StateFacts FactsOf(const HolderContext& ctx, const MailState& mail);

/// The next view from the current one: each command's rule, Busy, the focus
/// and the information line of the state (what a state leaves alone stays).
MainView EvaluateState(const MainView& current, const StateFacts& facts, CommandRules rules);

/// A command may run: enabled, and not blocked by Busy.
bool CanRun(Command command, const MainView& view, bool busy, const CommandRule& rule);

/// At the end of the run: frees every working list; the key store's lines
/// and the secrets are overwritten with random text first. `wiped`, when
/// given, sees the key store between its wiping and its freeing.
void FreeWorkingLists(HolderContext& ctx, AuthorityState& authority, MailState& mail,
                      const std::function<void(const RecordList&)>& wiped = {});

}  // namespace quarnel
