// Sorting received mail: the rules on text and names, then whole retrievals,
// against a scripted server for the faults and against a real POP3 server
// for a message from one holder to another, decrypted at the end.

#include "mail/incoming.h"

#include <gtest/gtest.h>

#include "crypto/cp1252.h"
#include "crypto/own_keys.h"
#include "event_loop.h"
#include "holder_fixture.h"
#include "mail/mime.h"
#include "mail/pop3_texts.h"
#include "mail_servers.h"
#include "scripted_server.h"
#include "store/record_list.h"

namespace quarnel {
namespace {

namespace step = test::step;

const std::string kOwn = "0FF01000000";

std::string Address(std::string_view recipient, Kind kind = Kind::PlainMessage) {
    return AddressLine(kind, "ABCDE", '1', '1', recipient, "0FF00002000");
}

ParsedMail Mail(const std::string& text) {
    ParsedMail m;
    m.lastTextPart = text;
    return m;
}

TEST(Incoming, WhichMailsAreOursAndWhatOfTheirTextIsKept) {
    ParsedMail h;
    ASSERT_TRUE(ParseMailHeaders("X-MAILER: QuarnelSys\r\nX-Mailer: other\r\n\r\n", h));
    EXPECT_TRUE(IsOurMail(h));
    ASSERT_TRUE(ParseMailHeaders("X-Mailer: quarnelsys\r\n\r\n", h));
    EXPECT_FALSE(IsOurMail(h));
    ASSERT_TRUE(ParseMailHeaders("Subject: plain\r\n\r\n", h));
    EXPECT_FALSE(IsOurMail(h));

    const std::string sep = kSeparatorLine, end = kEndMarkerLine;
    // Title and relay lines before the separator, a relay footer after the end marker.
    SortedText s = SortText(
        Mail("Message chiffr\xE9\r\nRelay: x\r\n" + sep + "  \r\n" + Address(kOwn) +
             "\r\nAB12\r\n" + end + "\r\nold.bin\r\n" + end + "\r\n-- \r\nSent by the relay\r\n"),
        kOwn);
    ASSERT_EQ(s.verdict, MailVerdict::Accepted);
    EXPECT_EQ(s.text, (Lines{sep + "  ", Address(kOwn), "AB12", end, "old.bin", end}));

    s = SortText(Mail(sep + "\n" + Address("0FF09999999") + "\nAB\n" + end + "\n"), kOwn);
    EXPECT_EQ(s.verdict, MailVerdict::NotForUs);
    EXPECT_EQ(s.recipientNumber, "0FF09999999");
    s = SortText(Mail(sep + "\n" + Address(kOwn, Kind::KeyDelivered) + "\nAB\n" + end + "\n"),
                 kOwn);
    EXPECT_EQ(s.verdict, MailVerdict::NotForUs);
    // The most lines a text may hold.
    std::string many = sep + "\n" + Address(kOwn) + "\n";
    for (std::size_t i = 3; i < kMaxReceivedLines; ++i)
        many += "A\n";
    EXPECT_EQ(SortText(Mail(many + end + "\n"), kOwn).verdict, MailVerdict::Accepted);
    EXPECT_EQ(SortText(Mail(many + "A\n" + end + "\n"), kOwn).verdict, MailVerdict::Malformed);
    for (const std::string& bad :
         {std::string("no separator\n"), sep + "\n" + Address(kOwn), sep + "\nshort\nAB\n" + end,
          sep + "\n" + Address(kOwn) + "\nA\rB\n" + end + "\n",
          sep + "\n" + Address(kOwn) + "\nAB\n"}) {
        EXPECT_EQ(SortText(Mail(bad), kOwn).verdict, MailVerdict::Malformed) << bad;
    }
}

TEST(Incoming, AttachmentNamesFromMailNeverReachOutsideOrReplaceAFile) {
    EXPECT_EQ(ReceivedFileName("../../etc/passwd"), "passwd");
    EXPECT_EQ(ReceivedFileName("C:\\x\\r\xC3\xA9sum\xC3\xA9.pdf"), "r\xE9sum\xE9.pdf");
    for (const std::string bad : {"", ".", "..", "dir/", "a\tb", "a\x7F", "\xE4\xB8\xAD.txt"}) {
        EXPECT_FALSE(ReceivedFileName(bad)) << bad;
    }

    test::TempDir dir;
    ASSERT_TRUE(WriteFileAtomically(dir.path() / "a.bin", "old"));
    std::vector<std::string> refused;
    std::string failed;
    const auto names =
        SaveAttachments({{"a.bin", "new"}, {"../a.bin", "newer"}, {"..", "x"}, {"own.dat", "y"}},
                        dir.path(), {dir.path() / "own.dat"}, &refused, &failed);
    ASSERT_TRUE(names);
    EXPECT_EQ(*names, (std::vector<std::string>{"a_1.bin", "a_2.bin", kFallbackAttachmentName,
                                                "own_1.dat"}));
    EXPECT_EQ(refused, std::vector<std::string>{".."});
    EXPECT_EQ(*ReadWholeFile(dir.path() / "a.bin"), "old");
    EXPECT_EQ(*ReadWholeFile(dir.path() / "a_2.bin"), "newer");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "own.dat"));

    // A folder that cannot be written: nothing is left behind.
    EXPECT_FALSE(SaveAttachments({{"b.bin", "1"}}, dir.path() / "missing", {}, nullptr, &failed));
    EXPECT_EQ(failed, "b.bin");
}

// A holder y that receives from x through a POP3 server.
class Retrieval : public test::TwoHolders {
  protected:
    void SetUp() override {
        TwoHolders::SetUp();
        ASSERT_TRUE(StoreMailPassword(y->keyStore, y->ownDigit, "secret"));
        y->settings.accountName = "dupont";
    }

    // Runs a retrieval for y against `server`.
    RetrievalOutcome Run(const std::string& server, int guardMs = 20000) {
        y->settings.pop3Server = server;
        MailRetrieval r(*y, y->mail, queue,
                        MailLimits{std::chrono::milliseconds(3000), std::chrono::milliseconds(3000),
                                   std::chrono::milliseconds(1000)});
        QObject::connect(&r, &MailRetrieval::logged, [this](int id, const QString& detail) {
            logs.emplace_back(id, detail.toStdString());
        });
        bool done = false;
        QObject::connect(&r, &MailRetrieval::finished,
                         [&](const RetrievalOutcome&) { done = true; });
        logs.clear();
        r.Start();
        EXPECT_TRUE(test::RunUntil([&] { return done; }, guardMs));
        return r.outcome();
    }
    bool Logged(int id, const std::string& detail = "*") const {
        return std::any_of(logs.begin(), logs.end(), [&](const auto& l) {
            return l.first == id && (detail == "*" || l.second == detail);
        });
    }
    RecordList LogOnDisk() const {
        RecordList list;
        const auto bytes = ReadWholeFile(ReceivedLogPath(*y));
        if (bytes) (void)ParseRecordList(*bytes, list);
        return list;
    }
    // A mail of ours with `text` as its body.
    static std::string OurMail(const std::string& text, const std::string& mailer = "QuarnelSys") {
        return "From: MARTIN <martin@example.org>\r\nSubject: s\r\nX-Mailer: " + mailer +
               "\r\n\r\n" + text;
    }
    std::string ForY() const {
        return kSeparatorLine + "\r\n" + Address(y->ownNumber) + "\r\nAB12\r\n" + kEndMarkerLine +
               "\r\n";
    }

    DecryptionQueue queue;
    std::vector<std::pair<int, std::string>> logs;
};

TEST_F(Retrieval, WithoutAStoredPasswordNothingIsCalled) {
    y->keyStore.back().resize(6);
    const RetrievalOutcome o = Run("127.0.0.1:1");
    EXPECT_TRUE(o.noPassword);
    EXPECT_FALSE(o.connected);
    EXPECT_TRUE(Logged(txt::kPop3NoPassword));
}

TEST_F(Retrieval, AFaultWhileSortingKeepsWhatWasAcceptedAndDeletesNothingElse) {
    const std::string mail = OurMail(ForY());
    const auto login = [](const std::string& stat) {
        return test::Script{step::Send("+OK\r\n"), step::ExpectLine("USER dupont"),
                            step::Send("+OK\r\n"), step::ExpectLine("PASS secret"),
                            step::Send("+OK\r\n"), step::ExpectLine("STAT"),
                            step::Send(stat)};
    };
    test::Script refused = login("+OK 2 100\r\n");
    test::Script reset = refused;
    for (test::Script* s : {&refused, &reset}) {
        s->insert(s->end(), {step::ExpectLine("TOP 1 0"), step::Send("+OK\r\n" + mail + ".\r\n"),
                             step::ExpectLine("LIST 1"), step::Send("+OK 1 100\r\n"),
                             step::ExpectLine("RETR 1"), step::Send("+OK\r\n" + mail + ".\r\n"),
                             step::ExpectLine("TOP 2 0"), step::Send("+OK\r\n" + mail + ".\r\n"),
                             step::ExpectLine("LIST 2"), step::Send("+OK 2 100\r\n"),
                             step::ExpectLine("RETR 2")});
    }
    // "-ERR" at the second RETR: the first is logged, deleted, and QUIT ends it.
    refused.insert(refused.end(),
                   {step::Send("-ERR gone\r\n"), step::ExpectLine("DELE 1"), step::Send("+OK\r\n"),
                    step::ExpectLine("QUIT"), step::Send("+OK\r\n")});
    // A reset after the second RETR: the first is logged, nothing is deleted.
    reset.push_back(step::Reset());
    for (const bool withReset : {false, true}) {
        test::ScriptedServer server({withReset ? reset : refused});
        ASSERT_TRUE(server.Listen());
        queue.clear();
        y->mail.receivedLog.Clear();
        std::filesystem::remove(ReceivedLogPath(*y));
        const RetrievalOutcome o = Run("127.0.0.1:" + std::to_string(server.port()));
        EXPECT_TRUE(o.connected);
        EXPECT_FALSE(o.complete);
        EXPECT_EQ(o.accepted, 1);
        EXPECT_EQ(o.deleted, withReset ? 0 : 1);
        EXPECT_TRUE(o.logSaved);
        EXPECT_TRUE(Logged(txt::kPop3TransferFailed));
        EXPECT_TRUE(Logged(txt::kPop3Accepted, "1"));
        ASSERT_EQ(queue.size(), 1U);
        EXPECT_EQ(queue[0].front(), "s");
        EXPECT_EQ(LogOnDisk().size(), 1U);
        EXPECT_TRUE(server.Failures().empty()) << server.Failures().front();
        EXPECT_EQ(server.Received(0).find("DELE 2"), std::string::npos);
    }
}

TEST_F(Retrieval, FromOneHolderToAnotherThroughARealServer) {
    if (const std::string why = test::Pop3Server::MissingReason(); !why.empty())
        GTEST_SKIP() << why;
    test::TempDir maildir;
    test::Pop3Server pop3(maildir.path() / "Maildir", "dupont", "secret");
    ASSERT_TRUE(pop3.Running()) << pop3.Log();

    const std::string invoice("%PDF-1.4\0\xFF\x80", 11);
    ASSERT_TRUE(Encrypt(x, y, "Bonjour,\r\nla facture.", false,
                        {WriteFile("facture.pdf", invoice), WriteFile("note.txt", "note")})
                    .ok);
    OutgoingMail out{"martin@example.org",      "MARTIN",
                     "Facture de mars",         {"dupont@example.org"},
                     x->authority.outgoingBody, x->messages.encryptedAttachments};
    const std::string ours = BuildMail(out);
    pop3.Drop("From: a@example.org\r\nSubject: plain\r\n\r\nhello\r\n");
    pop3.Drop(ours);
    pop3.Drop(OurMail(kSeparatorLine + "\r\n" + Address("0FF09999999") + "\r\nAB\r\n" +
                      kEndMarkerLine + "\r\n"));
    pop3.Drop(OurMail(ForY(), "quarnelsys"));
    // A file of that name is already in the received folder: it stays.
    const std::string firstName = x->messages.encryptedAttachments[0].filename().string();
    ASSERT_TRUE(WriteFileAtomically(y.Received() / firstName, "mine"));
    ASSERT_EQ(pop3.Count(), 4U);

    const RetrievalOutcome o = Run(pop3.Address());
    EXPECT_TRUE(o.complete);
    EXPECT_EQ(o.accepted, 1);
    EXPECT_EQ(o.deleted, 1);
    EXPECT_TRUE(Logged(txt::kPop3Messages, "4"));
    EXPECT_TRUE(Logged(txt::kPop3ForAffiliate, "0FF09999999"));
    EXPECT_TRUE(Logged(txt::kPop3Subject, "Facture de mars"));
    EXPECT_TRUE(Logged(txt::kPop3Disconnected));
    // The plain mail, the one for another affiliate and the one with a
    // lower-case mailer stay on the server.
    EXPECT_EQ(pop3.Count(), 3U) << pop3.Log();
    EXPECT_EQ(std::count_if(logs.begin(), logs.end(),
                            [](const auto& l) { return l.first == txt::kPop3PlainRejected; }),
              2);

    ASSERT_EQ(queue.size(), 1U);
    const Lines& entry = queue[0];
    EXPECT_EQ(entry[0], "Facture de mars");
    EXPECT_EQ(entry[1], kSeparatorLine);
    const std::string renamed = std::filesystem::path(firstName).stem().string() + "_1" +
                                std::filesystem::path(firstName).extension().string();
    ASSERT_GE(entry.size(), 4U);
    EXPECT_EQ(entry[entry.size() - 2], renamed);
    EXPECT_EQ(*ReadWholeFile(y.Received() / firstName), "mine");
    const RecordList log = LogOnDisk();
    ASSERT_EQ(log.size(), 1U);
    EXPECT_EQ(log[0][1], "Message Chiffr\xE9 de MARTIN");
    EXPECT_EQ(log[0][2], "objet : Facture de mars");
    EXPECT_EQ(Lines(log[0].begin() + 3, log[0].end()), Lines(entry.begin() + 1, entry.end()));

    // What "Déchiffrer" does with the entry.
    const ReceiveOutcome r = Receive(y, Lines(entry.begin() + 1, entry.end()));
    ASSERT_TRUE(r.ok) << int(r.refusal) << " " << r.problem;
    EXPECT_EQ(y->messages.decrypted.text, "Bonjour,\r\nla facture.");
    ASSERT_EQ(y->messages.decrypted.attachments.size(), 2U);
    EXPECT_EQ(*ReadWholeFile(y->messages.decrypted.attachments[0]), invoice);
    EXPECT_EQ(*ReadWholeFile(y->messages.decrypted.attachments[1]), "note");

    // Nothing more for y the second time.
    queue.clear();
    EXPECT_EQ(Run(pop3.Address()).accepted, 0);
    EXPECT_EQ(pop3.Count(), 3U);
}

}  // namespace
}  // namespace quarnel
