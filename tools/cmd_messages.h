// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Decrypting a received body from the command line, shared by decrypt and
// receive.

#include <functional>

#include "holder/holder_context.h"
#include "messages/decryption.h"
#include "messages/message_state.h"
#include "tool_support.h"

namespace quarnel::tool {

/// Reads and decrypts `body` as "Déchiffrer" does, saves the message in the
/// decrypted-messages folder and prints it; `afterRead` runs once the body
/// was read (its attachment names known). 0 when it verified, 1 when refused.
int DecryptReceivedBody(HolderContext& ctx, MessageState& msgs, Lines body,
                        const AttachmentSource& source,
                        const std::function<void()>& afterRead = {});

/// receive --data DIR [--pop3 HOST[:PORT]] [--password-stdin]
int RunReceiveCommand(Args& args);

}  // namespace quarnel::tool
