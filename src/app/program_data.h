// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything one run of the program holds: the holder core, and each
// subsystem's own data beside it. Composed here, on top; each layer is handed
// only what it needs (the core as HolderContext&, a subsystem its struct).

#include "authority/authority_state.h"
#include "holder/holder_context.h"
#include "mail/mail_state.h"
#include "messages/message_state.h"

namespace quarnel {

struct ProgramData : HolderContext {
    AuthorityState authority;
    MessageState messages;
    MailState mail;
};

}  // namespace quarnel
