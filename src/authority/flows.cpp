// SPDX-License-Identifier: GPL-3.0-or-later
#include "authority/flows.h"

#include "authority/requests.h"
#include "authority/texts.h"
#include "crypto/secret.h"
#include "holder/program_state.h"
#include "holder/texts.h"
#include "protocol/body.h"
#include "store/key_store.h"

namespace quarnel {
namespace {

// Builds the body of `kind`; NotBuilt when it cannot be.
bool Build(const AuthorityScope& s, Kind kind, FlowResult& result) {
    s.auth.requestKind = kind;
    const BuildResult b = BuildOutgoingBody(s.ctx, s.auth, s.msgs);
    if (!b.ok) result = {FlowStatus::NotBuilt, b.problem};
    return b.ok;
}

bool Run(const FlowHooks& hooks) {
    return hooks.runExchange && hooks.runExchange();
}

// The acknowledgement or update did not go through: the seal is zeroed so
// that the next start knows an update is pending (state 5).
FlowResult MarkUpdatePending(HolderContext& ctx) {
    state::UpdateFailed(ctx);
    if (!ctx.keyStore.empty() && ctx.OwnRecord().size() > 3) ctx.OwnRecord()[3] = kZeroLine;
    if (ctx.SaveKeyStore() == SaveResult::Aborted) return {FlowStatus::Abandoned, 0};
    return {FlowStatus::Failed, 0};
}

}  // namespace

FlowResult RunFirstAffiliation(const AuthorityScope& s, const FlowHooks& hooks) {
    HolderContext& ctx = s.ctx;
    FlowResult result;
    SetInformation(ctx, txt::kEncrypting);
    const std::size_t recordsBefore = ctx.keyStore.size();
    if (!Build(s, Kind::Affiliation, result)) return result;
    // The settings first: a key store written without them is an
    // affiliation lost at the next start. When they cannot be written,
    // nothing of the request is kept.
    const SaveResult settings = hooks.saveSettings ? hooks.saveSettings() : SaveResult::Saved;
    if (settings != SaveResult::Saved) {
        if (ctx.keyStore.size() > recordsBefore) {
            WipeLines(ctx.keyStore.back());
            ctx.keyStore.pop_back();
        }
        s.auth.outgoingBody.clear();
        if (settings == SaveResult::Refused) return {FlowStatus::NotBuilt, txt::kSettingsRefused};
        return {FlowStatus::Abandoned, 0};
    }
    state::AffiliationRequested(ctx);
    if (ctx.SaveKeyStore() == SaveResult::Aborted) return {FlowStatus::Abandoned, 0};
    if (!Run(hooks)) {
        s.auth.requestKind = Kind::Affiliation;
        return {FlowStatus::Failed, 0};
    }
    s.auth.firstAffiliation = true;
    if (!Build(s, Kind::Update, result)) return result;
    if (!Run(hooks)) return MarkUpdatePending(ctx);
    return result;
}

FlowResult RunAffiliationUpdate(const AuthorityScope& s, const FlowHooks& hooks) {
    HolderContext& ctx = s.ctx;
    FlowResult result;
    s.auth.firstAffiliation = false;
    SetInformation(ctx, txt::kEncrypting);
    if (!Build(s, Kind::Update, result)) return result;
    if (!Run(hooks)) {
        result = MarkUpdatePending(ctx);
        if (result.status == FlowStatus::Abandoned) return result;
    }
    const SaveResult settings = hooks.saveSettings ? hooks.saveSettings() : SaveResult::Saved;
    if (settings == SaveResult::Aborted) return {FlowStatus::Abandoned, 0};
    if (settings == SaveResult::Refused) result.problem = txt::kSettingsRefused;
    return result;
}

FlowResult RunKeyRequest(const AuthorityScope& s, const FlowHooks& hooks, const std::string& number,
                         bool update) {
    FlowResult result;
    s.auth.correspondentNumber = number;
    if (!Build(s, update ? Kind::KeyUpdate : Kind::Key, result)) return result;
    if (!Run(hooks)) {
        SetInformation(s.ctx, txt::kIdle);
        return {FlowStatus::Failed, 0};
    }
    return result;
}

FlowResult RunCertificationRequest(const AuthorityScope& s, const FlowHooks& hooks) {
    FlowResult result;
    if (!Build(s, Kind::Certification, result)) return result;
    if (!Run(hooks)) return {FlowStatus::Failed, 0};
    return result;
}

}  // namespace quarnel
