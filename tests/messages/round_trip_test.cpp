// Messages between two holders of the reference authority: what one encrypts
// the other decrypts and verifies, byte for byte, with its attachments.

#include "message_fixture.h"
#include "messages/texts.h"

namespace quarnel {
namespace {

using test::TwoHolders;

std::string AllHighBytes() {
    std::string s;
    for (int c = 0x80; c <= 0xFF; ++c)
        s += char(c);
    return s;
}

TEST_F(TwoHolders, TextsComeBackWholeInBothDirections) {
    const std::string rtf =
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Bonjour \\b tous\\b0\\par}";
    const std::vector<std::string> texts = {"",
                                            std::string(16, 'a'),
                                            std::string(17, 'b'),
                                            std::string(32, 'c'),
                                            std::string(33, 'd'),
                                            "se termine par UUU",
                                            "UUUUUUUUUUUUUUUU",
                                            AllHighBytes(),
                                            "ligne 1\r\nligne 2\r\n\r\nfin",
                                            "\xC0 bient\xF4t, \x80 5 \x85"};
    for (const bool rich : {false, true}) {
        for (const auto& text : texts) {
            for (const bool forward : {true, false}) {
                test::Holder& from = forward ? x : y;
                test::Holder& to = forward ? y : x;
                const std::string sent = rich ? rtf + text : text;
                const ReceiveOutcome o = RoundTrip(from, to, sent, rich);
                ASSERT_TRUE(o.ok) << int(o.refusal) << " " << o.problem;
                const DecryptedMessage& m = to.ctx->decrypted;
                EXPECT_EQ(o.kind, rich ? "21" : "20");
                EXPECT_EQ(m.kind, o.kind);
                EXPECT_EQ(m.text, sent);
                EXPECT_TRUE(m.identityConfirmed);
                EXPECT_EQ(m.addressLine, from.ctx->outgoingBody[2]);
                EXPECT_EQ(m.sender.affiliation, from.affiliate.number);
                EXPECT_EQ(m.senderCategory, from.affiliate.category);
                EXPECT_TRUE(m.attachments.empty());
                EXPECT_TRUE(m.notices.empty());
            }
        }
    }
}

TEST_F(TwoHolders, SameTextTwiceGivesOtherLinesButTheSameDigest) {
    ASSERT_TRUE(Encrypt(x, y, "identique").ok);
    const Lines first = x.ctx->outgoingBody;
    ASSERT_TRUE(Encrypt(x, y, "identique").ok);
    const Lines& second = x.ctx->outgoingBody;
    ASSERT_EQ(first.size(), second.size());
    EXPECT_NE(first[7], second[7]);    // nonce
    EXPECT_EQ(first[8], second[8]);    // digest: same address line, second and text
    EXPECT_EQ(first[9], second[9]);    // signature
    EXPECT_NE(first[10], second[10]);  // sections: another mask
    ASSERT_TRUE(Receive(y, first).ok);
    const std::string digest = y.ctx->decrypted.digest;
    ASSERT_TRUE(Receive(y, second).ok);
    EXPECT_EQ(y.ctx->decrypted.digest, digest);
}

TEST_F(TwoHolders, AttachmentsGoIntoFilesOfTheirOwnAndComeBack) {
    const auto report = WriteFile("report.txt", "rapport\r\n");
    const auto image = WriteFile("image.bin", AllHighBytes() + std::string(5, '\0'));
    // Binary files hold runs of 16 bytes that are not valid cipher blocks.
    const std::string binary = std::string(48, '\0') + std::string(32, '\xFF') + "\x80" +
                               std::string(15, '\0') + "\x7F" + std::string(15, '\xFF');
    const auto blocks = WriteFile("blocs.dat", binary);
    const ReceiveOutcome o = RoundTrip(x, y, "trois pièces", false, {report, image, blocks});
    ASSERT_TRUE(o.ok) << int(o.refusal);
    // The names follow the end marker in the order attached.
    const Lines& body = x.ctx->outgoingBody;
    ASSERT_GE(body.size(), 4u);
    EXPECT_EQ(body[body.size() - 4], kEndMarkerLine);
    EXPECT_EQ(Lines(body.end() - 3, body.end()), (Lines{"report.txt", "image.bin", "blocs.dat"}));
    EXPECT_EQ(x.ctx->encryptedAttachments,
              (std::vector<std::filesystem::path>{x.Sent() / "report.txt", x.Sent() / "image.bin",
                                                  x.Sent() / "blocs.dat"}));
    // Each file is one section in lines ending in CR LF.
    const std::string file = *ReadWholeFile(x.Sent() / "report.txt");
    EXPECT_EQ(file.size(), 3 * 34u);
    EXPECT_EQ(file.substr(32, 2), "\r\n");

    const DecryptedMessage& m = y.ctx->decrypted;
    EXPECT_EQ(y.ctx->receivedAttachmentNames, (Lines{"report.txt", "image.bin", "blocs.dat"}));
    ASSERT_EQ(m.attachments.size(), 3u);
    EXPECT_EQ(m.attachments[0], y.Decrypted() / "report.txt");
    EXPECT_EQ(*ReadWholeFile(m.attachments[0]), "rapport\r\n");
    EXPECT_EQ(*ReadWholeFile(m.attachments[1]), AllHighBytes() + std::string(5, '\0'));
    EXPECT_EQ(*ReadWholeFile(m.attachments[2]), binary);
    EXPECT_TRUE(m.notices.empty());
}

TEST_F(TwoHolders, TwoAttachmentsOfOneNameAreNumbered) {
    const auto first = WriteFile("note.txt", "premier");
    std::filesystem::create_directories(root.path() / "other");
    const auto second = root.path() / "other" / "note.txt";
    ASSERT_TRUE(WriteFileAtomically(second, "second"));
    const ReceiveOutcome o = RoundTrip(x, y, "deux notes", false, {first, second});
    ASSERT_TRUE(o.ok);
    const Lines& body = x.ctx->outgoingBody;
    EXPECT_EQ(Lines(body.end() - 2, body.end()), (Lines{"note.txt", "note_1.txt"}));
    EXPECT_TRUE(std::filesystem::exists(x.Sent() / "note_1.txt"));
    const DecryptedMessage& m = y.ctx->decrypted;
    ASSERT_EQ(m.attachments.size(), 2u);
    EXPECT_EQ(*ReadWholeFile(y.Decrypted() / "note.txt"), "premier");
    EXPECT_EQ(*ReadWholeFile(y.Decrypted() / "note_1.txt"), "second");
    // A third message with the same name takes the next free number.
    ASSERT_TRUE(Encrypt(x, y, "encore", false, {first}).ok);
    EXPECT_EQ(x.ctx->outgoingBody.back(), "note_2.txt");
}

TEST_F(TwoHolders, TheViewerDataOfARegisteredAndAnUnregisteredSender) {
    ASSERT_TRUE(RoundTrip(x, y, "de F vers A").ok);
    const DecryptedMessage& fromF = y.ctx->decrypted;
    EXPECT_EQ(fromF.sender.registration.positive, true);
    EXPECT_EQ(fromF.sender.registration.text, txt::kSenderRegistered);
    EXPECT_EQ(fromF.sender.firmLabel, txt::kSociete);
    EXPECT_EQ(fromF.sender.firm, "ACME");  // department "-" left out
    EXPECT_EQ(fromF.sender.name, "MARTIN claire");
    EXPECT_EQ(fromF.sender.locality, "LYON, RHONE, FRANCE");
    EXPECT_EQ(fromF.sender.email, "claire@example.org");
    EXPECT_EQ(fromF.sender.date, "05/12/2026");
    EXPECT_EQ(fromF.sender.time, "14:03:07");
    EXPECT_EQ(fromF.confirmation.text, txt::kIdentityConfirmed);
    EXPECT_EQ(fromF.headerText, (Lines{"En-t\xEAte :",
                                       fromF.addressLine,
                                       "",
                                       "Message condens\xE9 et signature :",
                                       fromF.digest,
                                       fromF.signature,
                                       "",
                                       "Informations et date du message :",
                                       "F1",
                                       "05/12/2026 14:03:07",
                                       "",
                                       "Exp\xE9"
                                       "diteur :",
                                       "ACME",
                                       "-",
                                       "MARTIN",
                                       "claire",
                                       "LYON",
                                       "RHONE",
                                       "FRANCE",
                                       "claire@example.org",
                                       "",
                                       "Message :"}));
    EXPECT_EQ(x.ctx->certificationData, "");
    EXPECT_EQ(y.ctx->certificationData, fromF.addressLine + "\r" + fromF.digest + "\r" +
                                            fromF.signature + "\r05/12/2026 14:03:07");

    // Not registered: shown as such, not refused.
    ASSERT_TRUE(RoundTrip(y, x, "de A vers F").ok);
    const DecryptedMessage& fromA = x.ctx->decrypted;
    EXPECT_FALSE(fromA.sender.registration.positive);
    EXPECT_EQ(fromA.sender.registration.text, txt::kSenderUnregistered);
    EXPECT_TRUE(fromA.identityConfirmed);
    EXPECT_EQ(fromA.sender.firmLabel, 0);
    EXPECT_EQ(fromA.sender.name, "DUPONT jean");
    EXPECT_EQ(fromA.sender.locality, "PARIS, FRANCE");  // entity "-" left out with its comma
}

TEST_F(TwoHolders, AnAlteredSenderIdentityDecryptsButIsNotConfirmed) {
    x.ctx->settings.identity[2] = "MARTINEZ";  // not the identity the TA certified
    ASSERT_TRUE(RoundTrip(x, y, "qui suis-je ?").ok);
    const DecryptedMessage& m = y.ctx->decrypted;
    EXPECT_EQ(m.text, "qui suis-je ?");
    EXPECT_FALSE(m.identityConfirmed);
    EXPECT_FALSE(m.confirmation.positive);
    EXPECT_EQ(m.confirmation.text, txt::kIdentityNotConfirmed);
    EXPECT_EQ(m.sender.name, "MARTINEZ claire");
}

TEST_F(TwoHolders, MailNoiseAroundTheBodyIsDropped) {
    const auto report = WriteFile("report.txt", "");
    ASSERT_TRUE(Encrypt(x, y, "bruit", false, {report}).ok);
    Deliver(x, y);
    Lines mail = x.ctx->outgoingBody;
    mail.insert(mail.begin(), {"Received: from somewhere", ""});
    mail.back() += "  ";
    mail.insert(mail.end(), {"", "   ", ""});
    const ReceiveOutcome o = Receive(y, mail);
    ASSERT_TRUE(o.ok);
    EXPECT_EQ(y.ctx->receivedAttachmentNames, Lines{"report.txt"});
    EXPECT_EQ(y.ctx->decrypted.attachments, (std::vector{y.Decrypted() / "report.txt"}));
    EXPECT_EQ(*ReadWholeFile(y.Decrypted() / "report.txt"), "");
}

}  // namespace
}  // namespace quarnel
