// SPDX-License-Identifier: GPL-3.0-or-later
// Two holders affiliated with `quarnel-ta serve` over real HTTP, each with its
// own data folder on disk, exchange messages with `quarnel-tool encrypt` and
// `quarnel-tool decrypt`, in both directions; the authority refuses what it
// cannot accept and numbers affiliations in flight at once apart. (Holders
// that exchange keys across a restart: tests/authority/windows_test.cpp.)

#include <gtest/gtest.h>

#include "crypto/hextext.h"
#include "holder_fixture.h"
#include "messages/certification.h"
#include "protocol/lines.h"
#include "run_command.h"
#include "store/atomic_file.h"
#include "ta_server.h"

namespace quarnel {
namespace {

using test::OutputValues;
using test::Quote;

class RealAuthority : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server.ok());
        test::AffiliatePair(root.path(), test::Http, x, y, server.ParameterFile());
        ASSERT_TRUE(x && y);
    }

    std::string File(const std::string& name, const std::string& bytes) {
        const auto path = root.path() / "files" / name;
        std::filesystem::create_directories(path.parent_path());
        EXPECT_TRUE(WriteFileAtomically(path, bytes));
        return Quote(path.string());
    }
    // quarnel-tool `command` on the data folder of `ctx`.
    static test::CommandResult Tool(const std::string& command, const ProgramData& ctx,
                                    const std::string& args) {
        return test::RunTool(command, ctx.dataFolder, args);
    }

    test::TempDir root;
    test::TaServer server;
    std::unique_ptr<ProgramData> x;
    std::unique_ptr<ProgramData> y;
};

TEST_F(RealAuthority, EncryptInOneFolderAndDecryptInTheOtherBothWays) {
    const std::string rtf =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Bonjour "
        "\\b Jean\\b0 ,\\par \\'e0 bient\\'f4t\\par}";
    const std::string invoice("%PDF-1.4\0\xFF\x80", 11);
    for (const bool forward : {true, false}) {
        const ProgramData& from = forward ? *x : *y;
        const ProgramData& to = forward ? *y : *x;
        const std::string text = forward ? "Bonjour Jean,\r\nVoici la facture \x80.\r\n" : rtf;
        const auto encrypted =
            Tool("encrypt", from,
                 "--to " + to.ownNumber + (forward ? "" : " --rich") +
                     " --subject 'Facture de mars' " + File("message.txt", text) + " " +
                     File("facture.pdf", invoice) + " " + File("note.txt", "note"));
        ASSERT_EQ(encrypted.exitCode, 0) << encrypted.out;
        const auto body = OutputValues(encrypted.out, "body");
        const auto attachments = OutputValues(encrypted.out, "attachment");
        ASSERT_EQ(body.size(), 1u);
        ASSERT_EQ(attachments.size(), 2u);
        EXPECT_EQ(OutputValues(encrypted.out, "subject"), Lines{"Facture de mars"});
        EXPECT_EQ(OutputValues(encrypted.out, "to"),
                  Lines{to.settings.identity[to.settings.category == 'A' ? 9 : 11]});

        const auto decrypted =
            Tool("decrypt", to,
                 Quote(body[0]) + " " + Quote(attachments[0]) + " " + Quote(attachments[1]));
        ASSERT_EQ(decrypted.exitCode, 0) << decrypted.out;
        EXPECT_EQ(OutputValues(decrypted.out, "affiliation"), Lines{from.ownNumber});
        EXPECT_EQ(OutputValues(decrypted.out, "verdict"), Lines{"Expéditeur non enregistré"});
        EXPECT_EQ(OutputValues(decrypted.out, "identity"),
                  Lines{"Les informations ci-dessus sont confirmées."});
        const auto date = OutputValues(decrypted.out, "date");  // the tool runs on the real clock
        ASSERT_EQ(date.size(), 1u);
        EXPECT_EQ(date[0].substr(0, 12), "Chiffré le ");
        EXPECT_EQ(date[0].size(), std::string("Chiffré le 05/12/2026 à 14:03:07").size());

        // The attachments and the saved message, in the recipient's folders.
        const auto files = OutputValues(decrypted.out, "attachment");
        ASSERT_EQ(files.size(), 2u);
        EXPECT_EQ(std::filesystem::path(files[0]),
                  PathFromSetting(to.settings.decryptedFilesFolder) / "facture.pdf");
        EXPECT_EQ(*ReadWholeFile(files[0]), invoice);
        EXPECT_EQ(*ReadWholeFile(files[1]), "note");
        const auto saved = OutputValues(decrypted.out, "message");
        ASSERT_EQ(saved.size(), 1u);
        SavedMessage read;
        ASSERT_TRUE(ReadSavedMessageText(*ReadWholeFile(saved[0]), read));
        EXPECT_TRUE(read.confirmed);
        EXPECT_EQ(read.messageText, text);
    }
}

TEST_F(RealAuthority, RefusalsAndBadInput) {
    const std::string message = File("message.txt", "texte");
    auto r = Tool("encrypt", *x, "--to " + y->ownNumber + " " + message);
    ASSERT_EQ(r.exitCode, 0) << r.out;
    const std::string body = OutputValues(r.out, "body")[0];

    // One character of the text's section changed (title, separator, address,
    // 4 key lines, nonce, digest, signature, 6 lines of the sender's identity,
    // 2 header lines): refused, nothing written.
    Lines lines = SplitLines(*ReadWholeFile(body));
    lines[18][0] = lines[18][0] == '0' ? '1' : '0';
    r = Tool("decrypt", *y, File("altered.txt", JoinLinesCrLf(lines)));
    EXPECT_EQ(r.exitCode, 1) << r.out;
    EXPECT_NE(r.out.find("message refused: the digest does not verify"), std::string::npos)
        << r.out;
    EXPECT_TRUE(std::filesystem::is_empty(PathFromSetting(y->settings.decryptedMsgFolder)));
    // An attachment name added on the mail path reaches the terminal escaped.
    lines = SplitLines(*ReadWholeFile(body));
    lines.push_back("\x1B]0;titre\x07");
    r = Tool("decrypt", *y, File("names.txt", JoinLinesCrLf(lines)));
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_NE(r.out.find("\\x1B]0;titre\\x07"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find('\x1B'), std::string::npos);
    // Bad arguments and input: one line, exit code 2.
    const test::CommandResult bad[] = {
        test::RunCommand(std::string(QUARNEL_BIN_DIR) + "/quarnel-tool encrypt --to " +
                         y->ownNumber + " " + message + " 2>&1"),
        Tool("encrypt", *x, "--to 0FF09999999 " + message),
        Tool("encrypt", *x, "--to " + y->ownNumber + " " + message + " /nonexistent/file"),
        Tool("decrypt", *y, ""),
        Tool("decrypt", *y, "/nonexistent/body"),
        test::RunCommand(std::string(QUARNEL_BIN_DIR) + "/quarnel-tool decrypt --data " +
                         Quote(root.path().string()) + " " + Quote(body) + " 2>&1")};
    for (const auto& b : bad) {
        EXPECT_EQ(b.exitCode, 2) << b.out;
        EXPECT_EQ(std::count(b.out.begin(), b.out.end(), '\n'), 1) << b.out;
    }
    EXPECT_NE(bad[2].out.find("Impossible d'ouvrir le fichier"), std::string::npos) << bad[2].out;
}

// (Distinct numbers for affiliations at once: the authority's own tests.)
TEST_F(RealAuthority, RefusalsOfAKeyForNobodyAndOfAForeignSignatureStoreNothing) {
    // A key for nobody, and a request signed with another key.
    bool httpError = false;
    x->authority.correspondentNumber = server.code() + "0000FFFF";
    x->authority.requestKind = Kind::Key;
    ASSERT_TRUE(BuildOutgoingBody(*x, x->authority, x->messages).ok);
    EXPECT_FALSE(test::ExchangeOverHttp(*x, &httpError));
    EXPECT_TRUE(httpError);
    x->authority.requestKind = Kind::Update;
    ASSERT_TRUE(BuildOutgoingBody(*x, x->authority, x->messages).ok);
    x->authority.outgoingBody[3] = QuadToHex(Quad{1, 2, 3, 4});
    EXPECT_FALSE(test::ExchangeOverHttp(*x));
    const auto& log = server.log();
    ASSERT_GE(log.size(), 2u);
    EXPECT_NE(log.end()[-2].find("-> 404 Correspondant inconnu"), std::string::npos)
        << log.end()[-2];
    EXPECT_NE(log.back().find("-> 403 Clef erron"), std::string::npos) << log.back();
    EXPECT_EQ(x->correspondents.Total(), 1u);  // y's record only
}

}  // namespace
}  // namespace quarnel
