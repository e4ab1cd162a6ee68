// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The authority subsystem's data: the request in progress, the key set-up
// results the affiliation request carries, the request's body and the last
// certificate delivered.

#include <optional>
#include <string>

#include "crypto/secret.h"
#include "crypto/text_cipher.h"
#include "crypto/types.h"
#include "protocol/kinds.h"

namespace quarnel {

struct AuthorityState {
    AuthorityState() = default;
    AuthorityState(const AuthorityState&) = delete;
    AuthorityState& operator=(const AuthorityState&) = delete;
    ~AuthorityState() = default;

    // --- the request in progress
    std::optional<Kind> requestKind;  ///< nothing when idle
    std::string correspondentNumber;  ///< for key requests (kinds 10, 11)
    bool firstAffiliation = false;    ///< kind 01 acknowledges the private key

    // --- key set-up results (options dialog), used by the affiliation request
    std::string publicHex;  ///< the holder's public value, 256 digits
    Quad publicDigest{};
    SecretQuad taKey;
    /// Typed at initialisation, stored by the private-key reply.
    SecretString pendingPassword;

    /// The request's body, as built and sent.
    Lines outgoingBody;
    /// The last certificate delivered (kind 1C), for the certificate viewer.
    std::string certificateText;

    /// Frees the body and wipes the secrets (at the end of the run).
    void Clear();
};

}  // namespace quarnel
