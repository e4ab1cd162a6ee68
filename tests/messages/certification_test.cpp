// Certification of a received message's signature by the reference
// authority: from the decrypted message and from the saved decrypted file,
// and the saved files that must not be sent.

#include "messages/certification.h"
#include "authority/texts.h"
#include "message_fixture.h"
#include "messages/texts.h"

namespace quarnel {
namespace {

class Certification : public ::testing::Test {
  protected:
    void SetUp() override {
        test::FixClocks();
        test::AffiliatePair(
            root.path(), [this](HolderContext&) { return ta.Hooks(); }, x, y);
    }
    void TearDown() override { test::ReleaseClocks(); }

    // `from` writes `text` to `to`, who decrypts it.
    void Send(HolderContext& from, HolderContext& to, const std::string& text) {
        const char category = to.settings.category;
        from.recipientCategory = category;
        from.recipientRecord = from.correspondents.ForCategory(category)->back();
        from.requestKind = "20";
        ASSERT_TRUE(BuildOutgoingBody(from, text).ok);
        const ReceiveOutcome o = ReadReceivedBody(
            to, from.outgoingBody, [](HolderContext&, const Lines&) { return false; });
        ASSERT_TRUE(o.ok) << int(o.refusal);
    }

    CertificationSender Sender() {
        return [this](HolderContext& c) {
            ++sent;
            return RunCertificationRequest(c, ta.Hooks()).status == FlowStatus::Done;
        };
    }

    static bool Contains(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }

    const std::string kCertified = "CERTIFI\xC9 : la signature ci-dessus est celle";
    test::TempDir root;
    test::InProcessTa ta;
    std::unique_ptr<HolderContext> x;
    std::unique_ptr<HolderContext> y;
    int sent = 0;
};

TEST_F(Certification, FromTheDecryptedMessage) {
    Send(*x, *y, "Certifiez-moi.");
    ASSERT_EQ(CertifyDecryptedMessage(*y, Sender()), CertifyResult::Delivered);
    EXPECT_EQ(ta.last.kind, "18");
    EXPECT_EQ(y->information, txt::kCertificateDelivered);
    EXPECT_TRUE(ta.outcome.showCertificate);
    const std::string& certificate = y->certificateText;
    EXPECT_TRUE(Contains(certificate, kCertified)) << certificate;
    EXPECT_TRUE(Contains(certificate, y->decrypted.digest));
    EXPECT_TRUE(Contains(certificate,
                         "Exp\xE9"
                         "diteur : n\xB0 " +
                             x->ownNumber));
    EXPECT_TRUE(Contains(certificate, "05/12/2026 14:03:07"));
}

TEST_F(Certification, FromASavedFileOfEitherCategory) {
    for (const bool fromF : {true, false}) {
        HolderContext& from = fromF ? *x : *y;
        HolderContext& to = fromF ? *y : *x;
        Send(from, to, "Ligne un\r\nLigne deux\r\n");
        const std::string bytes = SavedMessageBytes(to.decrypted);
        SavedMessage saved;
        ASSERT_TRUE(ReadSavedMessageText(bytes, saved));
        EXPECT_TRUE(saved.confirmed);
        EXPECT_EQ(saved.confirmation.text, txt::kDigestConfirmed);
        EXPECT_EQ(saved.messageLine, fromF ? 22u : 20u);
        EXPECT_EQ(saved.messageText, "Ligne un\r\nLigne deux\r\n");
        EXPECT_EQ(saved.certificationData, to.certificationData);
        EXPECT_EQ(saved.sender.affiliation, from.ownNumber);
        EXPECT_EQ(saved.sender.name, fromF ? "MARTIN claire" : "DUPONT jean");
        EXPECT_EQ(saved.sender.date, "05/12/2026");
        EXPECT_EQ(saved.sender.time, "14:03:07");
        EXPECT_EQ(saved.sender.registration.text, txt::kSenderUnregistered);

        to.certificationData.clear();
        ASSERT_EQ(CertifySavedMessage(to, saved, Sender()), CertifyResult::Delivered);
        EXPECT_TRUE(Contains(to.certificateText, kCertified));
        EXPECT_TRUE(Contains(to.certificateText, saved.digest));
    }
}

// `bytes` with the character at `position` of line `line` changed.
std::string Altered(const std::string& bytes, std::size_t line, std::size_t position) {
    std::size_t offset = 0;
    for (std::size_t i = 0; i < line; ++i)
        offset = bytes.find("\r\n", offset) + 2;
    std::string out = bytes;
    char& c = out[offset + position];
    c = c == '1' ? '2' : '1';
    return out;
}

TEST_F(Certification, AnAlteredSavedFileIsNotConfirmedAndNothingIsSent) {
    Send(*x, *y, "Montant : 100 euros.");
    const std::string original = SavedMessageBytes(y->decrypted);
    const std::string before = y->certificationData;
    struct Change {
        std::size_t line;
        std::size_t position;
    };
    // The message text, the address line, the date-time line, the digest line.
    for (const Change c : {Change{22, 10}, Change{1, 4}, Change{9, 1}, Change{4, 0}}) {
        SavedMessage saved;
        ASSERT_TRUE(ReadSavedMessageText(Altered(original, c.line, c.position), saved));
        EXPECT_FALSE(saved.confirmed) << c.line;
        EXPECT_EQ(saved.confirmation.text, txt::kDigestNotConfirmed);
        EXPECT_EQ(CertifySavedMessage(*y, saved, Sender()), CertifyResult::NotConfirmed);
    }
    EXPECT_EQ(sent, 0);
    EXPECT_EQ(y->certificationData, before);

    // A changed signature passes the local check: the authority says no.
    SavedMessage saved;
    ASSERT_TRUE(ReadSavedMessageText(Altered(original, 5, 0), saved));
    ASSERT_TRUE(saved.confirmed);
    ASSERT_EQ(CertifySavedMessage(*y, saved, Sender()), CertifyResult::Delivered);
    EXPECT_TRUE(Contains(y->certificateText, "NON CERTIFI\xC9"));
}

TEST_F(Certification, TheViewerCertifiesTheMessageItShows) {
    Send(*x, *y, "premier");
    SavedMessage first;
    ASSERT_TRUE(ReadSavedMessageText(SavedMessageBytes(y->decrypted), first));
    Send(*x, *y, "second");
    const std::string secondDigest = y->decrypted.digest;
    ASSERT_NE(first.digest, secondDigest);
    ASSERT_EQ(CertifySavedMessage(*y, first, Sender()), CertifyResult::Delivered);
    ASSERT_EQ(CertifyDecryptedMessage(*y, Sender()), CertifyResult::Delivered);
    EXPECT_TRUE(Contains(y->certificateText, secondDigest));

    HolderContext fresh;
    EXPECT_EQ(CertifyDecryptedMessage(fresh, Sender()), CertifyResult::NoMessage);
    EXPECT_EQ(sent, 2);
}

TEST_F(Certification, RepliesOfTheAuthorityGoToTheInjectedReplyProcessing) {
    // The certificate reply, handed over as a received body (as the mail or
    // the clipboard would) instead of through the TA connection window.
    Send(*x, *y, "par le répartiteur");
    y->requestKind = "18";
    ASSERT_TRUE(BuildOutgoingBody(*y).ok);
    const ta::Reply reply = ta.service().Handle(RequestData(y->outgoingBody));
    ASSERT_EQ(reply.status, 200);
    y->certificateText.clear();
    Lines seen;
    const TaReplyHandler process = [&seen](HolderContext& c, const Lines& body) {
        seen = body;
        return ProcessTaReplyLines(c, body).accepted;
    };
    Lines mail = SplitLines(reply.body);
    mail.insert(mail.begin(), "Demande de certification");
    const ReceiveOutcome o = ReadReceivedBody(*y, mail, process);
    EXPECT_TRUE(o.ok);
    EXPECT_EQ(o.kind, "1C");
    EXPECT_EQ(seen.front(), kSeparatorLine);
    EXPECT_TRUE(Contains(y->certificateText, kCertified));
    // Refused by the reply processing (not for this holder): false.
    EXPECT_EQ(ReadReceivedBody(*x, mail, process).refusal, ReceiveRefusal::ReplyRefused);
    // A request body is neither a reply nor a message.
    EXPECT_EQ(ReadReceivedBody(*y, y->outgoingBody, process).refusal, ReceiveRefusal::UnknownKind);
}

// Saved files written by hand: other categories and files that are not saved
// messages at all.
std::string SavedFile(const std::string& information, const std::vector<std::string>& fields,
                      const std::string& message) {
    const std::string address = std::string(21, '0') + "0FF00009000";
    const std::string moment = "01/02/2027 08:09:10";
    Quad d{};
    EXPECT_TRUE(CondenseText(address + moment + message, d));
    Lines lines{"En-t\xEAte :", address, "", "x", QuadToHex(d), std::string(32, 'B'), "", "x",
                information,    moment,  "", "x"};
    lines.insert(lines.end(), fields.begin(), fields.end());
    lines.insert(lines.end(), {"", "Message :"});
    return JoinLinesCrLf(lines) + message;
}

TEST(SavedMessages, CategoryCAndUnknownCategories) {
    const std::string c =
        SavedFile("C1", {"MAIRIE", "DURAND", "paul", "NANTES", "-", "FRANCE", "paul@example.org"},
                  "texte\r\nsuite\r\n");
    SavedMessage saved;
    ASSERT_TRUE(ReadSavedMessageText(c, saved));
    EXPECT_TRUE(saved.confirmed);
    EXPECT_EQ(saved.messageLine, 21u);
    EXPECT_EQ(saved.messageText, "texte\r\nsuite\r\n");
    EXPECT_EQ(saved.sender.firmLabel, txt::kLabelOrganisme);
    EXPECT_EQ(saved.sender.firm, "MAIRIE");
    EXPECT_EQ(saved.sender.name, "DURAND paul");
    EXPECT_EQ(saved.sender.locality, "NANTES, FRANCE");
    EXPECT_EQ(saved.sender.email, "paul@example.org");
    EXPECT_EQ(saved.sender.affiliation, "0FF00009000");
    EXPECT_TRUE(saved.sender.registration.positive);
    // An empty message ends the file right after "Message :".
    ASSERT_TRUE(ReadSavedMessageText(SavedFile("A0", {"a", "b", "c", "d", "e", "f"}, ""), saved));
    EXPECT_TRUE(saved.confirmed);

    ASSERT_TRUE(ReadSavedMessageText(SavedFile("X1", {"a", "b", "c", "d", "e", "f"}, "t"), saved));
    EXPECT_FALSE(saved.confirmed);
    EXPECT_EQ(saved.messageLine, 0u);
    EXPECT_TRUE(saved.sender.name.empty());

    // Too few lines for a header, or for the header of its category.
    EXPECT_FALSE(ReadSavedMessageText("une lettre\r\nordinaire\r\n", saved));
    const std::string d = SavedFile("D1", {"a", "b", "c"}, "");
    EXPECT_FALSE(ReadSavedMessageText(d, saved));
}

}  // namespace
}  // namespace quarnel
