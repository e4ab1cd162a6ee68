// Saves killed at random moments: after each SIGKILL of the harness every
// file is whole and either the version it held before the save or the one
// being saved, read with the program's own readers; what a kill leaves
// besides is only temporary files no reader takes for data.
// QUARNEL_CRASH_KILLS sets the number of kills (50 by default).

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
#include "temp_dir.h"
#include "versions.h"

namespace quarnel::crash {
namespace {

/// Starts the harness, lets it run `ms` after its first line, kills it;
/// gives everything it said.
std::string RunAndKill(const std::filesystem::path& dir, long first, int ms) {
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
        const ssize_t n = ::read(out[0], buf, sizeof buf);  // its first line: saving has begun
        if (n > 0) said.append(buf, std::size_t(n));
        std::this_thread::sleep_for(std::chrono::microseconds(ms * 1000));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
    for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) > 0;)
        said.append(buf, std::size_t(n));
    ::close(out[0]);
    return said;
}

/// The version a file holds after the kill: 0 when missing, -1 when it is
/// none of `allowed`.
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
    test::TempDir dir;
    std::mt19937 random(std::random_device{}());
    std::map<File, long> onDisk;  // what each file held after the last kill
    long next = 1;
    int midSave = 0;
    int torn = 0;
    for (int k = 0; k < kills; ++k) {
        std::istringstream said(RunAndKill(dir.path(), next, int(random() % 60)));
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
              << "\n";
}

}  // namespace
}  // namespace quarnel::crash
