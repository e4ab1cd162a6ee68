// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <fstream>

#include "crypto/cp1252.h"
#include "crypto/datetime.h"
#include "mail/incoming.h"
#include "mail/mailbox.h"
#include "mail/outgoing_queue.h"
#include "mail/sent_log.h"
#include "protocol/body.h"
#include "store/atomic_file.h"
#include "temp_dir.h"

namespace quarnel {
namespace {

// The text of a message from `sender`, as the retrieval keeps it, and its
// attachment names.
Lines Text(const std::string& sender, const std::string& cipher,
           std::vector<std::string> names = {}) {
    Lines t{kSeparatorLine,
            AddressLine(Kind::PlainMessage, "12345", '1', '2', "01000000017", sender), cipher,
            kEndMarkerLine};
    t.insert(t.end(), names.begin(), names.end());
    return t;
}

std::string W(const char* utf8) {
    return Utf8ToCp1252Lossy(utf8);
}

double At(int day) {
    return OleFromLocal({2026, 3, day, 10, 0, 0});
}

struct MailboxFixture : ::testing::Test {
    test::TempDir dir;
    std::filesystem::path log = dir / "MsgChifE.dat";
    RecordLog records;
    ReadMarks marks;

    void Write(const RecordList& list) {
        for (const Record& r : list)
            records.Add(r);
        ASSERT_EQ(records.Save(log, {}), SaveResult::Saved);
    }
    MailboxLoad Received(std::size_t limit = kMaxListedRecords) {
        return ListReceived(records, log, dir.path(), marks, limit);
    }
};

TEST_F(MailboxFixture, ReceivedLogListedWithDamageTheLimitAndTheReadState) {
    EXPECT_TRUE(Received().entries.empty());  // no log yet
    std::ofstream(dir / "plan.pdf") << std::string(1500, 'x');
    Write({ReceivedLogRecord(At(2), W("Zoé Martin"), "Devis",
                             Text("01000000023", "AAAA", {"plan.pdf"})),
           {"07/03/2026 10:00:00", "not a message"},
           ReceivedLogRecord(At(9), "Paul", W("Réunion"), Text("08000000031", "BBBB"))});
    // Lines that are no record after the whole ones.
    std::ofstream(log, std::ios::app) << "garbage\r\n";
    const Record first = *records.Read(log, 0);
    marks.Set(ReadMark(std::span(first).subspan(3)), true);

    const MailboxLoad load = Received();
    ASSERT_EQ(load.entries.size(), 3u);
    const MailboxEntry& e = load.entries[0];
    EXPECT_EQ(e.date, "02/03/2026 10:00:00");
    EXPECT_EQ(e.correspondent, QStringLiteral("Zoé Martin (01000000023)"));
    EXPECT_EQ(e.subject, QStringLiteral("Devis"));
    EXPECT_EQ(e.attachments, 1);
    EXPECT_EQ(e.attachmentBytes, 1500u);
    EXPECT_EQ(e.state, ReadState::Confirmed);
    // The unreadable one keeps its place and hides nothing.
    EXPECT_FALSE(load.entries[1].readable);
    EXPECT_EQ(load.entries[1].position, 1u);
    EXPECT_EQ(load.entries[2].state, ReadState::Unread);
    EXPECT_EQ(load.entries[2].subject, QStringLiteral("Réunion"));
    EXPECT_GT(load.damagedFromLine, 0u);

    marks.SetEarlier(3);  // all three were there before the marks
    EXPECT_EQ(Received().entries[2].state, ReadState::Earlier);
    EXPECT_EQ(Received().entries[0].state, ReadState::Confirmed);

    const MailboxLoad limited = Received(2);  // the newest
    ASSERT_EQ(limited.entries.size(), 2u);
    EXPECT_EQ(limited.entries[0].position, 1u);
    EXPECT_EQ(limited.notListed, 1u);

    // The decryption takes the subject, then the text and the names.
    const Lines entry = *ReceivedQueueEntry(first);
    EXPECT_EQ(entry.front(), Utf8ToCp1252Lossy("Devis"));
    EXPECT_EQ(Lines(entry.begin() + 1, entry.end()), Text("01000000023", "AAAA", {"plan.pdf"}));
    EXPECT_EQ(ReadMark(std::span(entry).subspan(1)), load.entries[0].mark);
    EXPECT_FALSE(ReceivedQueueEntry({"07/03/2026 10:00:00", "not a message"}));
}

TEST_F(MailboxFixture, DeleteLeavesEveryOtherByteAndNoAttachment) {
    std::ofstream(dir / "a.bin") << "secret";
    std::ofstream(dir / "QuarnelTit.ini") << "kept";
    Write({ReceivedLogRecord(At(1), "A", "un", Text("01000000023", "AAAA")),
           ReceivedLogRecord(At(2), "B", "deux",
                             Text("01000000023", "BBBB", {"a.bin", "QuarnelTit.ini"})),
           ReceivedLogRecord(At(3), "C", "trois", Text("01000000023", "CCCC"))});
    std::ofstream(log, std::ios::app) << "damaged tail\r\n";
    const std::string before = *ReadWholeFile(log);
    const Record second = *records.Read(log, 1);
    marks.Set(ReadMark(std::span(second).subspan(3)), false);
    marks.SetEarlier(3);

    std::string why;
    ASSERT_TRUE(DeleteReceived(records, log, dir.path(), 1, marks, why)) << why;
    const std::string after = *ReadWholeFile(log);
    RecordList expected;
    ASSERT_FALSE(ParseRecordList(before, expected));  // stops at the damaged tail
    const std::string firstBytes = *SerializeRecordList({expected[0]});
    const std::string lastBytes = *SerializeRecordList({expected[2]});
    EXPECT_EQ(after, firstBytes + lastBytes + "damaged tail\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "a.bin"));
    EXPECT_TRUE(std::filesystem::exists(dir / "QuarnelTit.ini"));  // never a program file
    EXPECT_FALSE(marks.Find(ReadMark(std::span(second).subspan(3))));
    EXPECT_EQ(marks.Earlier(), std::optional<std::size_t>(2));
    EXPECT_EQ(Received().entries.size(), 2u);
    EXPECT_FALSE(DeleteReceived(records, log, dir.path(), 5, marks, why));
    EXPECT_EQ(*ReadWholeFile(log), after);
}

TEST_F(MailboxFixture, ReadMarksSurviveBeginWithTheOldMailReadAndABadFileIsLeftAlone) {
    HolderContext ctx;
    ctx.settings.receivedEncryptedFolder = dir.path().string();
    const std::filesystem::path path = ReadMarksPath(ctx);
    Write({ReceivedLogRecord(At(1), "A", "un", Text("01000000023", "AAAA"))});
    BeginReadMarks(ctx, records);
    ASSERT_TRUE(marks.Load(path));
    EXPECT_EQ(marks.Earlier(), std::optional<std::size_t>(1));
    marks.SetEarlier(7);
    ASSERT_EQ(marks.Save(path, {}), SaveResult::Saved);
    BeginReadMarks(ctx, records);  // once only
    ASSERT_TRUE(marks.Load(path));
    EXPECT_EQ(marks.Earlier(), std::optional<std::size_t>(7));

    marks.Set("L1", true);
    marks.Set("L2", false);
    marks.Set("L1", false);
    marks.Forget("L2");
    ASSERT_EQ(marks.Save(path, {}), SaveResult::Saved);
    ReadMarks again;
    ASSERT_TRUE(again.Load(path));
    EXPECT_EQ(again.Size(), 1u);
    EXPECT_EQ(again.Earlier(), std::optional<std::size_t>(7));
    EXPECT_EQ(again.Find("L1"), std::optional<bool>(false));
    EXPECT_FALSE(again.Find("L2"));

    std::filesystem::resize_file(path, kMaxReadMarksBytes + 1);
    EXPECT_FALSE(again.Load(path));
    EXPECT_EQ(again.Size(), 0u);
    EXPECT_EQ(std::filesystem::file_size(path), kMaxReadMarksBytes + 1);
    // The next mark kept: the file that could not be read is kept aside.
    again.Set("L3", true);
    ASSERT_EQ(again.Save(path, {}), SaveResult::Saved);
    std::size_t kept = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        kept += e.path().filename().string().rfind("MsgChifL.dat.damaged", 0) == 0;
    EXPECT_EQ(kept, 1u);
    ASSERT_TRUE(again.Load(path));
    EXPECT_EQ(again.Find("L3"), std::optional<bool>(true));
}

TEST(MailboxList, FiltersCaseAndAccentsAsTypedAndSortsByEveryColumn) {
    const auto entry = [](std::string date, QString who, QString subject, std::uint64_t bytes,
                          ReadState state) {
        MailboxEntry e;
        e.date = date;
        e.dateKey = date.substr(6, 4) + date.substr(3, 2) + date.substr(0, 2);
        e.correspondent = who;
        e.subject = subject;
        e.attachmentBytes = bytes;
        e.state = state;
        Keys(e);
        return e;
    };
    MailboxList list;
    list.Assign({entry("02/03/2026", "Émile", "Devis", 10, ReadState::Confirmed),
                 entry("01/04/2025", "Zoé", "RÉUNION", 0, ReadState::Unread),
                 entry("15/01/2026", "anne", "devis final", 300, ReadState::NotConfirmed)});
    const auto subjects = [&] {
        QStringList s;
        for (std::size_t i = 0; i < list.Size(); ++i)
            s << list.Row(i).subject;
        return s.join(u'|');
    };
    EXPECT_EQ(subjects(), "Devis|devis final|RÉUNION");  // newest first
    list.SortBy(MailboxColumn::Correspondent, true);
    EXPECT_EQ(subjects(), "devis final|Devis|RÉUNION");
    list.SortBy(MailboxColumn::Attachments, false);
    EXPECT_EQ(subjects(), "devis final|Devis|RÉUNION");
    list.SortBy(MailboxColumn::State, true);  // unread first
    EXPECT_EQ(subjects(), "RÉUNION|Devis|devis final");
    list.SortBy(MailboxColumn::Subject, true);
    list.SetFilter(" DEVIS ");
    EXPECT_EQ(subjects(), "Devis|devis final");
    list.SetFilter("réu");
    EXPECT_EQ(subjects(), "RÉUNION");
    list.SetFilter("émile");
    EXPECT_EQ(subjects(), "Devis");
    list.SetFilter("");
    EXPECT_EQ(list.Size(), 3u);
}

TEST(MailboxSent, SentLogAndQueueListedAsTheyWereWritten) {
    test::TempDir dir;
    const OutgoingMessage m{W("Message destiné à Paul"),
                            "p@x.org",
                            "Offre",
                            {"titre", kSeparatorLine, "adresse", kEndMarkerLine, "f.chf"},
                            {}};
    std::ofstream(dir / "f.chf") << "12345";
    RecordLog sent;
    sent.Add(SentLogRecord(m, At(5), {"p@x.org"}));
    ASSERT_EQ(sent.Save(dir / "MsgChifS.dat", {}), SaveResult::Saved);
    const MailboxLoad load = ListSent(sent, dir / "MsgChifS.dat", dir.path());
    ASSERT_EQ(load.entries.size(), 1u);
    EXPECT_EQ(load.entries[0].correspondent, QStringLiteral("Message destiné à Paul"));
    EXPECT_EQ(load.entries[0].subject, QStringLiteral("Offre"));
    EXPECT_EQ(load.entries[0].attachments, 1);
    EXPECT_EQ(load.entries[0].attachmentBytes, 5u);

    const std::vector<MailboxEntry> queued = ListQueued({QueueRecord(m), {"short"}});
    ASSERT_EQ(queued.size(), 2u);
    EXPECT_EQ(queued[0].subject, QStringLiteral("Offre"));
    EXPECT_FALSE(queued[1].readable);
}

}  // namespace
}  // namespace quarnel
