// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One run per data folder: the program and the tool commands that write the
// holder's files hold an exclusive lock on kLockFileName in the data folder
// for as long as they run. The lock is the kernel's (flock), so a run that
// crashed or was killed leaves no lock behind: its file is taken over as it
// stands. The file names who holds it, for the message of a second run.

#include <filesystem>
#include <string>

namespace quarnel {

class DataFolderLock {
  public:
    explicit DataFolderLock(std::filesystem::path folder);
    /// Lets the lock go and removes its file.
    ~DataFolderLock();
    DataFolderLock(const DataFolderLock&) = delete;
    DataFolderLock& operator=(const DataFolderLock&) = delete;

    enum class Result {
        Taken,
        Held,    ///< another run holds it: otherProcess() and otherHost() name it
        Failed,  ///< the lock file could not be made or locked: `why` says why
    };
    /// Takes the lock without waiting; Taken at once when already held here.
    [[nodiscard]] Result Take(std::string* why = nullptr);
    [[nodiscard]] bool held() const { return fd_ >= 0; }
    [[nodiscard]] std::filesystem::path path() const;
    /// After Held: the process number and host the lock file names ("?" when
    /// it names none).
    [[nodiscard]] const std::string& otherProcess() const { return otherProcess_; }
    [[nodiscard]] const std::string& otherHost() const { return otherHost_; }

  private:
    void ReadOther(int fd);

    std::filesystem::path folder_;
    int fd_ = -1;
    std::string otherProcess_;
    std::string otherHost_;
};

}  // namespace quarnel
