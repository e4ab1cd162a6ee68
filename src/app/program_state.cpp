#include "app/program_state.h"

#include "crypto/random.h"
#include "crypto/secret.h"
#include "resources/texts.h"
#include "resources/texts_app.h"
#include "store/record_list.h"

namespace quarnel {

namespace {
constexpr MainCommand kCommands[] = {
    {Command::Correspondants, "BitBtnCorrespondants", txt::kCorrespondants, false},
    {Command::Entrant, "BitBtnEntrant", txt::kCourrierEntrant, true},
    {Command::MiseAJour, "BitBtnMiseAJour", txt::kMiseAJour, true},
    {Command::Expedition, "BitBtnExpedition", txt::kExpedition, true},
    {Command::Clefs, "BitBtnClefs", txt::kNouvellesClefs, true},
    {Command::Certification, "BitBtnCertification", txt::kCertification, true},
    {Command::Sortie, "BitBtnSortie", txt::kSortie, false},
    {Command::Options, "BitBtnOptions", txt::kInitialisation, true},
    {Command::Aide, "BitBtnAide", txt::kAide, false},
};
static_assert(std::size(kCommands) == kCommandCount);
}  // namespace

std::span<const MainCommand> MainCommands() {
    return kCommands;
}

const MainCommand& CommandInfo(Command command) {
    return kCommands[std::size_t(command)];
}

MainView InitialView() {
    MainView v;
    v.Enable(Command::Sortie, true);
    v.Enable(Command::Options, true);
    v.Enable(Command::Aide, true);
    return v;
}

StateFacts FactsOf(const HolderContext& ctx) {
    StateFacts f;
    f.programState = ctx.programState;
    f.busy = ctx.busy;
    f.anyCorrespondent = ctx.correspondents.AnyNonEmpty();
    f.ownRecordLines = ctx.keyStore.empty() ? 0 : ctx.keyStore.back().size();
    f.queueEmpty = ctx.outgoingQueue.empty();
    return f;
}

MainView EvaluateState(const MainView& current, const StateFacts& facts) {
    MainView v = current;
    v.Enable(Command::Options, true);
    switch (facts.programState) {
        case 0:
            v.focus = Command::Options;
            v.information = txt::kPasInitialise;
            break;
        case 1:
            v.focus = Command::Options;
            v.information = txt::kInitialisationAReprendre;
            break;
        case 2:
            v.optionsCaptionIsOptions = true;
            v.Enable(Command::Clefs, true);
            v.Enable(Command::MiseAJour, true);
            v.Enable(Command::Certification, true);
            if (facts.anyCorrespondent) {
                v.Enable(Command::Correspondants, true);
                v.focus = Command::Correspondants;
            } else {
                v.focus = Command::Clefs;
                v.Enable(Command::Correspondants, false);
                if (v.information != txt::kAffiliationConfirmed)
                    v.information = txt::kDemanderClefs;
            }
            if (facts.ownRecordLines == 7) v.Enable(Command::Entrant, true);
            if (facts.queueEmpty) {
                v.Enable(Command::Expedition, false);
                if (v.information == txt::kMessagesAExpedier) v.information = txt::kEnAttente;
            } else {
                v.Enable(Command::Expedition, true);
                v.information = txt::kMessagesAExpedier;
            }
            break;
        case 3:
        case 4:
        case 5:
            v.optionsCaptionIsOptions = true;
            v.Enable(Command::MiseAJour, true);
            for (const Command c :
                 {Command::Correspondants, Command::Entrant, Command::Expedition, Command::Clefs}) {
                v.Enable(c, false);
            }
            v.focus = Command::MiseAJour;
            if (facts.programState == 3) v.information = txt::kVersionModifiee;
            if (facts.programState == 5) v.information = txt::kMiseAJourNecessaire;
            break;
        default:
            break;
    }
    if (facts.busy) {
        for (const Command c : {Command::Correspondants, Command::Entrant, Command::MiseAJour,
                                Command::Expedition, Command::Clefs, Command::Options}) {
            v.Enable(c, false);
        }
    }
    return v;
}

bool CanRun(Command command, const MainView& view, bool busy) {
    return view.Enabled(command) && !(busy && CommandInfo(command).blockedWhileBusy);
}

std::string CurrentText(const HolderContext& ctx, int id) {
    return ctx.currentText ? ctx.currentText(id) : FrenchTextCp1252(id);
}

void SetInformation(HolderContext& ctx, int id) {
    ctx.information = id;
    if (ctx.onInformationChanged) ctx.onInformationChanged();
}

void FreeWorkingLists(HolderContext& ctx) {
    FreeRecordList(ctx.keyStore, true);
    FreeRecordList(ctx.correspondents.f, false);
    FreeRecordList(ctx.correspondents.d, false);
    FreeRecordList(ctx.correspondents.a, false);
    FreeRecordList(ctx.receivedLog, false);
    FreeRecordList(ctx.outgoingQueue, false);
    FreeRecordList(ctx.sentLog, false);
    ctx.settings.identity.clear();
    ctx.outgoingBody.clear();
    WipeString(ctx.pendingPassword);
    ctx.pendingPassword.clear();
    WipeQuad(ctx.taKey);
}

}  // namespace quarnel
