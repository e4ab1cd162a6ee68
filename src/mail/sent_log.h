// SPDX-License-Identifier: GPL-3.0-or-later
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

/// Appends the record to the log file (SaveLog). The record stays in memory,
/// to be written by a later save, whatever the write gives.
[[nodiscard]] SaveResult LogSentMessage(HolderContext& ctx, MailState& mail, const Record& record);

/// Appends the records waiting in `log` to its file at `path`, long work on
/// the holder's runner; a damaged file moved aside is told under the
/// information line.
[[nodiscard]] SaveResult SaveLog(HolderContext& ctx, RecordLog& log,
                                 const std::filesystem::path& path);

}  // namespace quarnel
