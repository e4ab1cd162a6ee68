// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The requests to the TA (kinds 00, 01, 10, 11, 18): one builder for all,
// driven by the request kind of the exchange in progress. User messages are
// built by the message encryption alone (BuildMessageBody).

#include "authority/authority_state.h"
#include "holder/holder_context.h"
#include "messages/message_state.h"

namespace quarnel {

struct BuildResult {
    bool ok = false;
    int problem = 0;  ///< resource number of the reason when not ok
};

/// Rebuilds auth.outgoingBody for auth.requestKind: title line, separator line,
/// the kind's lines, end-marker line. Side effects:
/// - 00: creates the own key record (state 0) or replaces its line 1 with
///   the TA key (repeated request); sets ownDigit and ownNumber;
/// - 00, 01, 18: VersionCode := the program's own version code.
/// Kind 18 carries msgs.certificationData. Any other kind, a user message
/// among them, is refused (kNotARequestKind).
/// When the body cannot be built the body, key store and settings are unchanged.
[[nodiscard]] BuildResult BuildOutgoingBody(HolderContext& ctx, AuthorityState& auth,
                                            const MessageState& msgs);

}  // namespace quarnel
