#include "holder/program_state.h"

#include "crypto/cp1252.h"
#include "holder/texts.h"
#include "resources/texts.h"
#include "store/key_store.h"

namespace quarnel {

ProgramState StartupStateFromOwnRecord(const Record& own, bool versionChanged) {
    ProgramState state = ProgramState::Affiliated;
    if (IsUpdatePending(own)) state = ProgramState::UpdateNecessary;
    if (versionChanged) state = ProgramState::VersionChanged;
    if (own.size() == 2) state = ProgramState::NotAffiliated;
    return state;
}

StateFacts FactsOf(const HolderContext& ctx, bool queueEmpty) {
    StateFacts f;
    f.programState = ctx.programState;
    f.busy = ctx.busy;
    f.anyCorrespondent = ctx.correspondents.AnyNonEmpty();
    f.ownRecordLines = ctx.keyStore.empty() ? 0 : ctx.keyStore.back().size();
    f.queueEmpty = queueEmpty;
    return f;
}

std::string CurrentText(const HolderContext& ctx, int id) {
    return ctx.currentText ? ctx.currentText(id) : FrenchTextCp1252(id);
}

void SetInformation(HolderContext& ctx, int id) {
    ctx.information = id;
    ctx.informationNote.clear();
    if (ctx.onInformationChanged) ctx.onInformationChanged();
}

void NoteKeptDamagedList(HolderContext& ctx, const std::filesystem::path& kept) {
    std::string path;
    if (!Utf8ToCp1252(kept.string(), path)) path = kept.filename().string();
    ctx.informationNote = FillPlaceholders(CurrentText(ctx, txt::kListeAltereeConservee), {path});
    if (ctx.onInformationChanged) ctx.onInformationChanged();
}

}  // namespace quarnel
