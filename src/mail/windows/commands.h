// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mail commands of the main window: "Courrier entrant" (receiving),
// "Expédition" (the outgoing queue) and "Courrier" (the mailbox), with the
// rules of their buttons.

#include <optional>

#include "holder/command_rule.h"
#include "windowkit/main_command.h"

namespace quarnel {
struct HolderContext;
}

namespace quarnel::ui {

class FormCourrier;
class FormPop3;
class FormSmtp;

class IncomingMailCommand final : public MainCommand {
  public:
    /// Usable once the mailbox password is stored (the own record has 7 lines).
    static std::optional<bool> EnabledIn(const StateFacts& facts);
    static constexpr CommandRule kRule{&EnabledIn, true, true};

    IncomingMailCommand(HolderContext& ctx, MainWindowHost& host, FormPop3& pop3)
        : ctx_(ctx), host_(host), pop3_(pop3) {}
    /// The receiving window, modally, under Busy.
    void Run() override;

  private:
    HolderContext& ctx_;
    MainWindowHost& host_;
    FormPop3& pop3_;
};

/// "Courrier": the mailbox, beside the main window; usable once affiliated.
class MailboxCommand final : public MainCommand {
  public:
    static std::optional<bool> EnabledIn(const StateFacts& facts);
    static constexpr CommandRule kRule{&EnabledIn, false, false};

    MailboxCommand(MainWindowHost& host, FormCourrier& courrier)
        : host_(host), courrier_(courrier) {}
    void Run() override;

  private:
    MainWindowHost& host_;
    FormCourrier& courrier_;
};

class DispatchCommand final : public MainCommand {
  public:
    /// Usable while messages wait in the queue.
    static std::optional<bool> EnabledIn(const StateFacts& facts);
    static constexpr CommandRule kRule{&EnabledIn, true, true};

    /// `sentInformation`: the information line once the whole queue is sent.
    DispatchCommand(HolderContext& ctx, MainWindowHost& host, FormSmtp& smtp, int sentInformation)
        : ctx_(ctx), host_(host), smtp_(smtp), sentInformation_(sentInformation) {}
    /// The sending window on the queue, modally, under Busy.
    void Run() override;

  private:
    HolderContext& ctx_;
    MainWindowHost& host_;
    FormSmtp& smtp_;
    int sentInformation_;
};

}  // namespace quarnel::ui
