// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Encrypting a user message (kinds 20 and 21) for one correspondent: the
// record check, the pair key, the digest and its signature, three sections,
// and one encrypted file per attachment.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "crypto/text_cipher.h"
#include "crypto/text_stream.h"
#include "holder/holder_context.h"
#include "messages/message_state.h"

namespace quarnel {

/// Why a message could not be encrypted: a resource number and its %s.
struct MessageProblem {
    int text = 0;
    std::string detail;
    bool cancelled = false;  ///< the progress callback stopped it (text 0)
};

/// The message encryption for `kind` (PlainMessage or RichMessage). Reads the
/// recipient (msgs.recipientCategory, msgs.recipientRecord), msgs.attachments,
/// the own settings, key store and own-key facts. Appends to `body` the
/// address line, the key lines, nonce, digest and signature lines, the three
/// sections, the end-marker line and the attachment names; writes the
/// encrypted attachment files into the sent folder (msgs.encryptedAttachments)
/// and sets msgs.recipientAddress.
///
/// Every input is checked before anything is written: on failure `body` is
/// unchanged, no attachment file is left behind and `problem` says why
/// ("Le fichier %s est altéré." with the list file for a record that fails
/// its check, the own key missing, an attachment that cannot be read or
/// named, a record date that is not a date).
///
/// The attachments are streamed, each through a temporary file renamed at
/// its end, in bounded memory whatever their size; `progress` hears the
/// attachment bytes done of their total after each chunk and can stop the
/// work (problem.cancelled, no file left).
[[nodiscard]] bool EncryptMessage(const HolderContext& ctx, MessageState& msgs, Kind kind,
                                  std::string_view messageText, Lines& body,
                                  MessageProblem& problem, const StreamProgress& progress = {});

/// The whole outgoing body of a message of `kind`: its title line in the
/// current language, the separator line, then EncryptMessage. On failure
/// `body` is left empty: a title and a separator alone are never a message.
[[nodiscard]] bool BuildMessageBody(const HolderContext& ctx, MessageState& msgs, Kind kind,
                                    std::string_view messageText, Lines& body,
                                    MessageProblem& problem, const StreamProgress& progress = {});

/// Whether the receiver takes an attachment name (code page 1252) back as it
/// is: no control character, no leading or trailing blank, no "/" or "\",
/// not empty, ".", ".." or the end-marker text.
[[nodiscard]] bool AttachmentNameTravels(const std::string& name);

/// A file name for messages and logs: code page 1252, each character that the
/// code page cannot represent shown as "?".
std::string DisplayName(const std::filesystem::path& path);

}  // namespace quarnel
