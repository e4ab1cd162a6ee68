#pragma once
// Outgoing bodies: the requests to the TA (kinds 00, 01, 10, 11, 18) and,
// through the message encryption, the user messages (kinds 20, 21). One
// builder for all, driven by the holder context's request kind.

#include <string>
#include <string_view>

#include "authority/authority_state.h"
#include "holder/holder_context.h"
#include "messages/message_state.h"

namespace quarnel {

struct BuildResult {
    bool ok = false;
    int problem = 0;  ///< resource number of the reason when not ok
};

/// Rebuilds auth.outgoingBody for auth.requestKind: title line, separator line,
/// the kind's lines, end-marker line. Side effects, for requests:
/// - 00: creates the own key record (state 0) or replaces its line 1 with
///   the TA key (repeated request); sets ownDigit and ownNumber;
/// - 00, 01, 18: VersionCode := the program's own version code.
/// Kinds 20 and 21 are BuildMessageBody of `messageText` (the reason of a
/// refusal's %s in msgs.problemDetail).
/// When the body cannot be built the key store and settings are unchanged.
[[nodiscard]] BuildResult BuildOutgoingBody(HolderContext& ctx, AuthorityState& auth,
                                            MessageState& msgs, std::string_view messageText = {});

}  // namespace quarnel
