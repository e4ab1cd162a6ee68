#include "authority/flows.h"

#include "app/program_state.h"
#include "authority/requests.h"
#include "authority/texts.h"
#include "messages/format.h"
#include "store/key_store.h"

namespace quarnel {
namespace {

// Builds the body of `kind`; NotBuilt when it cannot be.
bool Build(HolderContext& ctx, std::string_view kind, FlowResult& result) {
    ctx.requestKind = std::string(kind);
    const BuildResult b = BuildOutgoingBody(ctx);
    if (!b.ok) result = {FlowStatus::NotBuilt, b.problem};
    return b.ok;
}

bool Run(HolderContext& ctx, const FlowHooks& hooks) {
    return hooks.runExchange && hooks.runExchange(ctx);
}

// The acknowledgement or update did not go through: the seal is zeroed so
// that the next start knows an update is pending (state 5).
FlowResult MarkUpdatePending(HolderContext& ctx) {
    ctx.programState = 5;
    if (!ctx.keyStore.empty() && ctx.OwnRecord().size() > 3) ctx.OwnRecord()[3] = kZeroLine;
    if (ctx.SaveKeyStore() == SaveResult::Aborted) return {FlowStatus::Abandoned, 0};
    return {FlowStatus::Failed, 0};
}

}  // namespace

FlowResult RunFirstAffiliation(HolderContext& ctx, const FlowHooks& hooks) {
    FlowResult result;
    SetInformation(ctx, txt::kChiffrementEnCours);
    if (!Build(ctx, kind::kAffiliation, result)) return result;
    ctx.programState = 1;
    if (ctx.SaveKeyStore() == SaveResult::Aborted) return {FlowStatus::Abandoned, 0};
    if (hooks.saveSettings && hooks.saveSettings() == SaveResult::Aborted) {
        return {FlowStatus::Abandoned, 0};
    }
    if (!Run(ctx, hooks)) {
        ctx.requestKind = std::string(kind::kAffiliation);
        return {FlowStatus::Failed, 0};
    }
    ctx.firstAffiliation = true;
    if (!Build(ctx, kind::kUpdate, result)) return result;
    if (!Run(ctx, hooks)) return MarkUpdatePending(ctx);
    return result;
}

FlowResult RunAffiliationUpdate(HolderContext& ctx, const FlowHooks& hooks) {
    FlowResult result;
    ctx.firstAffiliation = false;
    SetInformation(ctx, txt::kChiffrementEnCours);
    if (!Build(ctx, kind::kUpdate, result)) return result;
    if (!Run(ctx, hooks)) {
        result = MarkUpdatePending(ctx);
        if (result.status == FlowStatus::Abandoned) return result;
    }
    if (hooks.saveSettings && hooks.saveSettings() == SaveResult::Aborted) {
        return {FlowStatus::Abandoned, 0};
    }
    return result;
}

FlowResult RunKeyRequest(HolderContext& ctx, const FlowHooks& hooks, const std::string& number,
                         bool update) {
    FlowResult result;
    ctx.correspondentNumber = number;
    if (!Build(ctx, update ? kind::kKeyUpdate : kind::kKey, result)) return result;
    if (!Run(ctx, hooks)) {
        SetInformation(ctx, txt::kEnAttente);
        return {FlowStatus::Failed, 0};
    }
    return result;
}

FlowResult RunCertificationRequest(HolderContext& ctx, const FlowHooks& hooks) {
    FlowResult result;
    if (!Build(ctx, kind::kCertification, result)) return result;
    if (!Run(ctx, hooks)) return {FlowStatus::Failed, 0};
    return result;
}

}  // namespace quarnel
