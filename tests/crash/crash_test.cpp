// SPDX-License-Identifier: GPL-3.0-or-later
// Saves killed at random moments: after each SIGKILL of the harness every
// file is whole and either the version it held before the save or the one
// being saved, read with the program's own readers; a log holds every record
// appended before, and the one being appended or none (its beginning, if a
// kill cut it, is cut off by the next append); what a kill leaves besides is
// only temporary files no reader takes for data. Every other kill aims at the
// appends.
// QUARNEL_CRASH_KILLS sets the number of kills (50 by default).

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <random>
#include <sstream>
#include <thread>

#include "store/correspondents.h"
#include "store/key_store.h"
#include "store/record_list.h"
#include "store/record_log.h"
#include "temp_dir.h"
#include "versions.h"

namespace quarnel::crash {
namespace {

/// Starts the harness, lets it run `us` microseconds after its first line
/// (or, with `atAppend`, after it began a log's append), kills it; gives
/// everything it said.
std::string RunAndKill(const std::filesystem::path& dir, long first, int us, bool atAppend) {
    int out[2];
    if (::pipe(out) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const std::string exe = QUARNEL_BIN_DIR "/quarnel-crash-saver";
    const std::string d = dir.string(), f = std::to_string(first);
    char* argv[] = {const_cast<char*>(exe.c_str()), const_cast<char*>(d.c_str()),
                    const_cast<char*>(f.c_str()), nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    std::string said;
    char buf[4096];
    if (spawned == 0) {
        // Its first line: saving has begun.
        for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) > 0;) {
            said.append(buf, std::size_t(n));
            if (!atAppend || said.find("begin MsgChif") != std::string::npos) break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(us));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
    for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) > 0;)
        said.append(buf, std::size_t(n));
    ::close(out[0]);
    return said;
}

/// The versions of the records of a log, read as the program reads it;
/// nothing when it is damaged or holds a record of no version. `unfinished`
/// tells of a record cut short at the end.
std::optional<std::vector<long>> LogOnDisk(const std::filesystem::path& dir, File f,
                                           bool& unfinished) {
    const auto path = dir / FileName(f);
    std::vector<long> versions;
    if (!std::filesystem::exists(path)) return versions;
    const int fd = ::open(path.c_str(), O_RDONLY);
    const auto index = IndexRecordFile(fd, std::filesystem::file_size(path));
    ::close(fd);
    if (!index || index->tail == FileTail::Damaged) return std::nullopt;
    unfinished |= index->tail == FileTail::Unfinished;
    RecordLog log;
    for (std::size_t i = 0; i < index->starts.size(); ++i) {
        const std::optional<Record> r = log.Read(path, i);
        if (!r || r->empty() || r->front().rfind("version ", 0) != 0) return std::nullopt;
        const long v = std::atol(r->front().c_str() + 8);
        if (*r != LogRecordOf(f, v)) return std::nullopt;
        versions.push_back(v);
    }
    return versions;
}

/// Cuts the log's last record at a random byte, as a kill inside its write.
void CutLastRecord(const std::filesystem::path& path, std::mt19937& random) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    const auto index = IndexRecordFile(fd, std::filesystem::file_size(path));
    ::close(fd);
    ASSERT_TRUE(index && !index->starts.empty());
    const std::uint64_t from = index->starts.back();
    std::filesystem::resize_file(path, from + 1 + random() % (index->wholeEnd - from - 1));
}

/// The version a file other than a log holds after the kill: 0 when
/// missing, -1 when it is none of `allowed`.
long VersionOnDisk(const std::filesystem::path& dir, File f, const std::vector<long>& allowed) {
    const auto path = dir / FileName(f);
    if (!std::filesystem::exists(path)) return 0;
    RecordList list;
    LoadError error;
    if (!LoadRecordList(path, list, &error)) return -1;
    if (f == File::KeyStore && !CheckKeyStore(list)) return -1;
    if (f == File::List && !CheckCorrespondentList(list, 'F')) return -1;
    if (f == File::Queue)
        for (const Record& r : list)
            if (!MessageOfQueueRecord(r)) return -1;
    for (const long v : allowed)
        if (v > 0 && list == ContentOf(f, v)) return v;
    return -1;
}

TEST(CrashSafeSaves, EveryFileIsAWholeOldOrNewVersionAfterEachKill) {
    const char* env = std::getenv("QUARNEL_CRASH_KILLS");
    const int kills = env ? std::atoi(env) : 50;
    // The queue goes to the save runner's thread.
    ASSERT_GE(SerializeRecordList(ContentOf(File::Queue, 1))->size(), kSaveAwayBytes);
    test::TempDir dir;
    std::mt19937 random(std::random_device{}());
    std::map<File, long> onDisk;                 // what each file held after the last kill
    std::map<File, std::vector<long>> appended;  // the records of each log
    long next = 1;
    int midSave = 0;
    int torn = 0;
    bool unfinished = false;
    int inAppend = 0;
    int cuts = 0;
    for (int k = 0; k < kills; ++k) {
        const long first = next;
        // Every other kill aims at an append: its write is short beside the fsyncs.
        const bool atAppend = k % 2 == 1;
        std::istringstream said(
            RunAndKill(dir.path(), next, int(random() % (atAppend ? 100 : 60000)), atAppend));
        std::map<File, long> ended, begun;
        std::string what, name;
        long v = 0;
        while (said >> what >> name >> v) {
            for (const File f : kFiles)
                if (name == FileName(f)) (what == "end" ? ended : begun)[f] = v;
            next = v + 1;
        }
        ASSERT_FALSE(begun.empty()) << "the harness did not start";
        bool interrupted = false;
        for (const File f : kFiles) {
            const long before = ended.count(f) ? ended[f] : onDisk[f];
            const bool pending = begun.count(f) && begun[f] != before;
            interrupted |= pending;
            if (IsLog(f)) {
                inAppend += pending;
                std::vector<long> expected = appended[f];
                for (long w = first; ended.count(f) && w <= ended[f]; ++w)
                    expected.push_back(w);
                const auto found = LogOnDisk(dir.path(), f, unfinished);
                std::vector<long> withPending = expected;
                if (pending) withPending.push_back(begun[f]);
                const bool whole = found && (*found == expected || *found == withPending);
                EXPECT_TRUE(whole)
                    << FileName(f) << " after kill " << k << ": not the records appended";
                torn += !whole;
                if (found) appended[f] = *found;
                // A kill lands in an append's fsync, seldom in its write of a
                // few pages: every fourth time the test cuts the last record
                // as such a kill would, for the next append to cut off.
                if (whole && k % 4 == 3 && !appended[f].empty()) {
                    CutLastRecord(dir.path() / FileName(f), random);
                    appended[f].pop_back();
                    ++cuts;
                }
                continue;
            }
            const long found = VersionOnDisk(dir.path(), f, {before, pending ? begun[f] : 0});
            EXPECT_GE(found, before == 0 ? 0 : 1)
                << FileName(f) << " after kill " << k << ": neither version " << before << " nor "
                << (pending ? begun[f] : 0);
            torn += found < 0;
            if (found > 0 || before == 0) onDisk[f] = found < 0 ? 0 : found;
        }
        midSave += interrupted;
        if (torn > 0) break;
    }
    // Anything else in the folder is a temporary file: hidden, named after
    // its data file, never one of the names the program reads.
    int temporaries = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
        const std::string n = e.path().filename().string();
        bool data = false, temporary = false;
        for (const File f : kFiles) {
            data |= n == FileName(f);
            temporary |= n.rfind("." + std::string(FileName(f)) + ".tmp", 0) == 0;
        }
        EXPECT_TRUE(data || temporary) << n;
        temporaries += temporary;
    }
    EXPECT_EQ(torn, 0);
    std::cout << "kills " << kills << ", inside a save " << midSave << ", torn files " << torn
              << ", versions saved " << next - 1 << ", temporary files left " << temporaries
              << ", inside an append " << inAppend << ", appends cut " << cuts
              << " (a cut one read before the next append " << (unfinished ? "" : "not ")
              << "seen)\n";
}

}  // namespace
}  // namespace quarnel::crash
