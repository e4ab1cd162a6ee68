// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/windows/commands.h"

#include <QMenu>

#include "app/texts.h"
#include "app/windows/first_start.h"
#include "app/windows/form_options.h"
#include "authority/windows/commands.h"
#include "holder/settings.h"
#include "mail/windows/commands.h"
#include "messages/windows/commands.h"
#include "store/windows/commands.h"
#include "windowkit/modal_runner.h"
#include "windowkit/quarnel_dialog.h"
#include "windowkit/texts.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

namespace {
constexpr MainCommandInfo kCommands[] = {
    {Command::Correspondents, "BitBtnCorrespondants", txt::kCorrespondentsButton,
     CorrespondentsCommand::kRule},
    {Command::IncomingMail, "BitBtnEntrant", txt::kIncomingMailButton, IncomingMailCommand::kRule},
    {Command::AffiliationUpdate, "BitBtnMiseAJour", txt::kUpdateButton,
     AffiliationUpdateCommand::kRule},
    {Command::Dispatch, "BitBtnExpedition", txt::kDispatchButton, DispatchCommand::kRule},
    {Command::NewKeys, "BitBtnClefs", txt::kNewKeysButton, NewKeysCommand::kRule},
    {Command::Certification, "BitBtnCertification", txt::kCertification,
     CertificationCommand::kRule},
    {Command::Exit, "BitBtnSortie", txt::kExitButton, ExitCommand::kRule},
    {Command::Options, "BitBtnOptions", txt::kInitialisationButton, OptionsCommand::kRule},
    {Command::Help, "BitBtnAide", txt::kHelpButton, HelpCommand::kRule},
    {Command::Mailbox, "BitBtnCourrier", txt::kMailboxButton, MailboxCommand::kRule},
};
static_assert(std::size(kCommands) == kCommandCount);

constexpr std::array<CommandRule, kCommandCount> RulesOf() {
    std::array<CommandRule, kCommandCount> rules{};
    for (std::size_t i = 0; i < kCommandCount; ++i)
        rules[i] = kCommands[i].rule;
    return rules;
}
constexpr std::array<CommandRule, kCommandCount> kRules = RulesOf();
}  // namespace

std::span<const MainCommandInfo> MainCommands() {
    return kCommands;
}

const MainCommandInfo& CommandInfo(Command command) {
    return kCommands[std::size_t(command)];
}

CommandRules MainCommandRules() {
    return kRules;
}

void OptionsCommand::Run() {
    BusyGuard busy(ctx_);
    TaParameters ta;
    const bool found = ReadTaParameters(ctx_, ta);
    // Without a valid parameter file there is nothing to initialise against;
    // the dialog does not open, and the holder learns why. Affiliated, the
    // dialog only changes settings: it opens all the same.
    if (!found && !IsAffiliatedState(ctx_.State())) {
        ReportTaParameterProblem(ctx_, &host_.Window());
        return;
    }
    ctx_.ta = found ? ta : TaParameters{};
    if (found) ctx_.settings.taCode = ta.code;
    options_.SetTaParameters();
    if (ctx_.State() == ProgramState::NotInitialised) {
        options_.PrepareFirstInitialisation();
    } else {
        options_.PrepareFromSettings();
    }
    for (;;) {
        PlaceDialog(options_, host_.Window());
        const int result = RunModal(options_);
        if (result == QuarnelDialog::kResultNo) {
            host_.ApplyLanguage();
            options_.DisableCancel();
            host_.ResetInformation();
            continue;
        }
        if (result == QDialog::Accepted && !IsAffiliatedState(ctx_.State())) {
            affiliation_.Run();
        }
        // Cancel, or OK once affiliated (the dialog saved its changes).
        return;
    }
}

void HelpCommand::Run() {
    host_.EvaluateState();
    menu_.popup(button_.mapToGlobal(QPoint(0, 28)));
}

void ExitCommand::Run() {
    host_.Window().close();
}

}  // namespace quarnel::ui
