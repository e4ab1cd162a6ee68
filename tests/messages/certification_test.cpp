// SPDX-License-Identifier: GPL-3.0-or-later
// Certification of a received message's signature by the reference
// authority: from the decrypted message and from the saved decrypted file,
// the saved files that must not be sent, and saved files of every category.

#include "messages/certification.h"
#include "holder_fixture.h"
#include "messages/texts.h"
#include "protocol/lines.h"

namespace quarnel {
namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

const std::string kCertified = "CERTIFI\xC9 : la signature ci-dessus est celle";

class Certification : public test::Messages {
  protected:
    void SetUp() override {
        test::FixClocks();
        test::AffiliatePair(root.path(), ta.EveryHolder(), x.ctx, y.ctx);
    }
    void TearDown() override { test::ReleaseClocks(); }

    CertificationSender Sender(ProgramData& c) {
        return [this, &c] {
            ++sent;
            return RunCertificationRequest(test::Scope(c), ta.Hooks(c)).status == FlowStatus::Done;
        };
    }

    test::InProcessTa ta;
    int sent = 0;
};

TEST_F(Certification, TheViewerCertifiesTheMessageItShows) {
    ASSERT_TRUE(RoundTrip(x, y, "premier").ok);
    SavedMessage first;
    ASSERT_TRUE(ReadSavedMessageText(SavedMessageBytes(y->messages.decrypted), first));
    ASSERT_TRUE(RoundTrip(x, y, "second").ok);
    const std::string secondDigest = y->messages.decrypted.digest;
    ASSERT_NE(first.digest, secondDigest);
    // A saved file opened for certification meanwhile does not change it.
    ASSERT_EQ(CertifySavedMessage(y->messages, first, Sender(*y)), CertifyResult::Delivered);
    ASSERT_EQ(CertifyDecryptedMessage(y->messages, Sender(*y)), CertifyResult::Delivered);
    // The shown message's data went (the certificate's other lines and the
    // information line: the authority's reply tests).
    EXPECT_EQ(ta.last.kind, KindText(Kind::Certification));
    const std::string& certificate = y->authority.certificateText;
    EXPECT_TRUE(Contains(certificate, kCertified)) << certificate;
    EXPECT_TRUE(Contains(certificate, secondDigest));

    ProgramData fresh;
    EXPECT_EQ(CertifyDecryptedMessage(fresh.messages, Sender(fresh)), CertifyResult::NoMessage);
    EXPECT_EQ(sent, 2);
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

TEST_F(Certification, FromASavedFileOfEitherCategoryOnlyWhenItsDigestIsConfirmed) {
    for (const bool fromF : {true, false}) {
        test::Holder& from = fromF ? x : y;
        test::Holder& to = fromF ? y : x;
        ASSERT_TRUE(RoundTrip(from, to, "Ligne un\r\nLigne deux\r\n").ok);
        const std::string bytes = SavedMessageBytes(to->messages.decrypted);
        SavedMessage saved;
        ASSERT_TRUE(ReadSavedMessageText(bytes, saved));
        EXPECT_TRUE(saved.confirmed);
        EXPECT_EQ(saved.confirmation.text, txt::kDigestConfirmed);
        EXPECT_EQ(saved.messageLine, fromF ? 22u : 20u);
        EXPECT_EQ(saved.messageText, "Ligne un\r\nLigne deux\r\n");
        EXPECT_EQ(saved.certificationData, to->messages.certificationData);
        EXPECT_EQ(saved.sender.affiliation, from->ownNumber);
        EXPECT_EQ(saved.sender.name, fromF ? "MARTIN claire" : "DUPONT jean");
        EXPECT_EQ(saved.sender.date, "05/12/2026");
        EXPECT_EQ(saved.sender.time, "14:03:07");
        EXPECT_EQ(saved.sender.registration.text, txt::kSenderUnregistered);

        // The message text, the address line, the date-time line, the digest
        // line altered: not confirmed, and nothing is sent.
        const std::string data = to->messages.certificationData;
        for (const auto& [line, position] :
             {std::pair{saved.messageLine, std::size_t(3)}, {1, 4}, {9, 1}, {4, 0}}) {
            SavedMessage altered;
            ASSERT_TRUE(ReadSavedMessageText(Altered(bytes, line, position), altered));
            EXPECT_FALSE(altered.confirmed) << line;
            EXPECT_EQ(altered.confirmation.text, txt::kDigestNotConfirmed);
            EXPECT_EQ(CertifySavedMessage(to->messages, altered, Sender(*to)),
                      CertifyResult::NotConfirmed);
        }
        EXPECT_EQ(sent, 0);
        EXPECT_EQ(to->messages.certificationData, data);

        to->messages.certificationData.clear();
        ASSERT_EQ(CertifySavedMessage(to->messages, saved, Sender(*to)), CertifyResult::Delivered);
        EXPECT_TRUE(Contains(to->authority.certificateText, kCertified));
        EXPECT_TRUE(Contains(to->authority.certificateText, saved.digest));
        sent = 0;
    }
}

TEST_F(Certification, RepliesOfTheAuthorityGoToTheInjectedReplyProcessing) {
    // The certificate reply, handed over as a received body (as the mail or
    // the clipboard would) instead of through the TA connection window.
    ASSERT_TRUE(RoundTrip(x, y, "par le répartiteur").ok);
    Lines mail = ta.ReplyTo(*y, Kind::Certification);
    mail.insert(mail.begin(), "Demande de certification");
    y->authority.certificateText.clear();
    Lines seen;
    auto processFor = [&seen](test::Holder& h) -> TaReplyHandler {
        return [&seen, &h](const Lines& body) {
            seen = body;
            return ProcessTaReplyLines(*h, h->authority, body).accepted;
        };
    };
    const ReceiveOutcome o = Receive(y, mail, processFor(y));
    EXPECT_TRUE(o.ok);
    EXPECT_EQ(o.kind, Kind::Certificate);
    EXPECT_EQ(seen.front(), kSeparatorLine);
    EXPECT_TRUE(Contains(y->authority.certificateText, kCertified));
    // Refused by the reply processing (not for this holder): false.
    EXPECT_EQ(Receive(x, mail, processFor(x)).refusal, ReceiveRefusal::ReplyRefused);
    // A request body is neither a reply nor a message.
    EXPECT_EQ(Receive(y, y->authority.outgoingBody, processFor(y)).refusal,
              ReceiveRefusal::UnknownKind);
}

using test::SavedMessageFile;

TEST(SavedMessages, CategoryCAndUnknownCategories) {
    const std::string c = SavedMessageFile(
        "C1", {"MAIRIE", "DURAND", "paul", "NANTES", "-", "FRANCE", "paul@example.org"},
        "texte\r\nsuite\r\n");
    SavedMessage saved;
    ASSERT_TRUE(ReadSavedMessageText(c, saved));
    EXPECT_TRUE(saved.confirmed);
    EXPECT_EQ(saved.messageLine, 21u);
    EXPECT_EQ(saved.messageText, "texte\r\nsuite\r\n");
    EXPECT_EQ(saved.sender.firmLabel, txt::kLabelOrganisation);
    EXPECT_EQ(saved.sender.firm, "MAIRIE");
    EXPECT_EQ(saved.sender.name, "DURAND paul");
    EXPECT_EQ(saved.sender.locality, "NANTES, FRANCE");
    EXPECT_EQ(saved.sender.email, "paul@example.org");
    EXPECT_EQ(saved.sender.affiliation, "0FF00009000");
    EXPECT_TRUE(saved.sender.registration.positive);
    // Header lines that an editor ended with LF alone read alike.
    const std::size_t text = c.find("Message :\r\n") + 11;
    std::string lf = c.substr(0, text);
    for (std::size_t at; (at = lf.find("\r\n")) != std::string::npos;)
        lf.replace(at, 2, "\n");
    ASSERT_TRUE(ReadSavedMessageText(lf + c.substr(text), saved));
    EXPECT_TRUE(saved.confirmed);
    EXPECT_EQ(saved.messageText, "texte\r\nsuite\r\n");
    // An empty message ends the file right after "Message :".
    ASSERT_TRUE(
        ReadSavedMessageText(SavedMessageFile("A0", {"a", "b", "c", "d", "e", "f"}, ""), saved));
    EXPECT_TRUE(saved.confirmed);

    ASSERT_TRUE(
        ReadSavedMessageText(SavedMessageFile("X1", {"a", "b", "c", "d", "e", "f"}, "t"), saved));
    EXPECT_FALSE(saved.confirmed);
    EXPECT_EQ(saved.messageLine, 0u);
    EXPECT_TRUE(saved.sender.name.empty());

    // Too few lines for a header, or for the header of its category.
    EXPECT_FALSE(ReadSavedMessageText("une lettre\r\nordinaire\r\n", saved));
    EXPECT_FALSE(ReadSavedMessageText(SavedMessageFile("D1", {"a", "b", "c"}, ""), saved));
}

}  // namespace
}  // namespace quarnel
