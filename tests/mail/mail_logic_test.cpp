// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "crypto/datetime.h"
#include "mail/clipboard_intake.h"
#include "mail/mail_limits.h"
#include "mail/outgoing_mail.h"
#include "mail/outgoing_queue.h"
#include "mail/sent_log.h"
#include "protocol/body.h"
#include "store/record_list.h"
#include "temp_dir.h"

namespace quarnel {
namespace {

const std::string kOwn = "01000000017";
const std::string kOther = "01000000023";

OutgoingMessage Message(const std::string& subject, std::vector<std::string> paths = {}) {
    return {"Message destiné au correspondant, " + subject,
            "a@x.org, b@y.org",
            subject,
            {"titre", kSeparatorLine, "adresse", "ligne", kEndMarkerLine},
            std::move(paths)};
}

struct QueueFixture : ::testing::Test {
    test::TempDir dir;
    HolderContext ctx;
    MailState mail;
    void SetUp() override {
        ctx.dataFolder = dir.path();
        ctx.settings.sentEncryptedFolder = dir.path().string();
    }
    RecordList OnDisk() const {
        RecordList list;
        EXPECT_TRUE(LoadRecordList(OutgoingQueuePath(ctx), list));
        return list;
    }
};

TEST_F(QueueFixture, TheWalkTakesInOrderAndTheFileKeepsWhatIsNotSent) {
    const OutgoingMessage a = Message("A"), b = Message("B", {"/p/1", "/p/2"});
    ASSERT_EQ(QueueMessage(ctx, mail, a), SaveResult::Saved);
    mail.outgoingQueue.push_back({"not", "a", "message"});  // stays where it is
    ASSERT_EQ(QueueMessage(ctx, mail, b), SaveResult::Saved);

    auto first = TakeFirstQueued(mail);
    ASSERT_EQ(first, a);
    EXPECT_TRUE(mail.queueMode);
    // Taken out for display only: the file still holds it.
    EXPECT_EQ(OnDisk().size(), 3u);
    // A failed send or Annuler puts it back at the head.
    ASSERT_EQ(PutBackAtHead(ctx, mail, *first), SaveResult::Saved);
    EXPECT_EQ(MessageOfQueueRecord(OnDisk().front()), a);

    first = TakeFirstQueued(mail);
    ASSERT_EQ(SaveOutgoingQueue(ctx, mail), SaveResult::Saved);  // a was sent
    EXPECT_EQ(OnDisk().size(), 2u);
    EXPECT_EQ(TakeFirstQueued(mail), b);
    EXPECT_FALSE(mail.queueMode);  // only the unreadable record is left
    EXPECT_FALSE(TakeFirstQueued(mail));
    EXPECT_EQ(mail.outgoingQueue.size(), 1u);
}

TEST_F(QueueFixture, QueuedMessagesComeBackFromTheSavedFileAsTheyWere) {
    const OutgoingMessage plain = Message("Objet");
    OutgoingMessage withFiles = Message("Objet", {"/x/a.txt", "/x/b.pdf"});
    withFiles.body.insert(withFiles.body.end(), {"a.txt", "b.pdf"});
    OutgoingMessage broken = Message("Objet");
    broken.subject = "deux\r\nlignes";

    // Without attachments: no second end marker is stored.
    EXPECT_EQ(QueueRecord(plain).size(), 3 + plain.body.size());
    for (const OutgoingMessage& m : {plain, withFiles, broken})
        ASSERT_EQ(QueueMessage(ctx, mail, m), SaveResult::Saved);
    const RecordList loaded = OnDisk();
    ASSERT_EQ(loaded, mail.outgoingQueue);
    ASSERT_EQ(loaded.size(), 3u);
    EXPECT_EQ(MessageOfQueueRecord(loaded[0]), plain);
    EXPECT_EQ(MessageOfQueueRecord(loaded[1]), withFiles);
    EXPECT_EQ(MessageOfQueueRecord(loaded[2])->subject, "deux  lignes");
}

TEST(OutgoingQueue, RecordsThatAreNoMessageAreRefused) {
    EXPECT_FALSE(MessageOfQueueRecord({"a", "b", "c"}));
    EXPECT_FALSE(MessageOfQueueRecord({"a", "b", "c", "no end marker"}));
    Record atLimit =
        QueueRecord(Message("-", std::vector<std::string>(kMaxQueuedAttachments, "/p")));
    EXPECT_EQ(MessageOfQueueRecord(atLimit)->attachmentPaths.size(), kMaxQueuedAttachments);
    atLimit.push_back("/p");
    EXPECT_FALSE(MessageOfQueueRecord(atLimit));
}

TEST_F(QueueFixture, TheSentLogLeavesTheTitleOutAndIsAppendedTo) {
    OutgoingMessage m = Message("-");
    // The date in the fixed form, whatever the locale.
    const Record r = SentLogRecord(m, OleFromLocal({2026, 12, 7, 4, 10, 0}),
                                   SplitRecipients(m.recipientAddress));
    EXPECT_EQ(r, (Record{"07/12/2026 04:10:00", m.addresseeLine, "a@x.org, b@y.org", "Objet : -",
                         kSeparatorLine, "adresse", "ligne", kEndMarkerLine}));
    ASSERT_EQ(LogSentMessage(ctx, mail, r), SaveResult::Saved);
    ASSERT_EQ(LogSentMessage(ctx, mail, r), SaveResult::Saved);
    RecordList loaded;
    ASSERT_TRUE(LoadRecordList(SentLogPath(ctx), loaded));
    EXPECT_EQ(loaded, RecordList(2, r));
    EXPECT_TRUE(mail.sentLog.Pending().empty());
}

std::string Block(Kind kind, const std::string& to, const std::string& before = "") {
    return before + kSeparatorLine + "\r\n" + AddressLine(kind, "12345", '1', '1', to, kOther) +
           "\r\nABCDEF\r\n" + kEndMarkerLine + "\r\n";
}

TEST(LogDetails, AServersWordsHoldingTheSeparatorStayOneValue) {
    EXPECT_EQ(SplitLogDetails(LogDetails({"500 a\x1F"
                                          "b",
                                          "c"})),
              (QStringList{"500 a b", "c"}));
}

TEST(OutgoingMail, RecipientListsSplitAtCommasAndSemicolons) {
    EXPECT_EQ(SplitRecipients(" a@x.org, B <b@y.org>;;c@z "),
              (std::vector<std::string>{"a@x.org", "b@y.org", "c@z"}));
    EXPECT_TRUE(SplitRecipients(" , ").empty());
}

TEST(ClipboardIntake, TakesOnlyAMessageForTheHolder) {
    const auto state2 = ProgramState::Affiliated;
    const auto taken = TakeClipboardMessage(Block(Kind::PlainMessage, kOwn), state2, kOwn);
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->front(), kSeparatorLine);
    EXPECT_TRUE(TakeClipboardMessage(Block(Kind::RichMessage, kOwn), state2, kOwn));
    // Header lines before the separator are kept for the decryption to drop.
    const auto withHeader = TakeClipboardMessage(
        Block(Kind::PlainMessage, kOwn, "From: x\nSubject: y\n\nTitre\n"), state2, kOwn);
    ASSERT_TRUE(withHeader);
    EXPECT_EQ(withHeader->front(), "From: x");

    // For another holder: left in state 2, taken in states 3 to 5.
    EXPECT_FALSE(TakeClipboardMessage(Block(Kind::PlainMessage, kOther), state2, kOwn));
    EXPECT_TRUE(TakeClipboardMessage(Block(Kind::PlainMessage, kOther),
                                     ProgramState::VersionChanged, kOwn));
    EXPECT_FALSE(
        TakeClipboardMessage(Block(Kind::PlainMessage, kOwn), ProgramState::NotAffiliated, kOwn));
    // A TA reply, plain text, a cut block.
    EXPECT_FALSE(TakeClipboardMessage(Block(Kind::KeyUpdated, kOwn), state2, kOwn));
    EXPECT_FALSE(TakeClipboardMessage("Bonjour,\nà demain.", state2, kOwn));
    EXPECT_FALSE(TakeClipboardMessage(kSeparatorLine + "\n" + kEndMarkerLine, state2, kOwn));
}

TEST(ClipboardIntake, LimitsOnSizeAndLeadingLines) {
    const auto state = ProgramState::Affiliated;
    std::string lead;
    for (std::size_t i = 0; i < kMaxLinesBeforeSeparator; ++i)
        lead += "x\n";
    EXPECT_TRUE(TakeClipboardMessage(Block(Kind::PlainMessage, kOwn, lead), state, kOwn));
    EXPECT_FALSE(TakeClipboardMessage(Block(Kind::PlainMessage, kOwn, lead + "x\n"), state, kOwn));

    const std::string block = Block(Kind::PlainMessage, kOwn);
    std::string big = block + std::string(kMaxClipboardBytes - block.size(), 'A');
    EXPECT_TRUE(TakeClipboardMessage(big, state, kOwn));
    big += 'A';
    EXPECT_FALSE(TakeClipboardMessage(big, state, kOwn));
}

}  // namespace
}  // namespace quarnel
