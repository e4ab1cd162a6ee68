#include "mail/outgoing_mail.h"

#include "crypto/cp1252.h"
#include "mail/mime.h"

namespace quarnel {

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
