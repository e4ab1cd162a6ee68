// SPDX-License-Identifier: GPL-3.0-or-later
#include "authority/authority_state.h"

namespace quarnel {

void AuthorityState::Clear() {
    outgoingBody.clear();
    pendingPassword = SecretString();
    taKey.Wipe();
}

}  // namespace quarnel
