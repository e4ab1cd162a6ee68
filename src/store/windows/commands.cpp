// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/windows/commands.h"

#include <QAction>
#include <QMenu>

#include "store/windows/form_liste.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

std::optional<bool> CorrespondentsCommand::EnabledIn(const StateFacts& facts) {
    if (facts.programState == ProgramState::Affiliated) return facts.anyCorrespondent;
    if (IsAffiliatedState(facts.programState)) return false;
    return std::nullopt;
}

CorrespondentsCommand::CorrespondentsCommand(HolderContext& ctx, MainWindowHost& host,
                                             FormListe& liste, QMenu& menu,
                                             const std::array<QAction*, 3>& lists, QWidget& button)
    : ctx_(ctx), host_(host), liste_(liste), menu_(menu), lists_(lists), button_(button) {}

void CorrespondentsCommand::Run() {
    lists_[0]->setEnabled(!ctx_.correspondents.f.empty());
    lists_[1]->setEnabled(!ctx_.correspondents.d.empty());
    lists_[2]->setEnabled(!ctx_.correspondents.a.empty());
    menu_.popup(button_.mapToGlobal(QPoint(0, 28)));
}

void CorrespondentsCommand::OpenList(char category) {
    PlaceDialog(liste_, host_.Window());
    ctx_.listCategory = category;
    // Already open on a list: shown again on the one chosen.
    if (liste_.isVisible()) liste_.FormActivate();
    liste_.show();
    liste_.raise();
}

}  // namespace quarnel::ui
