// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sequences that send requests to the TA, as the main window, the
// correspondents window and the certification run them once their dialog was
// confirmed: build the body, run the exchange, and handle a failure (state 1,
// state 5 with the seal zeroed, "En attente").

#include <functional>
#include <string>

#include "authority/authority_state.h"
#include "holder/holder_context.h"
#include "messages/message_state.h"

namespace quarnel {

/// The request driver: shows the TA connection window with auth.outgoingBody,
/// and returns true only when the holder accepted a reply that
/// ProcessTaReply took.
using RequestDriver = std::function<bool()>;

/// What the sequences read and change: the holder core, the exchange in
/// progress, and the messages' data (request 18 carries the message to
/// certify).
struct AuthorityScope {
    HolderContext& ctx;
    AuthorityState& auth;
    MessageState& msgs;
};

struct FlowHooks {
    RequestDriver runExchange;
    /// Saves QuarnelTit.ini (the shell's settings writer).
    std::function<SaveResult()> saveSettings;
};

enum class FlowStatus {
    Done,       ///< every exchange succeeded
    Failed,     ///< an exchange failed; the failure was recorded (state, seal, information line)
    NotBuilt,   ///< the body could not be built (`problem` says why); nothing changed
    Abandoned,  ///< a save failed and the holder chose Abort
};

struct FlowResult {
    FlowStatus status = FlowStatus::Done;
    /// Resource number of what the holder is told: why the body was not built,
    /// or that the settings file could not be written (kSettingsRefused).
    int problem = 0;
};

/// After the affiliation form of a first affiliation (states 0 and 1):
/// request 00, the settings saved, and only then state 1 and the key store
/// saved (settings that cannot be written leave both as they were); the
/// exchange; then the acknowledgement 01, whose failure leaves state 5 with
/// line 3 zeroed.
FlowResult RunFirstAffiliation(const AuthorityScope& s, const FlowHooks& hooks);

/// After the affiliation form in update mode: request 01; a failure leaves
/// state 5 with line 3 zeroed; the settings are saved in every case.
FlowResult RunAffiliationUpdate(const AuthorityScope& s, const FlowHooks& hooks);

/// Request 10 (or 11 when `update`) for `number`; a failure shows "En attente".
FlowResult RunKeyRequest(const AuthorityScope& s, const FlowHooks& hooks, const std::string& number,
                         bool update);

/// Request 18 with msgs.certificationData.
FlowResult RunCertificationRequest(const AuthorityScope& s, const FlowHooks& hooks);

}  // namespace quarnel
