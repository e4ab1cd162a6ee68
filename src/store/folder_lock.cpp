// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "store/program_files.h"

namespace quarnel {

namespace {

// How often the lock file may be found replaced under the lock just taken
// (another run letting go of it at that moment) before giving up.
constexpr int kMaxLockTries = 10;
// The most of the lock file read to name its holder.
constexpr std::size_t kMaxHolderText = 256;

std::string Why(const std::string& what, const std::filesystem::path& path) {
    return what + " " + path.string() + ": " + std::strerror(errno);
}

}  // namespace

DataFolderLock::DataFolderLock(std::filesystem::path folder) : folder_(std::move(folder)) {}

DataFolderLock::~DataFolderLock() {
    if (fd_ < 0) return;
    // Removed while still held: a run that opened the file meanwhile finds
    // its name gone once it has the lock, and takes a new one.
    ::unlink(path().c_str());
    ::close(fd_);
}

std::filesystem::path DataFolderLock::path() const {
    return folder_ / kLockFileName;
}

void DataFolderLock::ReadOther(int fd) {
    char buf[kMaxHolderText];
    const ssize_t n = ::pread(fd, buf, sizeof buf, 0);
    std::string text(buf, n > 0 ? std::size_t(n) : 0);
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    }
    const std::size_t space = text.find(' ');
    const std::size_t end = text.find_last_not_of(' ');
    otherProcess_ = "?";
    otherHost_ = "?";
    if (space == std::string::npos || space == 0 || end == std::string::npos || end <= space)
        return;
    otherProcess_ = text.substr(0, space);
    otherHost_ = text.substr(space + 1, end - space);
}

DataFolderLock::Result DataFolderLock::Take(std::string* why) {
    if (fd_ >= 0) return Result::Taken;
    const std::filesystem::path file = path();
    const auto fail = [&](std::string reason) {
        if (why) *why = std::move(reason);
        return Result::Failed;
    };
    for (int tries = 0; tries < kMaxLockTries; ++tries) {
        const int fd =
            ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, S_IRUSR | S_IWUSR);
        if (fd < 0) return fail(Why("cannot open", file));
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK) {
                std::string reason = Why("cannot lock", file);
                ::close(fd);
                return fail(std::move(reason));
            }
            ReadOther(fd);
            ::close(fd);
            return Result::Held;
        }
        // The lock counts only on the file the name gives now.
        struct stat mine {};
        struct stat named {};
        if (::fstat(fd, &mine) != 0 || ::stat(file.c_str(), &named) != 0 ||
            mine.st_ino != named.st_ino || mine.st_dev != named.st_dev) {
            ::close(fd);
            continue;
        }
        char host[256] = {};
        if (::gethostname(host, sizeof host - 1) != 0) std::strcpy(host, "?");
        const std::string who = std::to_string(::getpid()) + " " + host + "\n";
        // Who holds it is a courtesy for the message of a second run: a
        // failure to write it takes nothing from the lock.
        if (::ftruncate(fd, 0) == 0) (void)!::pwrite(fd, who.data(), who.size(), 0);
        fd_ = fd;
        return Result::Taken;
    }
    return fail("the lock file " + file.string() + " keeps being replaced");
}

}  // namespace quarnel
