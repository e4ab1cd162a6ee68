// SPDX-License-Identifier: GPL-3.0-or-later
// Messages between two holders of the reference authority: what one encrypts
// the other decrypts and verifies, byte for byte, with its attachments; and
// the bytes of a body and an attachment file for a fixed nonce and clock,
// against the files kept in tests/data/messages.

#include "holder_fixture.h"
#include "messages/texts.h"
#include "protocol/lines.h"

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
    std::vector<std::string> texts{"", "se termine par UUU", "UUUUUUUUUUUUUUUU",
                                   "ligne 1\r\nligne 2\r\n\r\nfin", "\xC0 bient\xF4t, \x80 5 \x85"};
    texts.push_back(AllHighBytes());
    for (const std::size_t n : {16, 17, 32, 33})
        texts.push_back(std::string(n, 'a'));
    for (const bool rich : {false, true}) {
        for (const auto& text : texts) {
            for (const bool forward : {true, false}) {
                test::Holder& from = forward ? x : y;
                test::Holder& to = forward ? y : x;
                const std::string sent = rich ? rtf + text : text;
                const ReceiveOutcome o = RoundTrip(from, to, sent, rich);
                ASSERT_TRUE(o.ok) << int(o.refusal) << " " << o.problem;
                const DecryptedMessage& m = to->messages.decrypted;
                EXPECT_EQ(o.kind, rich ? Kind::RichMessage : Kind::PlainMessage);
                EXPECT_EQ(m.kind, o.kind);
                EXPECT_EQ(m.text, sent);
                EXPECT_TRUE(m.identityConfirmed);
                EXPECT_EQ(m.addressLine, from.body[2]);
                EXPECT_EQ(m.sender.affiliation, from->ownNumber);
                EXPECT_EQ(m.senderCategory, from->settings.category);
                EXPECT_TRUE(m.attachments.empty());
                EXPECT_TRUE(m.notices.empty());
            }
        }
    }
}

TEST_F(TwoHolders, GoldenBodyAndAttachmentForAFixedNonceAndClock) {
    const std::string text = "Bonjour Jean,\r\nvoici la facture.\r\n\xC0 bient\xF4t.";
    const std::string invoice = "Facture n\xB0 12 : 1 250,00 \x80\r\n";
    const auto attachment = WriteFile("facture.txt", invoice);
    SetSeed(20261205);
    ASSERT_TRUE(Encrypt(x, y, text, false, {attachment}).ok);
    const Lines& body = x.body;
    // (What does not depend on the nonce is spelled out in the body layout's
    // test.)
    test::ExpectGolden("messages/message-20.txt", JoinLinesCrLf(body));
    test::ExpectGolden("messages/message-20-facture.txt", *ReadWholeFile(x.Sent() / "facture.txt"));

    Deliver(x, y);
    const Lines golden = body;
    ASSERT_TRUE(Receive(y, golden).ok);
    EXPECT_EQ(y->messages.decrypted.text, text);
    EXPECT_EQ(*ReadWholeFile(y.Decrypted() / "facture.txt"), invoice);

    // The same text again: another nonce and mask, the same digest (same
    // address line, second and text).
    ASSERT_TRUE(Encrypt(x, y, text).ok);
    EXPECT_NE(body[7], golden[7]);
    EXPECT_EQ(body[8], golden[8]);
    EXPECT_NE(body[10], golden[10]);
}

TEST_F(TwoHolders, AttachmentsGoIntoFilesOfTheirOwnAndComeBackThroughMailNoise) {
    const auto report = WriteFile("report.txt", "");
    const auto image = WriteFile("image.bin", AllHighBytes() + std::string(5, '\0'));
    // Binary files hold runs of 16 bytes that are not valid cipher blocks.
    const std::string binary = std::string(48, '\0') + std::string(32, '\xFF') + "\x80" +
                               std::string(15, '\0') + "\x7F" + std::string(15, '\xFF');
    const auto blocks = WriteFile("blocs.dat", binary);
    std::filesystem::create_directories(root.path() / "other");
    const auto again = root.path() / "other" / "report.txt";  // a second of the same name
    ASSERT_TRUE(WriteFileAtomically(again, "second"));
    ASSERT_TRUE(Encrypt(x, y, "quatre pièces", false, {report, image, blocks, again}).ok);
    // The names follow the end marker in the order attached.
    const Lines names{"report.txt", "image.bin", "blocs.dat", "report_1.txt"};
    const Lines& body = x.body;
    EXPECT_EQ(body[body.size() - 5], kEndMarkerLine);
    EXPECT_EQ(Lines(body.end() - 4, body.end()), names);
    EXPECT_EQ(
        x->messages.encryptedAttachments,
        (std::vector<std::filesystem::path>{x.Sent() / "report.txt", x.Sent() / "image.bin",
                                            x.Sent() / "blocs.dat", x.Sent() / "report_1.txt"}));
    // Each file is one section in lines ending in CR LF: an empty one, its header.
    const std::string file = *ReadWholeFile(x.Sent() / "report.txt");
    EXPECT_EQ(file.size(), 2 * 34u);
    EXPECT_EQ(file.substr(32, 2), "\r\n");

    // Empty lines and trailing blanks that a mail transport adds are dropped.
    Deliver(x, y);
    Lines mail = body;
    mail.insert(mail.begin(), {"Received: from somewhere", ""});
    mail.back() += "  ";
    mail[mail.size() - 5] += " \t";  // the end-marker line
    mail.insert(mail.end(), {"", "   ", ""});
    ASSERT_TRUE(Receive(y, mail).ok);
    const DecryptedMessage& m = y->messages.decrypted;
    EXPECT_EQ(y->messages.receivedAttachmentNames, names);
    ASSERT_EQ(m.attachments.size(), 4u);
    EXPECT_EQ(m.attachments[0], y.Decrypted() / "report.txt");
    EXPECT_EQ(*ReadWholeFile(m.attachments[0]), "");
    EXPECT_EQ(*ReadWholeFile(m.attachments[1]), AllHighBytes() + std::string(5, '\0'));
    EXPECT_EQ(*ReadWholeFile(m.attachments[2]), binary);
    EXPECT_EQ(*ReadWholeFile(y.Decrypted() / "report_1.txt"), "second");
    EXPECT_TRUE(m.notices.empty());
    // A later message with the same name takes the next free number.
    ASSERT_TRUE(Encrypt(x, y, "encore", false, {report}).ok);
    EXPECT_EQ(x.body.back(), "report_2.txt");
}

TEST_F(TwoHolders, TheViewerDataOfARegisteredAnUnregisteredAndAnAlteredSender) {
    ASSERT_TRUE(RoundTrip(x, y, "de F vers A").ok);
    const DecryptedMessage& fromF = y->messages.decrypted;
    EXPECT_EQ(fromF.sender.registration.positive, true);
    EXPECT_EQ(fromF.sender.registration.text, txt::kSenderRegistered);
    EXPECT_EQ(fromF.sender.firmLabel, txt::kFirmLabel);
    EXPECT_EQ(fromF.sender.firm, "ACME");  // department "-" left out
    EXPECT_EQ(fromF.sender.name, "MARTIN claire");
    EXPECT_EQ(fromF.sender.locality, "LYON, RHONE, FRANCE");
    EXPECT_EQ(fromF.sender.email, "claire@example.org");
    EXPECT_EQ(fromF.sender.date, "05/12/2026");
    EXPECT_EQ(fromF.sender.time, "14:03:07");
    EXPECT_EQ(fromF.confirmation.text, txt::kIdentityConfirmed);
    EXPECT_EQ(JoinLinesCrLf(fromF.headerText),
              "En-t\xEAte :\r\n" + fromF.addressLine +
                  "\r\n\r\nMessage condens\xE9 et signature :\r\n" + fromF.digest + "\r\n" +
                  fromF.signature +
                  "\r\n\r\nInformations et date du message :\r\nF1\r\n05/12/2026 14:03:07\r\n"
                  "\r\nExp\xE9"
                  "diteur :\r\nACME\r\n-\r\nMARTIN\r\nclaire\r\nLYON\r\nRHONE\r\nFRANCE\r\n"
                  "claire@example.org\r\n\r\nMessage :\r\n");
    EXPECT_EQ(x->messages.certificationData, "");
    EXPECT_EQ(y->messages.certificationData, fromF.addressLine + "\r" + fromF.digest + "\r" +
                                                 fromF.signature + "\r05/12/2026 14:03:07");

    // Not registered: shown as such, not refused.
    ASSERT_TRUE(RoundTrip(y, x, "de A vers F").ok);
    EXPECT_EQ(y.body[0],
              "Message chiffr\xE9 par \"QuarnelSys\" provenant d'un utilisateur non enregistr\xE9");
    const DecryptedMessage& fromA = x->messages.decrypted;
    EXPECT_FALSE(fromA.sender.registration.positive);
    EXPECT_EQ(fromA.sender.registration.text, txt::kSenderUnregistered);
    EXPECT_TRUE(fromA.identityConfirmed);
    EXPECT_EQ(fromA.sender.firmLabel, 0);
    EXPECT_EQ(fromA.sender.name, "DUPONT jean");
    EXPECT_EQ(fromA.sender.locality, "PARIS, FRANCE");  // entity "-" left out with its comma

    // An identity other than the one the authority certified: decrypted, not
    // confirmed.
    x->settings.identity[2] = "MARTINEZ";
    ASSERT_TRUE(RoundTrip(x, y, "qui suis-je ?").ok);
    const DecryptedMessage& m = y->messages.decrypted;
    EXPECT_EQ(m.text, "qui suis-je ?");
    EXPECT_FALSE(m.identityConfirmed);
    EXPECT_FALSE(m.confirmation.positive);
    EXPECT_EQ(m.confirmation.text, txt::kIdentityNotConfirmed);
    EXPECT_EQ(m.sender.name, "MARTINEZ claire");
}

}  // namespace
}  // namespace quarnel
