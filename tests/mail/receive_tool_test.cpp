// SPDX-License-Identifier: GPL-3.0-or-later
// quarnel-tool receive: a message that one holder's tools encrypted and sent
// through a real SMTP server is fetched from a real POP3 server on the same
// Maildir by the other holder's tool, and decrypted.

#include <gtest/gtest.h>

#include "holder/settings.h"
#include "holder_fixture.h"
#include "mail_servers.h"
#include "protocol/lines.h"
#include "run_command.h"
#include "store/atomic_file.h"

namespace quarnel {
namespace {

using test::Quote;

// quarnel-tool `command` on the data folder of `ctx`.
test::CommandResult Tool(const std::string& command, const ProgramData& ctx,
                         const std::string& args) {
    return test::RunTool(command, ctx.dataFolder, args);
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(ReceiveTool, SentByOneHolderFetchedAndDecryptedByTheOther) {
    for (const std::string& why :
         {test::SmtpServer::MissingReason(), test::Pop3Server::MissingReason()}) {
        if (!why.empty()) GTEST_SKIP() << why;
    }
    test::TempDir root;
    test::InProcessTa ta;
    std::unique_ptr<ProgramData> x, y;
    test::AffiliatePair(root.path(), ta.EveryHolder(), x, y);
    ASSERT_TRUE(x && y);
    test::SmtpServer smtp;
    ASSERT_TRUE(smtp.Running()) << smtp.Log();
    test::Pop3Server pop3(smtp.Maildir(), "dupont", "s3cret");
    ASSERT_TRUE(pop3.Running()) << pop3.Log();
    y->settings.accountName = "dupont";
    y->settings.pop3Server = pop3.Address();
    for (const auto* h : {x.get(), y.get()})
        ASSERT_EQ(SaveSettings(*h, SettingsPath(*h)), SaveResult::Saved);

    const std::string invoice("%PDF\0\xFF", 6);
    ASSERT_TRUE(WriteFileAtomically(root / "m.txt", "Bonjour\r\n.point\r\n"));
    ASSERT_TRUE(WriteFileAtomically(root / "facture.pdf", invoice));
    const auto encrypted = Tool("encrypt", *x,
                                "--to " + y->ownNumber + " " + Quote((root / "m.txt").string()) +
                                    " " + Quote((root / "facture.pdf").string()));
    ASSERT_EQ(encrypted.exitCode, 0) << encrypted.out;
    const auto lines = SplitLines(encrypted.out);
    const std::string body = lines.at(0).substr(6), attachment = lines.at(1).substr(12);
    const auto sent = Tool("send", *x,
                           "--smtp " + smtp.Address() + " --to " + y->ownNumber +
                               " --subject Facture " + Quote(body) + " " + Quote(attachment));
    ASSERT_EQ(sent.exitCode, 0) << sent.out;
    ASSERT_EQ(smtp.Delivered(1).size(), 1U);

    // The password stored at affiliation is not the server's: refused, nothing taken.
    const auto refused = Tool("receive", *y, "");
    EXPECT_EQ(refused.exitCode, 1) << refused.out;
    EXPECT_TRUE(Has(refused.out, "Echec de la connexion au serveur POP3")) << refused.out;
    ASSERT_TRUE(WriteFileAtomically(root / "right", "s3cret\n"));
    EXPECT_EQ(pop3.Count(), 1U);

    const auto got = Tool("receive", *y, "--password-stdin < " + Quote((root / "right").string()));
    ASSERT_EQ(got.exitCode, 0) << got.out;
    for (const char* line : {"Appel\n", "Connexion au serveur POP3\n", "Il y a 1 message.\n",
                             "Réception du message chiffré n°1\n", "objet : Facture\n",
                             "Déconnexion du serveur Pop3\n", "Message déchiffré\n"}) {
        EXPECT_TRUE(Has(got.out, line)) << line << " in\n" << got.out;
    }
    EXPECT_EQ(pop3.Count(), 0U);
    EXPECT_TRUE(Has(got.out, "affiliation: " + x->ownNumber + "\n")) << got.out;
    const auto decrypted = PathFromSetting(y->settings.decryptedFilesFolder) / "facture.pdf";
    EXPECT_EQ(ReadWholeFile(decrypted), invoice);
    RecordList log;
    ASSERT_TRUE(
        LoadRecordList(PathFromSetting(y->settings.receivedEncryptedFolder) / "MsgChifE.dat", log));
    EXPECT_EQ(log.size(), 1U);
}

}  // namespace
}  // namespace quarnel
