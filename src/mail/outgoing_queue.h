// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The outgoing queue (QuarnelTit.msg in the data folder): encrypted messages
// waiting to be sent, one record each: the addressee line, the recipient
// address, the subject, the body lines, then, only when there are
// attachments, an end-marker line and the attachment paths.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "crypto/records.h"
#include "holder/holder_context.h"
#include "mail/mail_state.h"

namespace quarnel {

/// The most attachment paths one queued message may carry (as many names as a
/// received body may list).
inline constexpr std::size_t kMaxQueuedAttachments = 1000;

/// A message ready to be sent.
struct OutgoingMessage {
    std::string addresseeLine;
    std::string recipientAddress;
    std::string subject;
    std::vector<std::string> body;  ///< title line first, then the body's own end marker and names
    std::vector<std::string> attachmentPaths;
    bool operator==(const OutgoingMessage&) const = default;
};

/// The file of the queue.
[[nodiscard]] std::filesystem::path OutgoingQueuePath(const HolderContext& ctx);

/// The queue record of `message`; a line break inside the addressee line,
/// address or subject becomes a blank, since a record line cannot hold one.
[[nodiscard]] Record QueueRecord(const OutgoingMessage& message);

/// The message of a queue record; nothing for a record of fewer than four
/// lines or with more than kMaxQueuedAttachments paths.
[[nodiscard]] std::optional<OutgoingMessage> MessageOfQueueRecord(const Record& record);

/// Appends `message` at the end of the queue and writes the whole queue
/// atomically (the holder's save-failure decision on failure; a large queue
/// is written from a copy on the holder's save runner). The message
/// stays queued in memory whatever the write gives, so that it is not lost
/// during this run.
[[nodiscard]] SaveResult QueueMessage(const HolderContext& ctx, MailState& mail,
                                      const OutgoingMessage& message);

/// Takes the first readable queued message out for display, in memory only:
/// the file keeps it until it is sent (SaveOutgoingQueue), queued again or
/// put back, so that a crash meanwhile loses nothing. A record that is no
/// message stays where it is. Queue mode ends when no readable message is
/// left behind it. Nothing when none is queued.
[[nodiscard]] std::optional<OutgoingMessage> TakeFirstQueued(MailState& mail);

/// Writes the whole queue atomically, as QueueMessage does.
[[nodiscard]] SaveResult SaveOutgoingQueue(const HolderContext& ctx, const MailState& mail);

/// Puts a message taken out for display, and not sent, back at the head of
/// the queue and writes it (a failed or cancelled send never loses it).
[[nodiscard]] SaveResult PutBackAtHead(const HolderContext& ctx, MailState& mail,
                                       const OutgoingMessage& message);

}  // namespace quarnel
