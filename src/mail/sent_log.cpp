#include "mail/sent_log.h"

#include "crypto/datetime.h"
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

SaveResult LogSentMessage(const HolderContext& ctx, MailState& mail, const Record& record) {
    mail.sentLog.push_back(record);
    return SaveRecordList(mail.sentLog, SentLogPath(ctx), ctx.onSaveFailure);
}

}  // namespace quarnel
