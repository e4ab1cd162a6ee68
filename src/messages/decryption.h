// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Received bodies: taking them apart, the structure check, the dispatch of
// the TA's replies, and the decryption and verification of user messages.

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "crypto/text_cipher.h"
#include "crypto/text_stream.h"
#include "holder/holder_context.h"
#include "messages/message_state.h"
#include "resources/texts.h"

namespace quarnel {

/// How long after its message's moment of encryption an attachment's own
/// moment may lie (the sender takes the clock anew for each file it
/// enciphers, and large files take time), and how far before it, for a clock
/// set back meanwhile.
inline constexpr std::chrono::hours kAttachmentMomentWindow{1};
inline constexpr std::chrono::minutes kAttachmentClockSlack{2};

/// Where a received encrypted attachment file is, by its (already safe)
/// name; nothing when it is missing. The file is streamed whatever its size.
/// Without a source, the folder for received encrypted files.
using AttachmentSource =
    std::function<std::optional<std::filesystem::path>(const std::string& name)>;

/// The processing of the TA's replies (kinds 04, 05, 14, 15, 1C): the caller
/// wires it to the authority's reply entry. Gets the checked body (separator
/// line first); true when the reply was taken.
using TaReplyHandler = std::function<bool(const Lines& body)>;

/// Why a received body gave false (for logs and tests; the holder sees the
/// caller's "Message altéré").
enum class ReceiveRefusal {
    None,
    Malformed,            ///< the structure check failed
    TooManyAttachments,   ///< more than kMaxAttachmentNames names after the end marker
    UnknownKind,          ///< neither a reply of the TA nor a user message
    ReplyRefused,         ///< the reply processing did not take it
    NotForThisHolder,     ///< the address line names another recipient
    NoKey,                ///< no own key record for the digit the sender used
    BadSection,           ///< section 1 or 2 does not decipher
    DigestMismatch,       ///< the message digest does not verify
    BadRecipientSection,  ///< section 3 does not check, or lines follow it
    Cancelled,            ///< the person stopped the attachments: nothing kept
};

/// What became of an incoming block (a reply of the TA or a message) handed
/// to its processing.
enum class BlockOutcome {
    Taken,      ///< processed: a reply applied, or a message decrypted and shown
    Refused,    ///< refused ("Message altéré" is the caller's)
    Cancelled,  ///< the person stopped the decryption: nothing kept, nothing shown
};

struct ReceiveOutcome {
    bool ok = false;
    std::optional<Kind> kind;
    ReceiveRefusal refusal = ReceiveRefusal::None;
    std::string problem;     ///< the structure check's reason
    bool cancelled = false;  ///< the attachments were stopped: none kept, not ok
};

/// Read received body: the attachment names after the end-marker line go to
/// msgs.receivedAttachmentNames (empty lines and trailing blanks dropped; more
/// than kMaxAttachmentNames refuse the body before anything is written), the
/// structure is checked, replies go to `onReply`, messages to DecryptMessage.
///
/// With `onlyAttachment`, only the attachment at that place of the names is
/// written (a message opened again, whose files are written when the holder
/// asks for them); those before it are deciphered all the same, for the
/// generator to reach it, and thrown away, and those after it are not read.
[[nodiscard]] ReceiveOutcome ReadReceivedBody(HolderContext& ctx, MessageState& msgs, Lines body,
                                              const TaReplyHandler& onReply,
                                              const AttachmentSource& attachments = {},
                                              const StreamProgress& progress = {},
                                              std::optional<std::size_t> onlyAttachment = {});

/// Decrypt message (kinds 20 and 21, `body` checked, separator line first).
/// On success msgs.decrypted and msgs.certificationData hold the message and
/// the attachments named in msgs.receivedAttachmentNames are deciphered into
/// the decrypted-files folder, each under a free name (FreeFileName): no
/// existing file and none of the holder's own files is ever replaced.
/// Nothing reaches the disk unless the digest verified; on failure the
/// context keeps the previous message.
///
/// Without `attachments` the files of the received folder are streamed, in
/// bounded memory, each into a temporary file renamed once its last block
/// deciphered; one that does not decipher gives an empty file and a notice.
/// `progress` hears the bytes read of their total after each chunk and can
/// stop: then no attachment file is kept, the context keeps the previous
/// message, `cancelled` is set and the result is Cancelled.
[[nodiscard]] ReceiveRefusal DecryptMessage(HolderContext& ctx, MessageState& msgs,
                                            const Lines& body, const AttachmentSource& attachments,
                                            const StreamProgress& progress = {},
                                            bool* cancelled = nullptr,
                                            std::optional<std::size_t> onlyAttachment = {});

/// The name under which a received attachment is read and written: its last
/// path component. Nothing for a name that is then empty, "." or "..", or
/// holds a control character.
std::optional<std::string> SafeAttachmentName(const std::string& received);

/// The sender's fields as the viewers show them, by category (A; C, D, F with
/// the firm line) and the registration verdict. Affiliation, date and time are
/// the caller's.
SenderView ViewOfSender(char category, char registrationFlag,
                        const std::vector<std::string>& fields);

/// onlyAttachment of a message opened again: every attachment deciphered
/// and checked (what was wrong with them told), none written.
inline constexpr std::size_t kNoAttachmentWritten = std::size_t(-1);

/// A text of the current language by resource number, code page 1252.
using TextLookup = std::function<std::string(int)>;

/// The header text saved and printed before a decrypted message.
Lines HeaderText(const DecryptedMessage& message, const TextLookup& text = FrenchTextCp1252);

}  // namespace quarnel
