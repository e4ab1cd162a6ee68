// SPDX-License-Identifier: GPL-3.0-or-later
// Logs that only grow: the index reads what the format's reader reads, an
// append cut anywhere is cut off by the next one, a damaged file is kept
// aside, failed appends lose nothing, and long work goes to the runner.

#include "store/record_log.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "crypto/bignum.h"
#include "store/atomic_file.h"
#include "temp_dir.h"
#include "test_rng.h"

namespace quarnel {
namespace {

using test::TempDir;

/// Test files need no fsync (nor the flush a file system gives a truncated one).
void Put(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::remove(path);
    std::ofstream(path, std::ios::binary) << bytes;
}

std::optional<RecordFileIndex> Index(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    auto index = IndexRecordFile(fd, std::filesystem::file_size(path));
    ::close(fd);
    return index;
}

/// Everything the log reads of the file, a record at a time.
RecordList ReadAll(const std::filesystem::path& path) {
    RecordLog log;
    RecordList out;
    for (std::size_t i = 0; i < log.Count(path).value_or(0); ++i)
        out.push_back(log.Read(path, i).value());
    return out;
}

/// The records the format's reader takes from the file, and whether it read it whole.
RecordList Parsed(const std::filesystem::path& path, bool* whole = nullptr) {
    RecordList list;
    const bool ok = LoadRecordList(path, list);
    if (whole) *whole = ok;
    return list;
}

TEST(RecordLog, TheIndexReadsWhatTheFormatsReaderReads) {
    TempDir dir;
    const auto file = dir / "log.dat";
    test::Rng rng(7);
    // Small hostile files, then one of several blocks with every kind of line end.
    for (int i = 0; i < 3001; ++i) {
        std::string bytes;
        if (i < 3000) {
            bytes.assign(rng() % 80, '\0');
            for (char& c : bytes)
                c = "0000000123ABG \r\n\xFF"[rng() % 16];
            if (i % 3 == 0) bytes.insert(0, "00000003\r\n");
        } else {
            const char* ends[] = {"\r\n", "\n", "\r"};
            while (bytes.size() < (std::size_t(5) << 20)) {
                const std::size_t lines = 1 + rng() % 40;
                bytes += WordToHex(Word(lines + 1)) + ends[rng() % 3];
                for (std::size_t l = 0; l < lines; ++l)
                    bytes += std::string(rng() % 90, 'x') + ends[rng() % 3];
                bytes += std::string(" ") + ends[rng() % 3];
            }
        }
        Put(file, bytes);
        bool whole = false;
        const RecordList parsed = Parsed(file, &whole);
        const auto index = Index(file);
        ASSERT_TRUE(index);
        EXPECT_EQ(index->starts.size(), parsed.size()) << i;
        EXPECT_EQ(index->tail == FileTail::Whole, whole) << i;
        EXPECT_EQ(ReadAll(file), parsed) << i;
    }
}

TEST(RecordLog, AnAppendCutAnywhereIsCutOffByTheNext) {
    TempDir dir;
    const auto file = dir / "log.dat";
    const Record added{"date", "Message Chiffr\xE9 de X", " ", "ABCD"};
    const std::string cut = *SerializeRecordList({added});
    const Record next{"next"};
    // Whole files as we write them and as other writers may: no closing
    // line, a lone CR at the end, no line end at all.
    for (const std::string& whole :
         {std::string(), std::string("00000002\r\nA\r\n \r\n"), std::string("00000001\nA\n"),
          std::string("00000002\r\nA\r\n \r"), std::string("00000002\r\nA\r\n ")}) {
        const RecordList before = [&] {
            RecordList l;
            (void)ParseRecordList(whole, l);
            return l;
        }();
        // What the append writes: the last line ended first.
        const bool ended = whole.empty() || whole.back() == '\n' || whole.back() == '\r';
        const std::string written = (ended ? "" : "\r\n") + cut;
        for (std::size_t k = 0; k <= written.size(); ++k) {
            SCOPED_TRACE(testing::Message() << "after \"" << whole << "\", cut at " << k);
            Put(file, whole + written.substr(0, k));
            const auto index = Index(file);
            ASSERT_TRUE(index);
            // Readers see the whole records, and the added one once all of it is there.
            RecordList expected = before;
            if (index->starts.size() > before.size()) expected.push_back(added);
            EXPECT_EQ(ReadAll(file), expected);
            EXPECT_NE(index->tail, FileTail::Damaged);
            RecordLog log;
            log.Add(next);
            ASSERT_EQ(log.Save(file, {}), SaveResult::Saved);
            expected.push_back(next);
            bool read = false;
            EXPECT_EQ(Parsed(file, &read), expected);
            EXPECT_TRUE(read);
            EXPECT_EQ(ReadAll(file), expected) << "the log reads what it appended";
        }
    }
}

TEST(RecordLog, ADamagedFileIsKeptAsideAndItsWholeRecordsGoOn) {
    TempDir dir;
    const auto file = dir / "log.dat";
    // A fault in the middle, and a count too large in the first of several
    // records: neither is an append cut short, and nothing of them is cut.
    for (const std::string& damaged :
         {std::string("00000002\r\nA\r\n \r\nXX\r\n00000002\r\nB\r\n"),
          std::string("FFFFFFFF\r\nA\r\n \r\n00000002\r\nB\r\n \r\n")}) {
        Put(file, damaged);
        EXPECT_EQ(Index(file)->tail, FileTail::Damaged);
        RecordLog log;
        log.Add({"new"});
        std::filesystem::path kept;
        ASSERT_EQ(log.Save(file, {}, {}, &kept), SaveResult::Saved);
        EXPECT_EQ(*ReadWholeFile(kept), damaged);
        RecordList expected = Parsed(kept);
        expected.push_back({"new"});
        EXPECT_EQ(Parsed(file), expected);
        std::filesystem::remove(kept);
    }
}

TEST(RecordLog, AFailedAppendLosesNothingAndANewFileIsTheOwnersOnly) {
    TempDir dir;
    const auto file = dir / "missing" / "log.dat";
    RecordLog log;
    log.Add({"one"});
    int asked = 0;
    const SaveFailureHandler retryTwice = [&](const auto& path, const auto& why) {
        EXPECT_EQ(path, file);
        EXPECT_FALSE(why.empty());
        return ++asked < 3 ? SaveChoice::Retry : SaveChoice::Abort;
    };
    EXPECT_EQ(log.Save(file, retryTwice), SaveResult::Aborted);
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(log.Save(file, {}), SaveResult::Ignored);
    EXPECT_EQ(log.Pending(), RecordList{{"one"}}) << "kept for a later save";
    // A line break could never be written: that record alone is dropped.
    log.Add({"two\r\n"});
    log.Add({"three"});
    std::filesystem::create_directories(file.parent_path());
    ASSERT_EQ(log.Save(file, {}), SaveResult::Saved);
    EXPECT_TRUE(log.Pending().empty());
    EXPECT_EQ(Parsed(file), (RecordList{{"one"}, {"three"}}));
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    // Another writer's record is read too.
    ASSERT_TRUE(WriteFileAtomically(file, *ReadWholeFile(file) + "00000002\r\nfour\r\n \r\n"));
    EXPECT_EQ(log.Count(file), 3u);
    EXPECT_EQ(log.Read(file, 2), (Record{"four"}));
    EXPECT_FALSE(log.Read(file, 3));
    EXPECT_EQ(log.Count(dir / "none.dat"), 0u);
}

TEST(RecordLog, OnlyLongWorkGoesToTheRunnerAndACancelledOneFails) {
    TempDir dir;
    const auto file = dir / "log.dat";
    RecordList big(20000, Record{std::string(60, 'A')});
    ASSERT_EQ(SaveRecordList(big, file, {}), SaveResult::Saved);
    ASSERT_GE(std::filesystem::file_size(file), kSaveAwayBytes);
    int runs = 0;
    bool cancel = true;
    const SaveRunner runner = [&](const std::filesystem::path& f, const SaveWork& work) {
        EXPECT_EQ(f, file);
        ++runs;
        return work([&](std::uint64_t done, std::uint64_t total) {
            EXPECT_LE(done, total);
            return !cancel;
        });
    };
    RecordLog log;
    log.Add({"new"});
    // The first append must index the file: that is long work.
    EXPECT_EQ(log.Save(file, {}, runner), SaveResult::Ignored);
    EXPECT_EQ(runs, 1);
    cancel = false;
    ASSERT_EQ(log.Save(file, {}, runner), SaveResult::Saved);
    EXPECT_EQ(runs, 2);
    log.Add({"newer"});
    ASSERT_EQ(log.Save(file, {}, runner), SaveResult::Saved);
    EXPECT_EQ(runs, 2) << "known, the file is only appended to";
    EXPECT_EQ(log.Count(file), big.size() + 2);

    // A whole-file save of that size, cancelled: the old file stays, nothing beside it.
    cancel = true;
    EXPECT_EQ(SaveRecordList(big, file, {}, runner), SaveResult::Ignored);
    EXPECT_EQ(runs, 3);
    EXPECT_EQ(log.Count(file), big.size() + 2);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

}  // namespace
}  // namespace quarnel
