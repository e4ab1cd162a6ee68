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
    {Command::Correspondants, "BitBtnCorrespondants", txt::kCorrespondants,
     CorrespondantsCommand::kRule},
    {Command::Entrant, "BitBtnEntrant", txt::kCourrierEntrant, EntrantCommand::kRule},
    {Command::MiseAJour, "BitBtnMiseAJour", txt::kMiseAJour, MiseAJourCommand::kRule},
    {Command::Expedition, "BitBtnExpedition", txt::kExpedition, ExpeditionCommand::kRule},
    {Command::Clefs, "BitBtnClefs", txt::kNouvellesClefs, ClefsCommand::kRule},
    {Command::Certification, "BitBtnCertification", txt::kCertification,
     CertificationCommand::kRule},
    {Command::Sortie, "BitBtnSortie", txt::kSortie, SortieCommand::kRule},
    {Command::Options, "BitBtnOptions", txt::kBoutonInitialisation, OptionsCommand::kRule},
    {Command::Aide, "BitBtnAide", txt::kAide, AideCommand::kRule},
    {Command::Courrier, "BitBtnCourrier", txt::kCourrier, CourrierCommand::kRule},
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
            options_.DisableAnnuler();
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

void AideCommand::Run() {
    host_.EvaluateState();
    menu_.popup(button_.mapToGlobal(QPoint(0, 28)));
}

void SortieCommand::Run() {
    host_.Window().close();
}

}  // namespace quarnel::ui
