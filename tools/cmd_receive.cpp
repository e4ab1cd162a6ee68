// SPDX-License-Identifier: GPL-3.0-or-later
// receive: the holder's mail fetched by POP3 and sorted as "Retirer" does,
// then each accepted message decrypted as "Déchiffrer" does.

#include <QCoreApplication>
#include <QEventLoop>

#include <iostream>
#include <memory>

#include "cmd_messages.h"
#include "crypto/cp1252.h"
#include "holder_folder.h"
#include "mail/incoming.h"
#include "mail/pop3_texts.h"
#include "resources/texts.h"
#include "tool_support.h"

namespace quarnel::tool {

int RunReceiveCommand(Args& args) {
    const std::string dir = args.RequiredOption("--data");
    const auto pop3 = args.Option("--pop3");
    const bool passwordFromStdin = args.Flag("--password-stdin");
    (void)args.Positional(0, 0);

    HolderContext ctx;
    const auto lock = LoadHolderFolder(dir, ctx, FolderUse::Writes);
    if (pop3) {
        if (!Utf8ToCp1252(*pop3, ctx.settings.pop3Server)) {
            throw UsageError("the --pop3 address has characters code page 1252 cannot hold");
        }
    }
    std::optional<SecretString> password;
    if (passwordFromStdin) {
        password.emplace();
        if (!std::getline(std::cin, **password) || (*password)->empty()) {
            throw UsageError("--password-stdin: no password on standard input");
        }
        if (!(*password)->empty() && (*password)->back() == '\r') (*password)->pop_back();
    }
    MailState mail;

    int argc = 1;
    char name[] = "quarnel-tool";
    char* argv[] = {name, nullptr};
    std::unique_ptr<QCoreApplication> app;
    if (!QCoreApplication::instance()) app = std::make_unique<QCoreApplication>(argc, argv);
    DecryptionQueue queue;
    MailRetrieval retrieval(ctx, mail, queue);
    if (password) retrieval.SetPassword(std::move(*password));
    QEventLoop loop;
    QObject::connect(&retrieval, &MailRetrieval::logged, [](int id, const QString& detail) {
        // Each line as it comes, for a long transfer.
        std::cout << Escaped(FrenchLogLine(id, detail).toStdString()) << std::endl;
    });
    QObject::connect(&retrieval, &MailRetrieval::error, [](const QString& text) {
        std::cout << "error: " << Escaped(text.toStdString()) << '\n';
    });
    QObject::connect(&retrieval, &MailRetrieval::finished,
                     [&](const RetrievalOutcome&) { loop.quit(); });
    retrieval.Start();
    if (retrieval.running()) loop.exec();
    const RetrievalOutcome o = retrieval.outcome();
    std::cout << "accepted: " << o.accepted << '\n';
    std::cout.flush();

    int status = o.complete && (o.accepted == 0 || o.logSaved) ? 0 : 1;
    while (!queue.empty()) {
        Lines entry = std::move(queue.front());
        queue.erase(queue.begin());
        std::cout << "subject: " << Escaped(Cp1252ToUtf8(entry.front())) << '\n';
        entry.erase(entry.begin());
        MessageState msgs;
        std::cout << FrenchText(txt::kPop3Decrypting) << '\n';
        const int r = DecryptReceivedBody(ctx, msgs, std::move(entry), {});
        std::cout << FrenchText(r == 0 ? txt::kPop3Decrypted : txt::kPop3Altered) << '\n';
        if (r != 0) status = 1;
    }
    return status;
}

}  // namespace quarnel::tool
