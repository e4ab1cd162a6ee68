// SPDX-License-Identifier: GPL-3.0-or-later
// quarnel-tool send and receive: their arguments, output and exit codes,
// between two holders of the in-process authority, through a real SMTP
// server and a real POP3 server on the same Maildir.

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

struct MailTool : ::testing::Test {
    void SetUp() override {
        for (const std::string& why :
             {test::SmtpServer::MissingReason(), test::Pop3Server::MissingReason()}) {
            if (!why.empty()) GTEST_SKIP() << why;
        }
        test::AffiliatePair(root.path(), ta.EveryHolder(), x, y);
        ASSERT_TRUE(x && y);
    }
    void Save() const {
        for (const auto* h : {x.get(), y.get()})
            ASSERT_EQ(SaveSettings(*h, SettingsPath(*h)), SaveResult::Saved);
    }
    std::string File(const std::string& name, const std::string& bytes) const {
        EXPECT_TRUE(WriteFileAtomically(root / name, bytes));
        return Quote((root / name).string());
    }
    // x encrypts `files` for y: the body and the attachment written.
    std::pair<std::string, std::string> Encrypt(const std::string& files) const {
        const auto encrypted = Tool("encrypt", *x, "--to " + y->ownNumber + " " + files);
        EXPECT_EQ(encrypted.exitCode, 0) << encrypted.out;
        const Lines body = test::OutputValues(encrypted.out, "body");
        const Lines attachment = test::OutputValues(encrypted.out, "attachment");
        return {body.empty() ? "" : body[0], attachment.empty() ? "" : attachment[0]};
    }

    test::TempDir root;
    test::InProcessTa ta;
    std::unique_ptr<ProgramData> x, y;
};

TEST_F(MailTool, SentByOneHolderFetchedAndDecryptedByTheOtherFailuresExitNonZero) {
    test::SmtpServer smtp;
    ASSERT_TRUE(smtp.Running()) << smtp.Log();
    test::Pop3Server pop3(smtp.Maildir(), "dupont", "s3cret");
    ASSERT_TRUE(pop3.Running()) << pop3.Log();
    y->settings.accountName = "dupont";
    y->settings.pop3Server = pop3.Address();
    Save();
    const std::string invoice("%PDF\0\xFF", 6);
    const auto [body, attachment] =
        Encrypt(File("m.txt", "Bonjour\r\n.point\r\n") + " " + File("facture.pdf", invoice));
    ASSERT_FALSE(body.empty() || attachment.empty());

    // Nothing listens on a freed port; a missing attachment is refused
    // before any connection.
    const auto refused = Tool("send", *x,
                              "--smtp 127.0.0.1:" + std::to_string(test::FreePort()) + " --to " +
                                  y->ownNumber + " " + Quote(body));
    EXPECT_EQ(refused.exitCode, 1) << refused.out;
    EXPECT_TRUE(Has(refused.out, "Echec de la connexion au transmetteur SMTP"));
    const auto missing = Tool("send", *x,
                              "--smtp " + smtp.Address() + " --to a@b.org " + Quote(body) + " " +
                                  Quote((root / "absent.bin").string()));
    EXPECT_EQ(missing.exitCode, 2) << missing.out;
    EXPECT_TRUE(Has(missing.out, "absent.bin"));

    // The recipient and the attachment as the body names them.
    const auto sent =
        Tool("send", *x, "--smtp " + smtp.Address() + " --subject 'Facture' " + Quote(body));
    // Every line of the session is printed alike: which lines, the client's
    // and the retrieval's own tests.
    ASSERT_EQ(sent.exitCode, 0) << sent.out;
    EXPECT_TRUE(Has(sent.out, "Message bien transmis\n")) << sent.out;
    const auto delivered = smtp.Delivered(1);
    ASSERT_EQ(delivered.size(), 1u);
    const std::string& mail = delivered[0];
    EXPECT_TRUE(Has(mail, "Subject: Facture"));
    const std::string yAddress = y->settings.identity[9];  // a private person's e-mail line
    EXPECT_TRUE(Has(mail, "To: " + yAddress)) << mail;
    EXPECT_TRUE(Has(
        mail, "From: MARTIN claire <" + x->settings.identity[11] + ">\n"));  // surname, first names
    EXPECT_TRUE(Has(mail, "filename=" + std::filesystem::path(attachment).filename().string()));

    // The password stored at affiliation is not the server's: refused, nothing taken.
    const auto wrong = Tool("receive", *y, "");
    EXPECT_EQ(wrong.exitCode, 1) << wrong.out;
    EXPECT_TRUE(Has(wrong.out, "Echec de la connexion au serveur POP3")) << wrong.out;
    EXPECT_EQ(pop3.Count(), 1U);
    const auto got = Tool("receive", *y, "--password-stdin < " + File("right", "s3cret\n"));
    ASSERT_EQ(got.exitCode, 0) << got.out;
    for (const char* line : {"objet : Facture\n", "Message déchiffré\n"})
        EXPECT_TRUE(Has(got.out, line)) << line << " in\n" << got.out;
    EXPECT_TRUE(Has(got.out, "affiliation: " + x->ownNumber + "\n")) << got.out;
    EXPECT_EQ(pop3.Count(), 0U);
    EXPECT_EQ(ReadWholeFile(PathFromSetting(y->settings.decryptedFilesFolder) / "facture.pdf"),
              invoice);

    // An attachment that cannot be saved fails decrypt, though the message
    // itself is there.
    ASSERT_TRUE(WriteFileAtomically(root / "bloc", "not a folder"));
    y->settings.decryptedFilesFolder = FolderSetting(root / "bloc");
    Save();
    const auto lost = Tool("decrypt", *y, Quote(body) + " " + Quote(attachment));
    EXPECT_EQ(lost.exitCode, 1) << lost.out;
    EXPECT_EQ(test::OutputValues(lost.out, "message").size(), 1u) << lost.out;
}

// The relay's authority beside the settings, the data folder given relative
// to the working folder, the password on standard input.
TEST_F(MailTool, SendsOverTlsFromARelativeDataFolderWithThePasswordOnStandardInput) {
    if (const std::string why = test::TestCertificates::MissingReason(); !why.empty())
        GTEST_SKIP() << why;
    ASSERT_TRUE(test::TestCertificates::Get().Made());
    x->settings.accountName = "martin";
    Save();
    const std::string body = Encrypt(File("m.txt", "Bonjour")).first;
    test::SmtpServer server(test::TlsSetup{"tls", "good", "martin", "s3cret"});
    ASSERT_TRUE(server.Running()) << server.Log();
    std::filesystem::copy_file(test::TestCertificates::Get().Authority(),
                               x->dataFolder / "QuarnelTitCA.pem");
    const auto sent = test::RunCommand(
        "cd " + Quote(root.path().string()) + " && " +
        QUARNEL_BIN_DIR "/quarnel-tool send --data " +
        Quote(std::filesystem::relative(x->dataFolder, root.path()).string()) +
        " --smtp smtps://127.0.0.1:" + std::to_string(server.port()) + " --password-stdin " +
        Quote(body) + " < " + File("pw", "s3cret\n") + " 2>&1");
    EXPECT_EQ(sent.exitCode, 0) << sent.out;
    EXPECT_EQ(server.Delivered(1).size(), 1u) << server.Log();
}

}  // namespace
}  // namespace quarnel
