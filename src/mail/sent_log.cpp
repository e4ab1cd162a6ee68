// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/sent_log.h"

#include "crypto/datetime.h"
#include "holder/program_state.h"
#include "store/record_list.h"

namespace quarnel {

std::filesystem::path SentLogPath(const HolderContext& ctx) {
    return PathFromSetting(ctx.settings.sentEncryptedFolder) / "MsgChifS.dat";
}

Record SentLogRecord(const OutgoingMessage& message, double sentAt,
                     const std::vector<std::string>& recipients) {
    std::string to;
    for (const std::string& r : recipients)
        to += (to.empty() ? "" : ", ") + r;
    Record r{DateTimeText(sentAt), message.addresseeLine, to, "Objet : " + message.subject};
    if (!message.body.empty()) r.insert(r.end(), message.body.begin() + 1, message.body.end());
    // A record line cannot hold a line break.
    for (std::string& line : r)
        for (char& c : line)
            if (c == '\r' || c == '\n') c = ' ';
    return r;
}

SaveResult LogSentMessage(HolderContext& ctx, MailState& mail, const Record& record) {
    mail.sentLog.Add(record);
    return SaveLog(ctx, mail.sentLog, SentLogPath(ctx));
}

SaveResult SaveLog(HolderContext& ctx, RecordLog& log, const std::filesystem::path& path) {
    std::filesystem::path kept;
    const SaveResult result =
        log.Save(path, ctx.Hooks().onSaveFailure, ctx.Hooks().saveRunner, &kept);
    if (!kept.empty()) NoteKeptDamagedList(ctx, kept);
    return result;
}

}  // namespace quarnel
