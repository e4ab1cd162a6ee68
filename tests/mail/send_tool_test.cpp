// SPDX-License-Identifier: GPL-3.0-or-later
// quarnel-tool send: a message encrypted by one holder, sent to a real SMTP
// server on loopback as that holder, and what the server delivered.

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

Lines Values(const std::string& out, const std::string& key) {
    return test::OutputValues(out, key);
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(SendTool, EncryptedMessageReachesTheServerAndFailuresExitNonZero) {
    if (const std::string why = test::SmtpServer::MissingReason(); !why.empty()) {
        GTEST_SKIP() << why;
    }
    test::TempDir root;
    test::InProcessTa ta;
    std::unique_ptr<ProgramData> x, y;
    test::AffiliatePair(root.path(), ta.EveryHolder(), x, y);
    ASSERT_TRUE(x && y);
    for (const auto* h : {x.get(), y.get()})
        ASSERT_EQ(SaveSettings(*h, SettingsPath(*h)), SaveResult::Saved);
    const auto file = [&](const std::string& name, const std::string& bytes) {
        EXPECT_TRUE(WriteFileAtomically(root / name, bytes));
        return Quote((root / name).string());
    };
    const auto encrypted =
        Tool("encrypt", *x,
             "--to " + y->ownNumber + " " + file("m.txt", "Bonjour\r\n.point\r\n") + " " +
                 file("facture.pdf", std::string("%PDF\0\xFF", 6)));
    ASSERT_EQ(encrypted.exitCode, 0) << encrypted.out;
    const std::string body = Values(encrypted.out, "body").at(0);
    const std::string attachment = Values(encrypted.out, "attachment").at(0);

    test::SmtpServer server;
    ASSERT_TRUE(server.Running()) << server.Log();
    // The recipient and the attachment as the body names them.
    const auto sent =
        Tool("send", *x, "--smtp " + server.Address() + " --subject 'Facture' " + Quote(body));
    ASSERT_EQ(sent.exitCode, 0) << sent.out;
    for (const char* line :
         {"Appel", "Connexion au transmetteur SMTP", "Transmission du message chiffré en cours",
          "Message bien transmis", "Déconnexion du transmetteur SMTP"}) {
        EXPECT_TRUE(Has(sent.out, std::string(line) + "\n")) << line << " in\n" << sent.out;
    }
    const auto delivered = server.Delivered(1);
    ASSERT_EQ(delivered.size(), 1u);
    const std::string& mail = delivered[0];
    EXPECT_TRUE(Has(mail, "X-Mailer: QuarnelSys"));
    EXPECT_TRUE(Has(mail, "Subject: Facture"));
    const std::string yAddress = y->settings.identity[9];  // a private person's e-mail line
    EXPECT_TRUE(Has(mail, "To: " + yAddress)) << mail;
    EXPECT_TRUE(Has(
        mail, "From: MARTIN claire <" + x->settings.identity[11] + ">\n"));  // surname, first names
    // Every body line as it was written (the Maildir keeps LF line ends).
    for (const auto& line : SplitLines(*ReadWholeFile(body))) {
        EXPECT_TRUE(Has(mail, "\n" + line + "\n")) << line;
    }
    EXPECT_TRUE(Has(mail, "filename=" + std::filesystem::path(attachment).filename().string()));

    // Nothing listens on a freed port; a missing attachment is refused
    // before any connection.
    const auto refused = Tool("send", *x,
                              "--smtp 127.0.0.1:" + std::to_string(test::FreePort()) + " --to " +
                                  y->ownNumber + " " + Quote(body));
    EXPECT_EQ(refused.exitCode, 1) << refused.out;
    EXPECT_TRUE(Has(refused.out, "Echec de la connexion au transmetteur SMTP"));
    const auto missing = Tool("send", *x,
                              "--smtp " + server.Address() + " --to a@b.org " + Quote(body) + " " +
                                  Quote((root / "absent.bin").string()));
    EXPECT_EQ(missing.exitCode, 2) << missing.out;
    EXPECT_TRUE(Has(missing.out, "absent.bin"));
    EXPECT_EQ(server.Delivered(1, std::chrono::milliseconds(0)).size(), 1u);

    // Read by the recipient's tool; an attachment that cannot be saved fails
    // the command, though the message itself is there.
    const std::string both = Quote(body) + " " + Quote(attachment);
    const auto read = Tool("decrypt", *y, both);
    EXPECT_EQ(read.exitCode, 0) << read.out;
    ASSERT_TRUE(WriteFileAtomically(root / "bloc", "not a folder"));
    y->settings.decryptedFilesFolder = FolderSetting(root / "bloc");
    ASSERT_EQ(SaveSettings(*y, SettingsPath(*y)), SaveResult::Saved);
    const auto lost = Tool("decrypt", *y, both);
    EXPECT_EQ(lost.exitCode, 1) << lost.out;
    EXPECT_EQ(Values(lost.out, "message").size(), 1u) << lost.out;
}

TEST(SendTool, OverTlsFromARelativeDataFolderWithThePasswordOnStandardInput) {
    for (const std::string& why :
         {test::SmtpServer::MissingReason(), test::TestCertificates::MissingReason()}) {
        if (!why.empty()) GTEST_SKIP() << why;
    }
    ASSERT_TRUE(test::TestCertificates::Get().Made());
    test::TempDir root;
    test::InProcessTa ta;
    std::unique_ptr<ProgramData> x, y;
    test::AffiliatePair(root.path(), ta.EveryHolder(), x, y);
    ASSERT_TRUE(x && y);
    x->settings.accountName = "martin";
    ASSERT_EQ(SaveSettings(*x, SettingsPath(*x)), SaveResult::Saved);
    ASSERT_TRUE(WriteFileAtomically(root / "m.txt", "Bonjour"));
    const auto encrypted =
        Tool("encrypt", *x, "--to " + y->ownNumber + " " + Quote((root / "m.txt").string()));
    ASSERT_EQ(encrypted.exitCode, 0) << encrypted.out;
    const std::string body = Values(encrypted.out, "body").at(0);

    test::TlsSetup tls;
    tls.mode = "tls";
    tls.user = "martin";
    tls.password = "s3cret";
    test::SmtpServer server(tls);
    ASSERT_TRUE(server.Running()) << server.Log();
    // The relay's authority is the holder's own, beside the settings.
    std::filesystem::copy_file(test::TestCertificates::Get().Authority(),
                               x->dataFolder / "QuarnelTitCA.pem");
    ASSERT_TRUE(WriteFileAtomically(root / "pw", "s3cret\n"));
    const auto sent =
        test::RunCommand("cd " + Quote(root.path().string()) + " && " +
                         QUARNEL_BIN_DIR "/quarnel-tool send --data " +
                         Quote(std::filesystem::relative(x->dataFolder, root.path()).string()) +
                         " --smtp smtps://127.0.0.1:" + std::to_string(server.port()) +
                         " --password-stdin " + Quote(body) + " < pw 2>&1");
    EXPECT_EQ(sent.exitCode, 0) << sent.out;
    EXPECT_EQ(server.Delivered(1).size(), 1u) << server.Log();
}

}  // namespace
}  // namespace quarnel
