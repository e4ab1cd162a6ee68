// SPDX-License-Identifier: GPL-3.0-or-later
// Sorting received mail: the rules on text and names, then whole retrievals,
// against a scripted server for the sorting and the faults and against a real
// POP3 server for a mail too big to hold. From one holder to another through
// real servers, decrypted: mail_tool_test and tests/e2e.

#include "mail/incoming.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <random>
#include <set>

#include "crypto/own_keys.h"
#include "event_loop.h"
#include "holder_fixture.h"
#include "mail/mime.h"
#include "mail/pop3_client.h"
#include "mail/pop3_texts.h"
#include "mail_scripts.h"
#include "mail_servers.h"
#include "scripted_server.h"
#include "store/record_list.h"

namespace quarnel {
namespace {

using namespace std::chrono_literals;
namespace step = test::step;

const std::string kOwn = "0FF01000000";

std::string Address(std::string_view recipient, Kind kind = Kind::PlainMessage) {
    return AddressLine(kind, "ABCDE", '1', '1', recipient, "0FF00002000");
}

ParsedMail Mail(const std::string& text, std::vector<std::string> more = {}) {
    ParsedMail m;
    m.textParts = {text};
    m.textParts.insert(m.textParts.end(), more.begin(), more.end());
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

    // A gateway's footer as a text part of its own, or a part before: the
    // first part holding the separator is the one.
    const std::string ours = sep + "\r\n" + Address(kOwn) + "\r\nAB12\r\n" + end + "\r\n";
    for (const ParsedMail& m : {Mail(ours, {"-- \r\nListe interne\r\n"}),
                                Mail("Avis du service\r\n", {ours, ours + "autre.bin\r\n"})}) {
        s = SortText(m, kOwn);
        ASSERT_EQ(s.verdict, MailVerdict::Accepted);
        EXPECT_EQ(s.text, (Lines{sep, Address(kOwn), "AB12", end}));
    }
    EXPECT_EQ(SortText(Mail("a\r\n", {"b\r\n"}), kOwn).verdict, MailVerdict::Malformed);

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
    RetrievalOutcome Run(const std::string& server, MailLimits limits = {3000ms, 3000ms, 1000ms}) {
        y->settings.pop3Server = server;
        MailRetrieval r(*y, y->mail, queue, limits);
        QObject::connect(&r, &MailRetrieval::logged, [this](int id, const QString& detail) {
            logs.emplace_back(id, detail.toStdString());
        });
        bool done = false;
        QObject::connect(&r, &MailRetrieval::finished,
                         [&](const RetrievalOutcome&) { done = true; });
        logs.clear();
        r.Start();
        EXPECT_TRUE(test::RunUntil([&] { return done; }, 60000));
        return r.outcome();
    }
    RetrievalOutcome Run(const test::ScriptedServer& server,
                         MailLimits limits = {3000ms, 3000ms, 1000ms}) {
        return Run(server.Address(), limits);
    }
    // The log-in of y, the count, and the unique ids (none by default).
    static test::Script LogIn(const std::string& stat, const std::string& uidl = "-ERR\r\n") {
        return test::pop3::LogIn("dupont", "secret", stat, uidl);
    }
    int Count(int id) const {
        return int(
            std::count_if(logs.begin(), logs.end(), [&](const auto& l) { return l.first == id; }));
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
    static std::string OurMail(const std::string& text) {
        return "From: MARTIN <martin@example.org>\r\nSubject: s\r\nX-Mailer: QuarnelSys\r\n\r\n" +
               text;
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
    test::Script refused = LogIn("+OK 2 100\r\n");
    test::pop3::Fetch(refused, 1, mail);
    test::pop3::Fetch(refused, 2, mail);
    refused.pop_back();  // RETR 2 asked, not answered yet
    test::Script reset = refused;
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
        std::filesystem::remove(StoredMarksPath(*y));  // a fresh mailbox each time
        const RetrievalOutcome o = Run(server);
        EXPECT_TRUE(o.connected);
        EXPECT_FALSE(o.complete);
        EXPECT_EQ(o.accepted, 1) << [&] {
            std::string all;
            for (const auto& [id, d] : logs)
                all += FrenchLogLine(id, QString::fromStdString(d)).toStdString() + "\n";
            return all;
        }();
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

// One bad mail does not block the mailbox: each mail past a limit is left
// on the server with one line naming it and the limit, a slow mail that
// keeps coming is not cut, one for another affiliate stays, and the good
// ones are taken in the same session, their sender and subject logged in
// code page 1252.
TEST_F(Retrieval, PoisonSlowAndGoodMailInOneSession) {
    const std::int64_t limit = 200 << 10;
    const auto ours = [&](const std::string& subject, const std::string& extra = "") {
        return "From: =?UTF-8?Q?MARTIN_H=C3=A9l=C3=A8ne?= <martin@example.org>\r\nSubject: " +
               subject + "\r\nX-Mailer: QuarnelSys\r\n\r\n" + extra + ForY();
    };
    std::string hugeHeaders = "X-Mailer: QuarnelSys\r\n";
    while (hugeHeaders.size() <= std::size_t(kMaxPop3Headers))
        hugeHeaders += "X-Pad: " + std::string(90, 'h') + "\r\n";
    std::string tooBig;
    while (tooBig.size() <= std::size_t(limit))
        tooBig += std::string(1000, 'b') + "\r\n";
    const std::string longLine = std::string(kMaxPop3Line, 'l') + "\r\n";
    // The good one with lines ended by LF alone, as some servers pass them.
    const std::string slow = ours("lent"),
                      good = QString::fromStdString(ours("=?UTF-8?Q?bon_=C3=A9t=C3=A9?="))
                                 .replace("\r\n", "\n")
                                 .toStdString();

    test::Script script = test::pop3::Then(
        LogIn("+OK 7 999\r\n"),
        {step::ExpectLine("TOP 1 0"), step::Send(test::pop3::Answer(hugeHeaders)),
         step::ExpectLine("TOP 2 0"), step::Send(test::pop3::Answer(ours("gros"))),
         step::ExpectLine("LIST 2"),  step::Send("+OK 2 " + std::to_string(limit + 1) + "\r\n"),
         step::ExpectLine("TOP 3 0"), step::Send(test::pop3::Answer(ours("menteur"))),
         step::ExpectLine("LIST 3"),  step::Send("+OK 3 100\r\n"),
         step::ExpectLine("RETR 3"),  step::Send(test::pop3::Answer(ours("menteur", tooBig))),
         step::ExpectLine("TOP 4 0"), step::Send(test::pop3::Answer(ours("long"))),
         step::ExpectLine("LIST 4"),  step::Send("+OK 4 70000\r\n"),
         step::ExpectLine("RETR 4"),  step::Send(test::pop3::Answer(ours("long", longLine))),
         step::ExpectLine("TOP 5 0"), step::Send(test::pop3::Answer(slow)),
         step::ExpectLine("LIST 5"),  step::Send("+OK 5 " + std::to_string(slow.size()) + "\r\n"),
         step::ExpectLine("RETR 5"),  step::Send("+OK\r\n")});
    // Twice the idle limit in all, never more than a third of it without a byte.
    for (std::size_t at = 0; at < slow.size(); at += slow.size() / 6 + 1) {
        script.push_back(step::Pause(150));
        script.push_back(step::Send(slow.substr(at, slow.size() / 6 + 1)));
    }
    script.push_back(step::Send(".\r\n"));
    test::pop3::Fetch(script, 6, good);
    test::pop3::Fetch(script, 7,
                      OurMail(kSeparatorLine + "\r\n" + Address("0FF09999999") + "\r\nAB\r\n" +
                              kEndMarkerLine + "\r\n"));
    script.insert(script.end(),
                  {step::ExpectLine("DELE 5"), step::Send("+OK\r\n"), step::ExpectLine("DELE 6"),
                   step::Send("+OK\r\n"), step::ExpectLine("QUIT"), step::Send("+OK\r\n")});
    test::ScriptedServer server({script});
    ASSERT_TRUE(server.Listen());
    MailLimits limits{3000ms, 450ms, 1000ms, 100};
    limits.maxMessage = limit;
    const RetrievalOutcome o = Run(server, limits);
    EXPECT_TRUE(server.Failures().empty()) << server.Failures().front();
    EXPECT_TRUE(o.complete);
    EXPECT_EQ(o.accepted, 2);
    EXPECT_EQ(o.deleted, 2);
    const auto details = [](std::initializer_list<QString> v) {
        return LogDetails(v).toStdString();
    };
    EXPECT_TRUE(
        Logged(txt::kPop3LeftHeadersTooLarge, details({"1", QString::number(kMaxPop3Headers)})));
    EXPECT_TRUE(Logged(txt::kPop3TooLarge,
                       details({"2", QString::number(limit + 1), QString::number(limit)})));
    EXPECT_EQ(Count(txt::kPop3TooLarge), 2);
    EXPECT_TRUE(Logged(txt::kPop3LeftLineTooLong, details({"4", QString::number(kMaxPop3Line)})));
    EXPECT_TRUE(Logged(txt::kPop3Accepted, "5"));
    EXPECT_TRUE(Logged(txt::kPop3Accepted, "6"));
    EXPECT_TRUE(Logged(txt::kPop3ForAffiliate, "0FF09999999"));
    EXPECT_TRUE(Logged(txt::kPop3Messages, "7"));
    ASSERT_EQ(queue.size(), 2U);
    EXPECT_EQ(queue[0].front(), "lent");
    EXPECT_EQ(queue[1].front(), "bon \xE9t\xE9");
    const RecordList log = LogOnDisk();
    ASSERT_EQ(log.size(), 2U);
    EXPECT_EQ(log[1][1], "Message Chiffr\xE9 de MARTIN H\xE9l\xE8ne");
    EXPECT_EQ(log[1][2], "objet : bon \xE9t\xE9");
    // Nothing of the mails left behind in the received folder.
    std::set<std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(y.Received()))
        files.insert(e.path().filename().string());
    EXPECT_EQ(files, (std::set<std::string>{"MsgChifE.dat", "MsgChifU.dat"}));
}

// A retrieval cut after a mail was stored, before its deletion took effect
// (the line dropped, or QUIT refused), then the same mailbox again: the mail
// is known, by its unique id or by its bytes, deleted and not stored twice.
TEST_F(Retrieval, AnInterruptedRetrievalNeverStoresAMailTwice) {
    const auto file = WriteFile("devis.pdf", "%PDF devis");
    OutgoingMail out{"martin@example.org",
                     "MARTIN",
                     "Devis",
                     {"dupont@example.org"},
                     {"titre", kSeparatorLine, Address(y->ownNumber), "AB12", kEndMarkerLine},
                     {file}};
    const std::string mail = BuildMail(out);
    struct Case {
        const char* name;
        std::string uidl;  // "" for a server without UIDL
        bool refuseQuit;   // else the line drops before DELE
    };
    for (const Case& c : {Case{"unique ids, dropped", "+OK\r\n1 uid-17\r\n.\r\n", false},
                          Case{"digest, QUIT refused", "", true}}) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(y.Received());
        std::filesystem::create_directories(y.Received());
        y->mail.receivedLog.Clear();
        queue.clear();
        // The marks already at their bound: the oldest gives way.
        RecordList full;
        for (std::size_t i = 0; i < kMaxStoredMarks; ++i)
            full.push_back({DigestMark(std::to_string(i))});
        ASSERT_EQ(SaveRecordList(full, StoredMarksPath(*y), {}), SaveResult::Saved);
        const std::string uidl = c.uidl.empty() ? "-ERR\r\n" : c.uidl;
        test::Script first = LogIn("+OK 1 900\r\n", uidl);
        test::pop3::Fetch(first, 1, mail);
        first.push_back(step::ExpectLine("DELE 1"));
        if (c.refuseQuit) {
            first.insert(first.end(), {step::Send("+OK\r\n"), step::ExpectLine("QUIT"),
                                       step::Send("-ERR cannot delete now\r\n")});
        } else {
            first.push_back(step::Reset());
        }
        test::Script again = LogIn("+OK 1 900\r\n", uidl);
        if (c.uidl.empty()) test::pop3::Fetch(again, 1, mail);
        again.insert(again.end(), {step::ExpectLine("DELE 1"), step::Send("+OK\r\n"),
                                   step::ExpectLine("QUIT"), step::Send("+OK\r\n")});
        // Then emptied: said so, and nothing more is stored.
        const test::Script empty =
            test::pop3::Then(LogIn("+OK 0 0\r\n", "+OK\r\n.\r\n"),
                             {step::ExpectLine("QUIT"), step::Send("+OK\r\n")});
        test::ScriptedServer server({first, again, empty});
        ASSERT_TRUE(server.Listen());

        RetrievalOutcome o = Run(server);
        EXPECT_EQ(o.accepted, 1);
        EXPECT_TRUE(Logged(txt::kPop3OneMessage));
        EXPECT_FALSE(o.complete);
        EXPECT_EQ(Logged(txt::kPop3QuitRefused, "cannot delete now"), c.refuseQuit);
        o = Run(server);
        EXPECT_TRUE(o.complete);
        EXPECT_EQ(o.accepted, 0);
        EXPECT_EQ(o.alreadyStored, 1);
        EXPECT_EQ(o.deleted, 1);
        EXPECT_TRUE(Logged(txt::kPop3AlreadyStored, "1"));
        o = Run(server);
        EXPECT_TRUE(o.complete);
        EXPECT_EQ(o.alreadyStored + o.accepted, 0);
        EXPECT_TRUE(Logged(txt::kPop3NoMessage));
        EXPECT_TRUE(server.Failures().empty()) << server.Failures().front();
        // One record, one file, one entry to decrypt.
        EXPECT_EQ(LogOnDisk().size(), 1U);
        ASSERT_EQ(queue.size(), 1U);
        EXPECT_EQ(queue[0].back(), "devis.pdf");
        EXPECT_TRUE(std::filesystem::exists(y.Received() / "devis.pdf"));
        EXPECT_FALSE(std::filesystem::exists(y.Received() / "devis_1.pdf"));
        RecordList marks;
        ASSERT_TRUE(LoadRecordList(StoredMarksPath(*y), marks));
        EXPECT_EQ(marks.size(), kMaxStoredMarks);
        EXPECT_EQ(marks.front(), Record{DigestMark(c.uidl.empty() ? "1" : "2")});
    }
}

// Peak resident memory since the last reset, in bytes (0 when unknown).
// AddressSanitizer keeps freed blocks in quarantine (256 MiB by default), so
// the resident peak there says nothing about what the retrieval holds.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

std::int64_t PeakMemory() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stoll(line.substr(6)) * 1024;
    }
    return 0;
}

// A mail over the old 64 MiB memory limit from the real server: streamed to
// a file of the received folder and parsed from there, its attachment
// written out a piece at a time, in a few MiB of memory.
TEST_F(Retrieval, AMailOver64MiBIsStreamedToDiskFromARealServer) {
    if (const std::string why = test::Pop3Server::MissingReason(); !why.empty())
        GTEST_SKIP() << why;
    test::TempDir maildir;
    test::Pop3Server pop3(maildir.path() / "Maildir", "dupont", "secret");
    ASSERT_TRUE(pop3.Running()) << pop3.Log();
    constexpr std::size_t kRaw = std::size_t(49) << 20;  // 66 MiB once in Base64
    QCryptographicHash sent(QCryptographicHash::Sha256);
    std::size_t sentBytes = 0;
    pop3.DropWritten([&](std::ostream& out) {
        out << "From: MARTIN <martin@example.org>\r\nSubject: gros\r\nX-Mailer: QuarnelSys\r\n"
               "MIME-Version: 1.0\r\nContent-Type: multipart/mixed; boundary=\"b\"\r\n\r\n"
               "--b\r\nContent-Type: text/plain\r\n\r\n"
            << ForY()
            << "--b\r\nContent-Type: application/octet-stream\r\n"
               "Content-Disposition: attachment; filename=\"gros.bin\"\r\n"
               "Content-Transfer-Encoding: base64\r\n\r\n";
        std::mt19937 bytes(7);
        QByteArray block(57 * 1024, '\0');
        std::string lines;
        for (std::size_t done = 0; done < kRaw; done += std::size_t(block.size())) {
            for (qsizetype i = 0; i < block.size(); i += 4) {
                const auto word = std::uint32_t(bytes());
                std::memcpy(block.data() + i, &word, 4);
            }
            sent.addData(block);
            sentBytes += std::size_t(block.size());
            const QByteArray text = block.toBase64();
            lines.clear();
            for (qsizetype at = 0; at < text.size(); at += 76)
                lines.append(text.constData() + at,
                             std::size_t(std::min<qsizetype>(76, text.size() - at))) += "\r\n";
            out << lines;
        }
        out << "--b--\r\n";
    });
    // The peak from here on (Linux: 5 resets the high-water mark to what is in use).
    const bool measured = (std::ofstream("/proc/self/clear_refs") << "5").good();
    const std::int64_t before = PeakMemory();

    const RetrievalOutcome o = Run(pop3.Address());
    ASSERT_EQ(o.accepted, 1) << pop3.Log();
    EXPECT_EQ(pop3.Count(), 0U);
    std::ifstream got(y.Received() / "gros.bin", std::ios::binary);
    QCryptographicHash received(QCryptographicHash::Sha256);
    std::string piece(1 << 20, '\0');
    std::size_t size = 0;
    while (got.read(piece.data(), std::streamsize(piece.size())) || got.gcount() > 0) {
        received.addData(QByteArrayView(piece.data(), qsizetype(got.gcount())));
        size += std::size_t(got.gcount());
    }
    EXPECT_EQ(size, sentBytes);
    EXPECT_EQ(received.result(), sent.result());
    if (measured && before > 0 && !kAddressSanitizer) {
        EXPECT_LT(PeakMemory() - before, std::int64_t(32) << 20);
    }
}

}  // namespace
}  // namespace quarnel
