// SPDX-License-Identifier: GPL-3.0-or-later
#include "holder/program_state.h"

#include "crypto/cp1252.h"
#include "holder/texts.h"
#include "resources/texts.h"
#include "store/key_store.h"

namespace quarnel {

struct ProgramStateWriter {
    static void Set(HolderContext& ctx, ProgramState s) { ctx.programState_ = s; }
};

namespace state {

void Starting(HolderContext& ctx) {
    ProgramStateWriter::Set(ctx, ProgramState::NotInitialised);
}

void Loaded(HolderContext& ctx, const Record& own, bool versionChanged) {
    ProgramState s = ProgramState::Affiliated;
    if (IsUpdatePending(own)) s = ProgramState::UpdateNecessary;
    if (versionChanged) s = ProgramState::VersionChanged;
    if (own.size() == 2) s = ProgramState::NotAffiliated;
    ProgramStateWriter::Set(ctx, s);
}

void SettingsAltered(HolderContext& ctx) {
    if (ctx.State() == ProgramState::Affiliated)
        ProgramStateWriter::Set(ctx, ProgramState::SettingsAltered);
}

void VersionChanged(HolderContext& ctx) {
    if (ctx.State() == ProgramState::Affiliated)
        ProgramStateWriter::Set(ctx, ProgramState::VersionChanged);
}

void AffiliationRequested(HolderContext& ctx) {
    ProgramStateWriter::Set(ctx, ProgramState::NotAffiliated);
}

void Affiliated(HolderContext& ctx) {
    ProgramStateWriter::Set(ctx, ProgramState::Affiliated);
}

void UpdateFailed(HolderContext& ctx) {
    ProgramStateWriter::Set(ctx, ProgramState::UpdateNecessary);
}

}  // namespace state

StateFacts FactsOf(const HolderContext& ctx, bool queueEmpty) {
    StateFacts f;
    f.programState = ctx.State();
    f.busy = ctx.busy;
    f.anyCorrespondent = ctx.correspondents.AnyNonEmpty();
    f.ownRecordLines = ctx.keyStore.empty() ? 0 : ctx.keyStore.back().size();
    f.queueEmpty = queueEmpty;
    return f;
}

std::string CurrentText(const HolderContext& ctx, int id) {
    const auto& text = ctx.Hooks().currentText;
    return text ? text(id) : FrenchTextCp1252(id);
}

void SetInformation(HolderContext& ctx, int id) {
    ctx.information = id;
    ctx.informationNote.clear();
    if (const auto& told = ctx.Hooks().onInformationChanged) told();
}

void NoteKeptDamagedList(HolderContext& ctx, const std::filesystem::path& kept) {
    std::string path;
    if (!Utf8ToCp1252(kept.string(), path)) path = kept.filename().string();
    ctx.informationNote = FillPlaceholders(CurrentText(ctx, txt::kAlteredListKept), {path});
    if (const auto& told = ctx.Hooks().onInformationChanged) told();
}

}  // namespace quarnel
