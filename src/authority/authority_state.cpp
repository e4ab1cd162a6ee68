#include "authority/authority_state.h"

#include "crypto/random.h"
#include "crypto/secret.h"

namespace quarnel {

AuthorityState::~AuthorityState() {
    Clear();
}

void AuthorityState::Clear() {
    outgoingBody.clear();
    WipeString(pendingPassword);
    pendingPassword.clear();
    WipeQuad(taKey);
}

}  // namespace quarnel
