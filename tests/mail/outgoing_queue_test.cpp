// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/outgoing_queue.h"

#include <gtest/gtest.h>

#include "protocol/body.h"
#include "store/record_list.h"
#include "temp_dir.h"

namespace quarnel {
namespace {

OutgoingMessage Sample(std::vector<std::string> names, std::vector<std::string> paths) {
    OutgoingMessage m{"Message destiné au correspondant, DUPONT Jean",
                      "jean@example.org",
                      "Objet",
                      {"titre", kSeparatorLine, "ligne 1", "ligne 2", kEndMarkerLine},
                      std::move(paths)};
    m.body.insert(m.body.end(), names.begin(), names.end());
    return m;
}

TEST(OutgoingQueue, QueuedMessagesComeBackFromTheSavedFileAsTheyWere) {
    test::TempDir dir;
    HolderContext ctx;
    ctx.dataFolder = dir.path();
    MailState mail;
    const OutgoingMessage plain = Sample({}, {});
    const OutgoingMessage withFiles = Sample({"a.txt", "b.pdf"}, {"/x/a.txt", "/x/b.pdf"});
    OutgoingMessage broken = Sample({}, {});
    broken.subject = "deux\r\nlignes";

    // Without attachments: no second end marker is stored.
    EXPECT_EQ(QueueRecord(plain).size(), 3 + plain.body.size());
    ASSERT_EQ(QueueMessage(ctx, mail, plain), SaveResult::Saved);
    ASSERT_EQ(QueueMessage(ctx, mail, withFiles), SaveResult::Saved);
    ASSERT_EQ(QueueMessage(ctx, mail, broken), SaveResult::Saved);

    RecordList loaded;
    ASSERT_TRUE(LoadRecordList(OutgoingQueuePath(ctx), loaded));
    ASSERT_EQ(loaded, mail.outgoingQueue);
    ASSERT_EQ(loaded.size(), 3u);
    EXPECT_EQ(MessageOfQueueRecord(loaded[0]), plain);
    EXPECT_EQ(MessageOfQueueRecord(loaded[1]), withFiles);
    EXPECT_EQ(MessageOfQueueRecord(loaded[2])->subject, "deux  lignes");
}

TEST(OutgoingQueue, RecordsThatAreNoMessageAreRefused) {
    EXPECT_FALSE(MessageOfQueueRecord({"a", "b", "c"}));
    EXPECT_FALSE(MessageOfQueueRecord({"a", "b", "c", "no end marker"}));
    std::vector<std::string> paths(kMaxQueuedAttachments, "/p");
    Record atLimit = QueueRecord(Sample({}, paths));
    EXPECT_EQ(MessageOfQueueRecord(atLimit)->attachmentPaths.size(), kMaxQueuedAttachments);
    atLimit.push_back("/p");
    EXPECT_FALSE(MessageOfQueueRecord(atLimit));
}

}  // namespace
}  // namespace quarnel
