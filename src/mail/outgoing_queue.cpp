// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/outgoing_queue.h"

#include <algorithm>
#include <iterator>

#include "protocol/body.h"
#include "store/record_list.h"

namespace quarnel {

namespace {

std::string OneLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

}  // namespace

std::filesystem::path OutgoingQueuePath(const HolderContext& ctx) {
    return ctx.dataFolder / "QuarnelTit.msg";
}

Record QueueRecord(const OutgoingMessage& message) {
    Record r;
    r.reserve(4 + message.body.size() + message.attachmentPaths.size());
    r.push_back(OneLine(message.addresseeLine));
    r.push_back(OneLine(message.recipientAddress));
    r.push_back(OneLine(message.subject));
    r.insert(r.end(), message.body.begin(), message.body.end());
    if (!message.attachmentPaths.empty()) {
        r.push_back(kEndMarkerLine);
        r.insert(r.end(), message.attachmentPaths.begin(), message.attachmentPaths.end());
    }
    return r;
}

std::optional<OutgoingMessage> MessageOfQueueRecord(const Record& record) {
    if (record.size() < 4) return std::nullopt;
    OutgoingMessage m;
    m.addresseeLine = record[0];
    m.recipientAddress = record[1];
    m.subject = record[2];
    // A body ends with its own end marker, or with the attachment names that
    // follow it; the paths come after a second end marker.
    std::size_t end = record.size();
    while (end > 3 && !IsEndMarkerLine(record[end - 1]))
        --end;
    if (end == 3) return std::nullopt;  // no end marker at all: not a body
    if (end < record.size()) {
        // Lines after the last marker: attachment paths, that marker being the
        // queue's own, unless the body's names follow its only marker.
        const auto markers = std::count_if(record.begin() + 3, record.begin() + end,
                                           [](const std::string& l) { return IsEndMarkerLine(l); });
        if (markers >= 2) {
            if (record.size() - end > kMaxQueuedAttachments) return std::nullopt;
            m.attachmentPaths.assign(record.begin() + std::ptrdiff_t(end), record.end());
            m.body.assign(record.begin() + 3, record.begin() + std::ptrdiff_t(end) - 1);
            return m;
        }
    }
    m.body.assign(record.begin() + 3, record.end());
    return m;
}

SaveResult QueueMessage(const HolderContext& ctx, MailState& mail, const OutgoingMessage& message) {
    mail.outgoingQueue.push_back(QueueRecord(message));
    return SaveRecordList(mail.outgoingQueue, OutgoingQueuePath(ctx), ctx.Hooks().onSaveFailure,
                          ctx.Hooks().saveRunner);
}

std::optional<OutgoingMessage> TakeFirstQueued(MailState& mail) {
    auto& queue = mail.outgoingQueue;
    std::optional<OutgoingMessage> taken;
    auto it = queue.begin();
    for (; it != queue.end() && !taken; ++it)
        taken = MessageOfQueueRecord(*it);
    if (!taken) {
        mail.queueMode = false;
        return std::nullopt;
    }
    queue.erase(std::prev(it));
    mail.queueMode = std::any_of(queue.begin(), queue.end(), [](const Record& r) {
        return MessageOfQueueRecord(r).has_value();
    });
    return taken;
}

SaveResult SaveOutgoingQueue(const HolderContext& ctx, const MailState& mail) {
    return SaveRecordList(mail.outgoingQueue, OutgoingQueuePath(ctx), ctx.Hooks().onSaveFailure,
                          ctx.Hooks().saveRunner);
}

SaveResult PutBackAtHead(const HolderContext& ctx, MailState& mail,
                         const OutgoingMessage& message) {
    mail.outgoingQueue.insert(mail.outgoingQueue.begin(), QueueRecord(message));
    return SaveRecordList(mail.outgoingQueue, OutgoingQueuePath(ctx), ctx.Hooks().onSaveFailure,
                          ctx.Hooks().saveRunner);
}

}  // namespace quarnel
