// quarnel-tool send: a message encrypted by one holder, sent to a real SMTP
// server on loopback as that holder, and what the server delivered.

#include <gtest/gtest.h>

#include "holder/settings.h"
#include "holder_fixture.h"
#include "mail_servers.h"
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
}

}  // namespace
}  // namespace quarnel
