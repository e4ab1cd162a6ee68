#pragma once
// The log of sent messages (MsgChifS.dat in the sent-encrypted folder): one
// record per message the relay accepted, never trimmed.

#include <filesystem>
#include <string>
#include <vector>

#include "holder/holder_context.h"
#include "mail/mail_state.h"
#include "mail/outgoing_queue.h"

namespace quarnel {

[[nodiscard]] std::filesystem::path SentLogPath(const HolderContext& ctx);

/// The log record of `message`: when it was sent (the fixed "dd/mm/yyyy
/// hh:nn:ss" of the received log too, whatever the locale), the addressee
/// line, the recipients as sent (joined with ", "), "Objet : " and the
/// subject, then the body without its title line.
[[nodiscard]] Record SentLogRecord(const OutgoingMessage& message, double sentAt,
                                   const std::vector<std::string>& recipients);

/// Appends the record and writes the whole log atomically. The record stays
/// in memory whatever the write gives.
[[nodiscard]] SaveResult LogSentMessage(const HolderContext& ctx, MailState& mail,
                                        const Record& record);

}  // namespace quarnel
