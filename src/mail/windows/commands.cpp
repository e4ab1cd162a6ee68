// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/windows/commands.h"

#include "holder/program_state.h"
#include "mail/windows/form_courrier.h"
#include "mail/windows/form_pop3.h"
#include "mail/windows/form_smtp.h"

namespace quarnel::ui {

std::optional<bool> IncomingMailCommand::EnabledIn(const StateFacts& facts) {
    if (facts.programState == ProgramState::Affiliated) {
        if (facts.ownRecordLines == 7) return true;
        return std::nullopt;
    }
    if (IsAffiliatedState(facts.programState)) return false;
    return std::nullopt;
}

std::optional<bool> DispatchCommand::EnabledIn(const StateFacts& facts) {
    if (facts.programState == ProgramState::Affiliated) return !facts.queueEmpty;
    if (IsAffiliatedState(facts.programState)) return false;
    return std::nullopt;
}

std::optional<bool> MailboxCommand::EnabledIn(const StateFacts& facts) {
    return IsAffiliatedState(facts.programState);
}

void MailboxCommand::Run() {
    courrier_.ShowMailbox(host_.Window());
}

void IncomingMailCommand::Run() {
    BusyGuard busy(ctx_);
    pop3_.ShowReceiving(host_.Window());
}

void DispatchCommand::Run() {
    BusyGuard busy(ctx_);
    if (smtp_.ShowQueue(host_.Window()) == FormSmtp::Outcome::Sent)
        SetInformation(ctx_, sentInformation_);
}

}  // namespace quarnel::ui
