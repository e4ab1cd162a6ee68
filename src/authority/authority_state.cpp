#include "authority/authority_state.h"

namespace quarnel {

void AuthorityState::Clear() {
    outgoingBody.clear();
    pendingPassword = SecretString();
    taKey.Wipe();
}

}  // namespace quarnel
