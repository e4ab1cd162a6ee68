// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/outgoing_mail.h"

#include "crypto/cp1252.h"
#include "mail/mime.h"

namespace quarnel {

std::vector<std::string> SplitRecipients(std::string_view text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of(",;", start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view item = text.substr(start, end - start);
        if (const auto open = item.find('<'); open != std::string_view::npos) {
            const auto close = item.find('>', open);
            item =
                item.substr(open + 1, close == std::string_view::npos ? close : close - open - 1);
        }
        while (!item.empty() && (item.front() == ' ' || item.front() == '\t'))
            item.remove_prefix(1);
        while (!item.empty() && (item.back() == ' ' || item.back() == '\t'))
            item.remove_suffix(1);
        if (!item.empty()) out.emplace_back(item);
        start = end + 1;
    }
    return out;
}

PreparedMail PrepareMail(const HolderContext& ctx, const OutgoingMessage& message) {
    PreparedMail out;
    out.recipients = SplitRecipients(message.recipientAddress);
    OutgoingMail mail;
    mail.fromAddress = Cp1252ToUtf8(ctx.email);
    mail.fromName = Cp1252ToUtf8(ctx.displayName);
    mail.subject = message.subject.empty() ? "-" : Cp1252ToUtf8(message.subject);
    for (const std::string& r : out.recipients)
        mail.to.push_back(Cp1252ToUtf8(r));
    mail.bodyLines = message.body;  // declared windows-1252 in its part
    for (const std::string& p : message.attachmentPaths)
        mail.attachments.emplace_back(p);
    out.job.message = BuildMail(mail);
    out.job.server = QString::fromStdString(Cp1252ToUtf8(ctx.settings.smtpServer));
    out.job.heloName = QStringLiteral("IdSMTP");
    out.job.fromAddress = mail.fromAddress;
    out.job.recipients = std::move(mail.to);
    return out;
}

}  // namespace quarnel
