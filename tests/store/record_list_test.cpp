// SPDX-License-Identifier: GPL-3.0-or-later
// Record-list files: reading faults, hostile bytes, failed saves, file and
// folder modes, files kept aside, temporaries of cut-short saves, wiping.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "crypto/datetime.h"

#include "store/atomic_file.h"
#include "store/record_list.h"
#include "temp_dir.h"
#include "test_rng.h"

namespace quarnel {
namespace {

using test::TempDir;

TEST(RecordList, ReadingStopsAtTheFirstFaultAndSaysWhere) {
    struct Case {
        const char* file;
        std::size_t records;
        std::size_t line;
    };
    for (const Case c :
         {Case{"00000002\r\nA\r\n \r\n0000000G\r\nx\r\n", 1, 4},
          Case{"00000002\r\nA\r\n \r\n00000000\r\n", 1, 4}, Case{"0000002\r\nA\r\n \r\n", 0, 1},
          Case{"00000002\r\nA\r\n \r\n00000009\r\nB\r\n", 1, 4}}) {
        SCOPED_TRACE(c.file);
        RecordList list;
        LoadError error;
        EXPECT_FALSE(ParseRecordList(c.file, list, &error));
        EXPECT_EQ(list.size(), c.records);
        EXPECT_EQ(error.line, c.line);
        EXPECT_FALSE(error.missing);
        EXPECT_FALSE(error.reason.empty());
    }
    TempDir dir;
    RecordList list{{"kept"}};
    LoadError error;
    EXPECT_FALSE(LoadRecordList(dir / "none.dat", list, &error));
    EXPECT_TRUE(error.missing);
    EXPECT_EQ(list.size(), 1u);
}

TEST(RecordList, HostileBytesNeverCrash) {
    test::Rng rng(1);
    for (int i = 0; i < 2000; ++i) {
        std::string bytes(rng() % 64, '\0');
        for (char& c : bytes)
            c = "0123456789ABCDEFG \r\n\x00\xFF"[rng() % 21];
        if (i % 3 == 0) bytes.insert(0, "FFFFFFFF\r\n");  // a huge count
        RecordList list;
        if (ParseRecordList(bytes, list)) {
            // Whatever reads cleanly writes back to the same records.
            RecordList again;
            ASSERT_TRUE(ParseRecordList(*SerializeRecordList(list), again));
            EXPECT_EQ(again, list);
        }
    }
}

TEST(RecordList, SavesThatFailLeaveTheOldFileWholeAndNothingBehind) {
    TempDir dir;
    // A line break could not be read back: the save is refused, nothing is written.
    ASSERT_EQ(SaveRecordList({{"old"}}, dir / "kept.dat", {}), SaveResult::Saved);
    EXPECT_EQ(SaveRecordList({{"bad\r\nline"}}, dir / "kept.dat", {}), SaveResult::Refused);
    EXPECT_EQ(*ReadWholeFile(dir / "kept.dat"), "00000002\r\nold\r\n \r\n");
    // A folder where the file should be: the rename cannot replace it (even as root).
    const auto file = dir / "x.dat";
    std::filesystem::create_directories(file / "old content");
    int asked = 0;
    const SaveResult r = SaveRecordList({{"new"}}, file, [&](const auto& path, const auto& why) {
        EXPECT_EQ(path, file);
        EXPECT_FALSE(why.empty());
        return ++asked < 3 ? SaveChoice::Retry : SaveChoice::Abort;
    });
    EXPECT_EQ(r, SaveResult::Aborted);
    EXPECT_EQ(asked, 3);
    EXPECT_TRUE(std::filesystem::exists(file / "old content"));
    EXPECT_EQ(SaveRecordList({{"new"}}, file, [](auto&, auto&) { return SaveChoice::Ignore; }),
              SaveResult::Ignored);
    EXPECT_EQ(SaveRecordList({{"new"}}, file, {}), SaveResult::Ignored);
    std::string why;
    EXPECT_FALSE(WriteFileAtomically(file, "bytes", &why));
    EXPECT_FALSE(why.empty());
    // No temporary file is left beside them.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

unsigned ModeOf(const std::filesystem::path& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

TEST(AtomicFile, FilesAndFoldersAreTheOwnersOnly) {
    TempDir dir;
    const mode_t oldMask = ::umask(022);
    ASSERT_TRUE(WriteFileAtomically(dir / "new.kpr", "a"));
    EXPECT_EQ(ModeOf(dir / "new.kpr"), 0600u);
    // A looser mode is tightened, a stricter one survives the replacement.
    ASSERT_TRUE(WriteFileAtomically(dir / "loose.ini", "a"));
    ::chmod((dir / "loose.ini").c_str(), 0644);
    ASSERT_EQ(SaveRecordList({{"x"}}, dir / "loose.ini", {}), SaveResult::Saved);
    EXPECT_EQ(ModeOf(dir / "loose.ini"), 0600u);
    ::chmod((dir / "loose.ini").c_str(), 0400);
    ASSERT_TRUE(WriteFileAtomically(dir / "loose.ini", "b"));
    EXPECT_EQ(ModeOf(dir / "loose.ini"), 0400u);
    EXPECT_EQ(*ReadWholeFile(dir / "loose.ini"), "b");

    ASSERT_TRUE(CreatePrivateFolders(dir / "made" / "deeper"));
    EXPECT_EQ(ModeOf(dir / "made"), 0700u);
    EXPECT_EQ(ModeOf(dir / "made" / "deeper"), 0700u);
    ASSERT_TRUE(WriteFileAtomically(dir / "plain", "f"));
    EXPECT_FALSE(CreatePrivateFolders(dir / "plain" / "sub"));
    ::umask(oldMask);
}

TEST(AtomicFile, KeptAsideUnderADatedFreeName) {
    TempDir dir;
    SetLocalClock([] { return LocalDateTime{2026, 12, 6, 14, 12, 59, 0}; });
    ASSERT_TRUE(WriteFileAtomically(dir / "QuarnelTitF.dat", "first"));
    ::chmod((dir / "QuarnelTitF.dat").c_str(), 0400);
    const auto kept = KeepUnderDatedName(dir / "QuarnelTitF.dat", "damaged");
    ASSERT_TRUE(kept);
    EXPECT_EQ(*kept, dir / "QuarnelTitF.dat.damaged-20261206-1412");
    EXPECT_FALSE(std::filesystem::exists(dir / "QuarnelTitF.dat"));
    EXPECT_EQ(*ReadWholeFile(*kept), "first");
    EXPECT_EQ(ModeOf(*kept), 0400u);
    // The same minute again: the earlier copy is never replaced.
    ASSERT_TRUE(WriteFileAtomically(dir / "QuarnelTitF.dat", "second"));
    EXPECT_EQ(KeepUnderDatedName(dir / "QuarnelTitF.dat", "damaged"),
              dir / "QuarnelTitF.dat.damaged-20261206-1412-2");
    EXPECT_EQ(*ReadWholeFile(*kept), "first");
    for (int n = 3; n <= kMaxKeptNameTries; ++n) {
        ASSERT_TRUE(WriteFileAtomically(
            dir / ("QuarnelTitF.dat.damaged-20261206-1412-" + std::to_string(n)), "taken"));
    }
    ASSERT_TRUE(WriteFileAtomically(dir / "QuarnelTitF.dat", "third"));
    std::string why;
    EXPECT_FALSE(KeepUnderDatedName(dir / "QuarnelTitF.dat", "damaged", &why)) << "bounded";
    EXPECT_FALSE(why.empty());
    EXPECT_EQ(*ReadWholeFile(dir / "QuarnelTitF.dat"), "third");
    EXPECT_FALSE(KeepUnderDatedName(dir / "absent", "old"));
    SetLocalClock({});
}

TEST(AtomicFile, ANewFileNeverReplacesOneThatAppearedUnderItsName) {
    TempDir dir;
    StreamingFileWriter writer(dir / "a.txt");
    ASSERT_TRUE(writer.Open());
    ASSERT_TRUE(writer.Write("received"));
    // Another program takes the chosen name before the commit.
    ASSERT_TRUE(WriteFileAtomically(dir / "a.txt", "theirs"));
    std::vector<std::filesystem::path> names{dir / "a.txt", dir / "a_1.txt"};
    std::size_t asked = 0;
    const auto taken = writer.CommitAsNew([&]() -> std::optional<std::filesystem::path> {
        return asked < names.size() ? std::optional(names[asked++]) : std::nullopt;
    });
    ASSERT_EQ(taken, dir / "a_1.txt");
    EXPECT_EQ(*ReadWholeFile(dir / "a.txt"), "theirs");
    EXPECT_EQ(*ReadWholeFile(dir / "a_1.txt"), "received");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2)
        << "no temporary file left";
}

TEST(AtomicFile, TheSweepOverwritesAndRemovesOnlyTemporariesNoWriterHolds) {
    TempDir dir;
    namespace fs = std::filesystem;
    // A decryption a crash cut short (its writer gone, its lock with it), and
    // names that only look alike.
    const std::string plain = "texte déchiffré, à ne pas laisser";
    for (const char* name : {".rapport.pdf.tmp123456", ".QuarnelTit.msg.tmp7", "x.tmp12", ".a.tmp",
                             ".a.tmp12x", ".a.tmp12345678"}) {
        ASSERT_TRUE(WriteFileAtomically(dir / name, plain));
    }
    // A hard link sees the bytes the sweep leaves in the file.
    fs::create_hard_link(dir / ".rapport.pdf.tmp123456", dir / "witness");
    // A save still at work, however old: its temporary is private and held.
    StreamingFileWriter live(dir / "QuarnelTit.kpr");
    ASSERT_TRUE(live.Open());
    ASSERT_TRUE(live.Write("being written"));
    fs::last_write_time(live.temporaryPath(),
                        fs::file_time_type::clock::now() - std::chrono::hours(1));
    EXPECT_EQ(ModeOf(live.temporaryPath()), 0600u);

    EXPECT_EQ(RemoveStaleTemporaries(dir.path()), 2);
    EXPECT_FALSE(fs::exists(dir / ".rapport.pdf.tmp123456"));
    EXPECT_FALSE(fs::exists(dir / ".QuarnelTit.msg.tmp7"));
    const std::string left = *ReadWholeFile(dir / "witness");
    EXPECT_EQ(left.size(), plain.size());
    EXPECT_EQ(left.find("texte"), std::string::npos) << "overwritten before it went";
    for (const char* kept : {"x.tmp12", ".a.tmp", ".a.tmp12x", ".a.tmp12345678"})
        EXPECT_TRUE(fs::exists(dir / kept)) << kept;
    ASSERT_TRUE(fs::exists(live.temporaryPath()));
    ASSERT_TRUE(live.Commit());
    EXPECT_EQ(*ReadWholeFile(dir / "QuarnelTit.kpr"), "being written");

    // An abandoned writer overwrites what it wrote before the name goes.
    StreamingFileWriter dropped(dir / "piece.txt");
    ASSERT_TRUE(dropped.Open());
    ASSERT_TRUE(dropped.Write(plain));
    fs::create_hard_link(dropped.temporaryPath(), dir / "witness2");
    dropped.Abandon();
    EXPECT_EQ(ReadWholeFile(dir / "witness2")->find("texte"), std::string::npos);
}

// Direct writes go in whole pieces from a buffer of their own: every byte
// comes back whatever the sizes handed over, and an abandoned file is
// overwritten over what reached it.
TEST(AtomicFile, ADirectWriteKeepsEveryByteAndAnAbandonedOneIsOverwritten) {
    TempDir dir;
    const auto bytes = [](std::size_t n) {
        std::string b(n, '\0');
        for (std::size_t i = 0; i < n; ++i)
            b[i] = char((i * 131) >> 3);
        return b;
    };
    for (const std::size_t size : {std::size_t(0), std::size_t(1), kDirectWriteBytes - 1,
                                   kDirectWriteBytes, 2 * kDirectWriteBytes + 34}) {
        const std::string all = bytes(size);
        StreamingFileWriter writer(dir / "a.bin");
        ASSERT_TRUE(writer.Open(nullptr, WritePath::Direct));
        for (std::size_t at = 0, piece = 68; at < size; at += piece, piece = 1000003)
            ASSERT_TRUE(writer.Write(std::string_view(all).substr(at, piece)));
        ASSERT_TRUE(writer.Commit());
        EXPECT_EQ(ReadWholeFile(dir / "a.bin"), all) << size;
    }
    StreamingFileWriter dropped(dir / "b.bin");
    ASSERT_TRUE(dropped.Open(nullptr, WritePath::Direct));
    ASSERT_TRUE(dropped.Write(std::string(kDirectWriteBytes + 10, 'p')));
    std::filesystem::create_hard_link(dropped.temporaryPath(), dir / "witness");
    dropped.Abandon();
    EXPECT_EQ(ReadWholeFile(dir / "witness")->find("pppp"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "b.bin"));
}

TEST(RecordList, WipingOverwritesEveryLineInPlace) {
    RecordList list{{"1F400000123", std::string(32, 'A')}, {"short", ""}};
    WipeRecordList(list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0][0].size(), 11u);
    EXPECT_NE(list[0][0], "1F400000123");
    EXPECT_NE(list[0][1], std::string(32, 'A'));
    EXPECT_EQ(list[0][1].find_first_not_of("0123456789ABCDEF"), std::string::npos);
    EXPECT_EQ(list[1][1], "");
    FreeRecordList(list, true);
    EXPECT_TRUE(list.empty());
}

}  // namespace
}  // namespace quarnel
