// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's "Certification" command (a saved decrypted message opened
// in FormMsgACerti), and what the main window does with a block its clipboard
// watch took: a reply of the TA is processed, a message decrypted and shown.

#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "authority/authority_state.h"
#include "crypto/text_cipher.h"
#include "holder/command_rule.h"
#include "messages/decryption.h"
#include "messages/message_state.h"
#include "windowkit/long_job.h"
#include "windowkit/main_command.h"

namespace quarnel::ui {

class FormCerti;
class FormMessage;
class FormMsgACerti;

class CertificationCommand final : public MainCommand {
  public:
    /// Usable once affiliated; Busy does not grey it, but a click then does
    /// nothing.
    static std::optional<bool> EnabledIn(const StateFacts& facts);
    static constexpr CommandRule kRule{&EnabledIn, false, true};

    CertificationCommand(HolderContext& ctx, MainWindowHost& host, FormMsgACerti& form)
        : ctx_(ctx), host_(host), form_(form) {}
    /// Busy from the open dialog until the window closes; a file that is not
    /// a saved decrypted message (too short, too large, unreadable) is
    /// refused with a message and nothing is sent.
    void Run() override;

  private:
    HolderContext& ctx_;
    MainWindowHost& host_;
    FormMsgACerti& form_;
};

/// The incoming-block processing: the attachment names are taken off the end,
/// the structure checked, a reply of the TA processed (a certificate shown in
/// FormCerti), a message decrypted and shown in FormMessage. The decryption
/// runs off the window's thread, with the progress dialog and its Annuler
/// after 0.3 s; stopped there, it keeps no attachment file and shows nothing.
class IncomingBlock {
  public:
    /// Whether the attachments are written with the message (its first
    /// reading), or each when the holder chooses it in the viewer (a message
    /// opened again), all of them deciphered and checked either way.
    enum class Attachments { Written, OnDemand };

    IncomingBlock(HolderContext& ctx, AuthorityState& auth, MessageState& msgs,
                  MainWindowHost& host, FormMessage& viewer, FormCerti& certi)
        : ctx_(ctx), auth_(auth), msgs_(msgs), host_(host), viewer_(viewer), certi_(certi) {}

    [[nodiscard]] BlockOutcome Process(Lines& block, const QString& subject = {},
                                       Attachments attachments = Attachments::Written);

    /// Runs the decryption (tests stop it at a chosen point).
    LongJobRunner runJob = RunLongJob;

  private:
    /// Runs a decryption job off the window's thread, the information line
    /// asked for from there; the job's result.
    bool RunDecryption(const std::function<bool(const JobProgress&)>& job);
    /// Writes attachment `index` of the message `block` (its names at the
    /// end) into the decrypted-files folder and gives it to the viewer.
    void WriteAttachment(const Lines& block, std::size_t index);

    HolderContext& ctx_;
    AuthorityState& auth_;
    MessageState& msgs_;
    MainWindowHost& host_;
    FormMessage& viewer_;
    FormCerti& certi_;
};

}  // namespace quarnel::ui
