#pragma once
// The sequences that send requests to the TA, as the main window, the
// correspondents window and the certification run them once their dialog was
// confirmed: build the body, run the exchange, and handle a failure (state 1,
// state 5 with the seal zeroed, "En attente").

#include <functional>
#include <string>

#include "store/holder_context.h"

namespace quarnel {

/// The request driver: shows the TA connection window with ctx.outgoingBody,
/// and returns true only when the holder accepted a reply that
/// ProcessTaReply took.
using RequestDriver = std::function<bool(HolderContext&)>;

struct FlowHooks {
    RequestDriver runExchange;
    /// Saves QuarnelTit.ini (the shell's settings writer).
    std::function<SaveResult()> saveSettings;
};

enum class FlowStatus {
    Done,       ///< every exchange succeeded
    Failed,     ///< an exchange failed; the failure was recorded as designed
    NotBuilt,   ///< the body could not be built (`problem` says why); nothing changed
    Abandoned,  ///< a save failed and the holder chose Abort
};

struct FlowResult {
    FlowStatus status = FlowStatus::Done;
    int problem = 0;  ///< resource number, for NotBuilt
};

/// After the affiliation form of a first affiliation (states 0 and 1):
/// request 00, state 1, key store and settings saved, exchange; then the
/// acknowledgement 01, whose failure leaves state 5 with line 3 zeroed.
FlowResult RunFirstAffiliation(HolderContext& ctx, const FlowHooks& hooks);

/// After the affiliation form in update mode: request 01; a failure leaves
/// state 5 with line 3 zeroed; the settings are saved in every case.
FlowResult RunAffiliationUpdate(HolderContext& ctx, const FlowHooks& hooks);

/// Request 10 (or 11 when `update`) for `number`; a failure shows "En attente".
FlowResult RunKeyRequest(HolderContext& ctx, const FlowHooks& hooks, const std::string& number,
                         bool update);

/// Request 18 with ctx.certificationData.
FlowResult RunCertificationRequest(HolderContext& ctx, const FlowHooks& hooks);

}  // namespace quarnel
