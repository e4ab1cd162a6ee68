// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one way an outgoing message becomes the mail handed to the relay, for
// the sending window and for `quarnel-tool send` alike: the holder's and the
// message's texts, held in code page 1252, are converted once to UTF-8 for
// the header fields, which BuildMail encodes (RFC 2047) where they are not
// ASCII.

#include <string>
#include <string_view>
#include <vector>

#include "holder/holder_context.h"
#include "mail/outgoing_queue.h"
#include "mail/smtp_client.h"

namespace quarnel {

/// The addresses of a recipient address text ("a@x.org, B <b@y.org>; c@z"):
/// split at commas and semicolons, blanks trimmed, the part inside <> when
/// given, empty items left out.
[[nodiscard]] std::vector<std::string> SplitRecipients(std::string_view text);

struct PreparedMail {
    SmtpJob job;  ///< to the holder's relay (SmtpServer), the whole mail built
    /// The recipients as sent, in code page 1252, as the sent log names them.
    std::vector<std::string> recipients;
};

/// The mail of `message` from the holder (address and display name of the
/// settings); an empty subject goes as "-". Throws std::runtime_error naming
/// an attachment that cannot be read.
[[nodiscard]] PreparedMail PrepareMail(const HolderContext& ctx, const OutgoingMessage& message);

}  // namespace quarnel
