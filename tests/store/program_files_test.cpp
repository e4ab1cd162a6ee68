// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own file names against names from outside, and the lock
// that keeps a data folder to one run.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "hostile_names.h"
#include "store/atomic_file.h"
#include "store/folder_lock.h"
#include "store/program_files.h"
#include "temp_dir.h"

namespace quarnel {
namespace {

using test::TempDir;

TEST(ProgramFiles, ANameFromOutsideNeverTakesOneOfTheProgramsNames) {
    TempDir dir;
    for (const std::string& name : test::kProgramFileNames) {
        EXPECT_TRUE(IsProgramFileName(name)) << name;
        EXPECT_EQ(FreeFileName(dir.path(), name), dir / ("_" + name)) << name;
    }
    for (const std::string& name : test::kOrdinaryNames) {
        EXPECT_FALSE(IsProgramFileName(name)) << name;
        EXPECT_EQ(FreeFileName(dir.path(), name), dir / name) << name;
    }
    // The safe name taken too: the next free one, still safe.
    ASSERT_TRUE(WriteFileAtomically(dir / "_QuarnelTitCA.pem", "x"));
    EXPECT_EQ(FreeFileName(dir.path(), "QuarnelTitCA.pem"), dir / "_QuarnelTitCA_1.pem");
}

TEST(ProgramFiles, FreeNameSearchesGiveUp) {
    // The limit: kMaxFreeNameTries names, the last one a_9999.txt; reserved
    // names count as files do.
    TempDir dir;
    ASSERT_TRUE(WriteFileAtomically(dir / "a.txt", ""));
    std::vector<std::filesystem::path> taken;
    for (int i = 1; i < kMaxFreeNameTries - 1; ++i)
        taken.push_back(dir / ("a_" + std::to_string(i) + ".txt"));
    const auto last = dir / ("a_" + std::to_string(kMaxFreeNameTries - 1) + ".txt");
    EXPECT_EQ(FreeFileName(dir.path(), "a.txt", taken), last);
    taken.push_back(last);
    EXPECT_FALSE(FreeFileName(dir.path(), "a.txt", taken));
}

TEST(DataFolderLock, OneRunAtATimeAndNothingLeftByOneThatDied) {
    TempDir dir;
    std::string why;
    {
        DataFolderLock first(dir.path());
        ASSERT_EQ(first.Take(&why), DataFolderLock::Result::Taken) << why;
        struct stat st {};
        ASSERT_EQ(::stat(first.path().c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0600u);
        DataFolderLock second(dir.path());
        EXPECT_EQ(second.Take(), DataFolderLock::Result::Held);
        EXPECT_EQ(second.otherProcess(), std::to_string(::getpid()));
        char host[256] = {};
        ::gethostname(host, sizeof host - 1);
        EXPECT_EQ(second.otherHost(), host);
    }
    EXPECT_FALSE(std::filesystem::exists(dir / kLockFileName)) << "let go with its file";

    // A run that was killed leaves its file but no lock: the file is taken over.
    ASSERT_TRUE(WriteFileAtomically(dir / kLockFileName, "999999 elsewhere\n"));
    DataFolderLock after(dir.path());
    EXPECT_EQ(after.Take(), DataFolderLock::Result::Taken);

    DataFolderLock nowhere(dir / "absent");
    EXPECT_EQ(nowhere.Take(&why), DataFolderLock::Result::Failed);
    EXPECT_NE(why.find("absent"), std::string::npos) << why;
}

}  // namespace
}  // namespace quarnel
