// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The TA's replies, once the holder accepted them: checks, deciphering, and
// their effects on the key store, the correspondent lists and the program
// state. Results for the windows (information line, caption, list to
// refresh, certificate to show) come back in the outcome and the context.

#include <string>
#include <string_view>

#include "authority/authority_state.h"
#include "crypto/text_cipher.h"
#include "holder/holder_context.h"

namespace quarnel {

/// Why a reply was refused (for tests and logs; the holder sees the caller's
/// failure text).
enum class ReplyRefusal {
    None,
    NoSeparator,       ///< fewer than three lines from the separator line on
    NotAReplyKind,     ///< not 04, 05, 14, 15 or 1C
    NotInThisState,    ///< the program state does not accept this kind
    NotForThisHolder,  ///< positions 22-32 are not the own number
    Malformed,         ///< the structure check failed
    WrongGeneration,   ///< 04: the digit is not the own generation digit
    NoKey,             ///< the own key named by the reply does not exist
    BadSeal,           ///< 04, 05: the seal does not open into the settings digest
    BadSection,        ///< the section does not decipher
    BadCheckValue,     ///< 14, 15: the record check value does not match
    BadRecord,         ///< 14, 15: the record does not fit a list
};

struct ReplyOutcome {
    bool accepted = false;
    ReplyRefusal refusal = ReplyRefusal::None;
    std::optional<Kind> kind;
    /// 04, 05: the caption becomes "Affilié %s" with ctx.ownNumber.
    bool captionChanged = false;
    /// 14, 15: the list whose file was written (the correspondents window
    /// refreshes it when it shows it).
    char listCategory = 0;
    /// 1C: the certificate to show (also in auth.certificateText).
    bool showCertificate = false;
    /// The key store or list save that followed (Saved when none was due).
    SaveResult save = SaveResult::Saved;
};

/// Checks and applies the reply text (as shown in the TA connection window).
[[nodiscard]] ReplyOutcome ProcessTaReply(HolderContext& ctx, AuthorityState& auth,
                                          std::string_view replyText);

/// The same on reply lines (lines before the separator line are ignored):
/// the entry of the received-body dispatcher for kinds 04, 05, 14, 15, 1C.
[[nodiscard]] ReplyOutcome ProcessTaReplyLines(HolderContext& ctx, AuthorityState& auth,
                                               Lines lines);

}  // namespace quarnel
