// SPDX-License-Identifier: GPL-3.0-or-later
// send: a body made by encrypt, and its encrypted attachments, handed to an
// SMTP relay as the sending window does, one log line per step.

#include <QCoreApplication>
#include <QEventLoop>
#include <algorithm>
#include <iostream>
#include <memory>

#include "crypto/cp1252.h"
#include "crypto/own_keys.h"
#include "holder/settings.h"
#include "holder_folder.h"
#include "mail/mail_tls.h"
#include "mail/outgoing_mail.h"
#include "mail/smtp_client.h"
#include "mail/texts.h"
#include "protocol/body.h"
#include "protocol/lines.h"
#include "resources/texts.h"
#include "store/atomic_file.h"
#include "store/correspondents.h"
#include "tool_support.h"

namespace quarnel::tool {
namespace {

// The address of correspondent `number` in the holder's lists (code page 1252).
std::string AddressOfCorrespondent(const HolderContext& ctx, const std::string& number) {
    for (const char c : {'A', 'D', 'F'}) {
        const int found = FindCorrespondent(ctx.correspondents, c, number);
        if (found < 0) continue;
        const Record& record = (*ctx.correspondents.ForCategory(c))[std::size_t(found)];
        return record[LayoutFor(c)->numberLine - 1];
    }
    throw UsageError("no correspondent " + number + " in the holder's lists");
}

// The recipient number of the body's address line (the line after the
// separator).
std::string RecipientNumberOfBody(const Lines& body) {
    const auto sep = std::find(body.begin(), body.end(), kSeparatorLine);
    AddressFields fields;
    if (sep == body.end() || sep + 1 == body.end() || !ParseAddressLine(*(sep + 1), fields)) {
        throw UsageError("the body has no address line: give --to");
    }
    return fields.recipientNumber;
}

// The attachment names the body lists after its end-marker line, in the
// holder's sent folder where encrypt wrote them.
std::vector<std::filesystem::path> AttachmentsOfBody(const HolderContext& ctx, const Lines& body) {
    std::vector<std::filesystem::path> out;
    const auto end = std::find_if(body.rbegin(), body.rend(), IsEndMarkerLine);
    if (end == body.rend()) return out;
    const std::filesystem::path folder = PathFromSetting(ctx.settings.sentEncryptedFolder);
    for (auto name = end.base(); name != body.end(); ++name) {
        if (!name->empty()) out.push_back(folder / Cp1252ToUtf8(*name));
    }
    return out;
}

}  // namespace

int RunSendCommand(Args& args) {
    const std::string dir = args.RequiredOption("--data");
    const auto smtp = args.Option("--smtp");
    const auto to = args.Option("--to");
    const auto subject = args.Option("--subject");
    const bool passwordFromStdin = args.Flag("--password-stdin");
    const auto files = args.Positional(1, 1 + kMaxAttachmentArgs);
    std::vector<std::filesystem::path> attachments;
    for (std::size_t i = 1; i < files.size(); ++i) {
        attachments.push_back(std::filesystem::absolute(files[i]));
    }
    const std::string body = ReadFile(std::filesystem::absolute(files[0]));

    HolderContext ctx;
    const auto lock = LoadHolderFolder(dir, ctx, FolderUse::Writes);
    const Lines lines = SplitLines(body);
    // The message as the sending window holds it: texts in code page 1252.
    const auto cp1252 = [](const std::string& utf8, const char* what) {
        std::string out;
        if (!Utf8ToCp1252(utf8, out)) {
            throw UsageError(std::string(what) + " has characters code page 1252 cannot hold");
        }
        return out;
    };
    OutgoingMessage message;
    message.recipientAddress = !to ? AddressOfCorrespondent(ctx, RecipientNumberOfBody(lines))
                               : to->find('@') != std::string::npos
                                   ? cp1252(*to, "--to")
                                   : AddressOfCorrespondent(ctx, *to);
    message.subject = subject ? cp1252(*subject, "the subject") : std::string();
    message.body = lines;
    if (attachments.empty()) attachments = AttachmentsOfBody(ctx, lines);
    for (const auto& a : attachments)
        message.attachmentPaths.push_back(a.string());
    if (smtp) ctx.settings.smtpServer = cp1252(*smtp, "--smtp");
    // AUTH only goes over TLS, with the stored mail password unless one is given.
    SecretString password;
    if (passwordFromStdin) {
        if (!std::getline(std::cin, *password) || password->empty()) {
            throw UsageError("--password-stdin: no password on standard input");
        }
        if (password->back() == '\r') password->pop_back();
    } else if (ctx.keyStore.empty() || !ReadMailPassword(ctx.keyStore, ctx.ownDigit, *password)) {
        password->clear();
    }
    SmtpJob job;
    try {
        job = PrepareMail(ctx, message).job;
    } catch (const std::runtime_error& e) {
        throw UsageError(
            Escaped(FillPlaceholders(FrenchText(txt::kSmtpAttachmentUnreadable), {e.what()})));
    }

    int argc = 1;
    char name[] = "quarnel-tool";
    char* argv[] = {name, nullptr};
    std::unique_ptr<QCoreApplication> app;
    if (!QCoreApplication::instance()) app = std::make_unique<QCoreApplication>(argc, argv);
    SmtpClient client;
    client.SetCredentials(Cp1252ToUtf8(ctx.settings.accountName), std::move(password));
    // The data folder as the holder was loaded from it: `dir` may be relative
    // to a folder left since.
    client.SetExtraAuthorities(ctx.dataFolder / kExtraAuthorityFile);
    QEventLoop loop;
    bool transferred = false;
    QObject::connect(&client, &SmtpClient::logged, [](int id, const QString& detail) {
        std::cout << Escaped(FrenchLogLine(id, detail).toStdString()) << std::endl;
    });
    QObject::connect(&client, &SmtpClient::finished, [&](const SessionResult& result) {
        if (!result.why.isEmpty())
            std::cout << "error: " << Escaped(result.why.toStdString()) << '\n';
        transferred = result.completed;
        loop.quit();
    });
    std::cout << "size: " << job.message.size() << '\n';
    client.Start(std::move(job));
    if (client.IsRunning()) loop.exec();
    std::cout.flush();
    return transferred ? 0 : 1;
}

}  // namespace quarnel::tool
