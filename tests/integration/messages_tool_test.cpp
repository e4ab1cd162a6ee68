// Two holders affiliated with `quarnel-ta serve` over real HTTP, each with its
// own data folder on disk, exchange messages with `quarnel-tool encrypt` and
// `quarnel-tool decrypt`, in both directions.

#include <gtest/gtest.h>

#include "affiliated_holders.h"
#include "app/settings.h"
#include "authority/flows.h"
#include "authority/replies.h"
#include "messages/certification.h"
#include "run_command.h"
#include "store/atomic_file.h"
#include "http_exchange.h"
#include "ta_server.h"

namespace quarnel {
namespace {

using test::Quote;
using test::RunCommand;

[[maybe_unused]] auto* const kQt =
    ::testing::AddGlobalTestEnvironment(new test::QtEnvironment);  // gtest owns it

std::string Tool(const std::string& args) {
    return std::string(QUARNEL_BIN_DIR) + "/quarnel-tool " + args + " 2>&1";
}

// The values of the output lines that begin with `key` + ": ".
std::vector<std::string> Values(const std::string& out, const std::string& key) {
    std::vector<std::string> values;
    for (const auto& line : SplitLines(out)) {
        if (line.rfind(key + ": ", 0) == 0) values.push_back(line.substr(key.size() + 2));
    }
    return values;
}

class MessagesTool : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server.ok());
        test::AffiliatePair(root.path(), test::Http, x, y, server.ParameterFile());
        ASSERT_TRUE(x && y);
    }

    std::filesystem::path File(const std::string& name, const std::string& bytes) {
        const auto path = root.path() / "files" / name;
        std::filesystem::create_directories(path.parent_path());
        EXPECT_TRUE(WriteFileAtomically(path, bytes));
        return path;
    }

    static std::string Data(const HolderContext& ctx) {
        return "--data " + Quote(ctx.dataFolder.string());
    }

    test::TempDir root;
    test::TaServer server;
    std::unique_ptr<HolderContext> x;
    std::unique_ptr<HolderContext> y;
};

TEST_F(MessagesTool, EncryptInOneFolderAndDecryptInTheOtherBothWays) {
    struct Way {
        HolderContext& from;
        HolderContext& to;
        bool rich;
        std::string text;
    };
    const std::string rtf =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Bonjour "
        "\\b Jean\\b0 ,\\par \\'e0 bient\\'f4t\\par}";
    for (const Way& way : {Way{*x, *y, false, "Bonjour Jean,\r\nVoici la facture \x80.\r\n"},
                           Way{*y, *x, true, rtf}}) {
        const auto message = File("message.txt", way.text);
        const auto invoice = File("facture.pdf", std::string("%PDF-1.4\0\xFF\x80", 11));
        const auto note = File("note.txt", "note");
        const auto encrypted = RunCommand(Tool(
            "encrypt " + Data(way.from) + " --to " + way.to.ownNumber +
            (way.rich ? " --rich" : "") + " --subject 'Facture de mars' " +
            Quote(message.string()) + " " + Quote(invoice.string()) + " " + Quote(note.string())));
        ASSERT_EQ(encrypted.exitCode, 0) << encrypted.out;
        const auto body = Values(encrypted.out, "body");
        const auto attachments = Values(encrypted.out, "attachment");
        ASSERT_EQ(body.size(), 1u);
        ASSERT_EQ(attachments.size(), 2u);
        EXPECT_EQ(Values(encrypted.out, "subject"), Lines{"Facture de mars"});
        const std::size_t email = way.to.settings.category == 'A' ? 9 : 11;
        EXPECT_EQ(Values(encrypted.out, "to"), Lines{way.to.settings.identity[email]});

        const auto decrypted =
            RunCommand(Tool("decrypt " + Data(way.to) + " " + Quote(body[0]) + " " +
                            Quote(attachments[0]) + " " + Quote(attachments[1])));
        ASSERT_EQ(decrypted.exitCode, 0) << decrypted.out;
        EXPECT_EQ(Values(decrypted.out, "affiliation"), Lines{way.from.ownNumber});
        EXPECT_EQ(Values(decrypted.out, "verdict"), Lines{"Expéditeur non enregistré"});
        EXPECT_EQ(Values(decrypted.out, "identity"),
                  Lines{"Les informations ci-dessus sont confirmées."});
        const auto date = Values(decrypted.out, "date");  // the tool runs on the real clock
        ASSERT_EQ(date.size(), 1u);
        EXPECT_EQ(date[0].substr(0, 12), "Chiffré le ");
        EXPECT_EQ(date[0].size(), std::string("Chiffré le 05/12/2026 à 14:03:07").size());

        // The attachments and the saved message, in the recipient's folders.
        const auto files = Values(decrypted.out, "attachment");
        ASSERT_EQ(files.size(), 2u);
        const auto folder = PathFromSetting(way.to.settings.decryptedFilesFolder);
        EXPECT_EQ(std::filesystem::path(files[0]), folder / "facture.pdf");
        EXPECT_EQ(*ReadWholeFile(files[0]), std::string("%PDF-1.4\0\xFF\x80", 11));
        EXPECT_EQ(*ReadWholeFile(files[1]), "note");
        const auto saved = Values(decrypted.out, "message");
        ASSERT_EQ(saved.size(), 1u);
        SavedMessage read;
        ASSERT_TRUE(ReadSavedMessageText(*ReadWholeFile(saved[0]), read));
        EXPECT_TRUE(read.confirmed);
        EXPECT_EQ(read.messageText, way.text);
    }
}

TEST_F(MessagesTool, RefusalsAndBadInput) {
    const auto message = File("message.txt", "texte");
    auto r = RunCommand(
        Tool("encrypt " + Data(*x) + " --to " + y->ownNumber + " " + Quote(message.string())));
    ASSERT_EQ(r.exitCode, 0) << r.out;
    const std::string body = Values(r.out, "body")[0];

    // One character of the text's section changed (title, separator, address,
    // 4 key lines, nonce, digest, signature, 6 lines of the sender's identity,
    // 2 header lines): refused, nothing written.
    Lines lines = SplitLines(*ReadWholeFile(body));
    lines[18][0] = lines[18][0] == '0' ? '1' : '0';
    const std::string bytes = JoinLinesCrLf(lines);
    const auto altered = File("altered.txt", bytes);
    r = RunCommand(Tool("decrypt " + Data(*y) + " " + Quote(altered.string())));
    EXPECT_EQ(r.exitCode, 1) << r.out;
    EXPECT_NE(r.out.find("message refused: the digest does not verify"), std::string::npos)
        << r.out;
    EXPECT_TRUE(std::filesystem::is_empty(PathFromSetting(y->settings.decryptedMsgFolder)));

    // A message for x read in y's folder... and in x's own.
    r = RunCommand(Tool("decrypt " + Data(*x) + " " + Quote(body)));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("for another holder"), std::string::npos) << r.out;

    // Bad arguments and input: one line, exit code 2.
    for (const std::string& args :
         {"encrypt --to " + y->ownNumber + " " + Quote(message.string()),
          "encrypt " + Data(*x) + " --to 0FF09999999 " + Quote(message.string()),
          "encrypt " + Data(*x) + " --to " + y->ownNumber + " " + Quote(message.string()) +
              " /nonexistent/file",
          "decrypt " + Data(*y), "decrypt " + Data(*y) + " /nonexistent/body",
          "decrypt --data " + Quote(root.path().string()) + " " + Quote(body)}) {
        r = RunCommand(Tool(args));
        EXPECT_EQ(r.exitCode, 2) << args << "\n" << r.out;
        EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << args << "\n" << r.out;
    }
    const auto tick = File("r\xC3\xA9sum\xC3\xA9\xE2\x9C\x93.txt", "x");
    r = RunCommand(Tool("encrypt " + Data(*x) + " --to " + y->ownNumber + " " +
                        Quote(message.string()) + " " + Quote(tick.string())));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.out.find("Impossible d'ouvrir le fichier"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace quarnel
