// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "crypto/datetime.h"

namespace quarnel {

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

namespace {

// After a rename the folder's entry must reach the disk too, or a power cut
// may bring back the old name.
void SyncFolderOf(const std::filesystem::path& path) {
    SyncFolder(path.has_parent_path() ? path.parent_path() : ".");
}

bool IsTemporaryName(const std::string& name) {
    const std::size_t at = name.rfind(".tmp");
    if (name.size() < 2 || name[0] != '.' || at == std::string::npos || at == 0) return false;
    const std::string digits = name.substr(at + 4);
    return !digits.empty() && digits.size() <= 7 &&
           digits.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

void SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)::fsync(fd);
    ::close(fd);
}

int RemoveStaleTemporaries(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    int removed = 0;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& path = it->path();
        if (!IsTemporaryName(path.filename().string())) continue;
        const int fd = ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) continue;
        struct stat st {};
        // A writer at work holds its temporary locked: only what nobody holds
        // is a save that a crash cut short.
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            OverwriteFileRange(fd, 0, std::uint64_t(st.st_size));
            if (::unlink(path.c_str()) == 0) ++removed;
        }
        ::close(fd);
    }
    return removed;
}

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::string* error, const SaveProgress& progress) {
    constexpr std::size_t kPiece = std::size_t(1) << 20;
    StreamingFileWriter writer(path);
    if (!writer.Open(error)) return false;
    for (std::size_t at = 0; at < bytes.size(); at += kPiece) {
        const std::string_view piece = bytes.substr(at, kPiece);
        if (!writer.Write(piece)) return writer.Commit(error);  // gives the write's reason
        if (progress && !progress(at + piece.size(), bytes.size())) {
            writer.Abandon();
            if (error) *error = "the save of " + path.string() + " was cancelled";
            return false;
        }
    }
    return writer.Commit(error);
}

StreamingFileWriter::StreamingFileWriter(std::filesystem::path path) : path_(std::move(path)) {}

StreamingFileWriter::~StreamingFileWriter() {
    Abandon();
}

bool StreamingFileWriter::Open(std::string* error, WritePath path) {
    const std::filesystem::path dir = path_.has_parent_path() ? path_.parent_path() : ".";
    std::random_device rd;
    tmp_ = dir / ("." + path_.filename().string() + ".tmp" + std::to_string(rd() % 1000000));
    // The holder's files are nobody else's: owner only, whatever the umask,
    // and an existing file's stricter mode survives the replacement.
    mode_t mode = S_IRUSR | S_IWUSR;
    struct stat old {};
    if (::stat(path_.c_str(), &old) == 0) mode &= old.st_mode;
    fd_ = ::open(tmp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd_ < 0) {
        if (error) *error = "cannot create " + tmp_.string() + ": " + std::strerror(errno);
        tmp_.clear();
        return false;
    }
    // Held until the file has its name or is gone: the start-up sweep leaves
    // alone what a writer still holds.
    (void)::flock(fd_, LOCK_EX);
    if (::fchmod(fd_, mode) != 0) {
        if (error) *error = "cannot set the mode of " + tmp_.string() + ": " + std::strerror(errno);
        Abandon();
        return false;
    }
#ifdef O_DIRECT
    if (path == WritePath::Direct) {
        const int flags = ::fcntl(fd_, F_GETFL);
        direct_ = flags >= 0 && ::fcntl(fd_, F_SETFL, flags | O_DIRECT) == 0;
        if (direct_) staging_ = std::make_unique<SecretPages>(kDirectWriteBytes);
    }
#else
    (void)path;
#endif
    return true;
}

void StreamingFileWriter::EndDirect() {
#ifdef O_DIRECT
    if (!direct_) return;
    const int flags = ::fcntl(fd_, F_GETFL);
    if (flags >= 0) (void)::fcntl(fd_, F_SETFL, flags & ~O_DIRECT);
    direct_ = false;
#endif
}

bool StreamingFileWriter::WriteOut(const char* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd_, data + done, size - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            // Direct writes refused here (an unaligned buffer or a file
            // system without them): the rest through the cache.
            if (errno == EINVAL && direct_) {
                EndDirect();
                continue;
            }
            if (error_.empty())
                error_ = "cannot write " + tmp_.string() + ": " + std::strerror(errno);
            return false;
        }
        done += std::size_t(n);
        written_ += std::uint64_t(n);
    }
    return true;
}

bool StreamingFileWriter::Write(std::string_view bytes) {
    if (fd_ < 0) return false;
    if (staging_) {
        while (!bytes.empty()) {
            const std::size_t take = std::min(bytes.size(), kDirectWriteBytes - staged_);
            std::memcpy(staging_->data() + staged_, bytes.data(), take);
            staged_ += take;
            bytes.remove_prefix(take);
            if (staged_ < kDirectWriteBytes) break;
            if (!WriteOut(staging_->data(), staged_)) return false;
            staged_ = 0;
        }
        return true;
    }
    if (!WriteOut(bytes.data(), bytes.size())) return false;
#ifdef __linux__
    // Start writing out what piled up, without waiting for it: the disk works
    // while the caller makes the next bytes, and the commit's fsync finds
    // little left to do.
    if (written_ - started_ >= kEarlyWriteBytes) {
        (void)::sync_file_range(fd_, off_t(started_), off_t(written_ - started_),
                                SYNC_FILE_RANGE_WRITE);
        started_ = written_;
    }
#endif
    return true;
}

bool StreamingFileWriter::Flush(std::string& why) {
    if (fd_ < 0) {
        why = "nothing to commit for " + path_.string();
        return false;
    }
    // The last piece of a direct write is seldom whole pages.
    if (staged_ > 0) {
        EndDirect();
        if (WriteOut(staging_->data(), staged_)) staged_ = 0;
    }
    if (!error_.empty()) {
        why = error_;
        return false;
    }
    if (::fsync(fd_) != 0) {
        why = "cannot flush " + tmp_.string() + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

void StreamingFileWriter::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

bool StreamingFileWriter::Commit(std::string* error, FolderSync folder) {
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        Abandon();
        return false;
    };
    std::string why;
    if (!Flush(why)) return fail(why);
    if (::rename(tmp_.c_str(), path_.c_str()) != 0) {
        return fail("cannot replace " + path_.string() + ": " + std::strerror(errno));
    }
    tmp_.clear();
    Close();
    if (folder == FolderSync::Now) SyncFolderOf(path_);
    return true;
}

std::optional<std::filesystem::path> StreamingFileWriter::CommitAsNew(
    const std::function<std::optional<std::filesystem::path>()>& next, std::string* error,
    FolderSync folder) {
    auto fail = [&](const std::string& why) -> std::optional<std::filesystem::path> {
        if (error) *error = why;
        Abandon();
        return std::nullopt;
    };
    std::string why;
    if (!Flush(why)) return fail(why);
    for (int tries = 0; tries < kMaxNewNameTries; ++tries) {
        const std::optional<std::filesystem::path> name = next();
        if (!name) return fail("no free name for " + path_.string());
        if (::link(tmp_.c_str(), name->c_str()) == 0) {
            ::unlink(tmp_.c_str());
            tmp_.clear();
            Close();
            if (folder == FolderSync::Now) SyncFolderOf(*name);
            return name;
        }
        if (errno != EEXIST) {
            return fail("cannot write " + name->string() + ": " + std::strerror(errno));
        }
    }
    return fail("no free name for " + path_.string());
}

void StreamingFileWriter::Abandon() {
    // What was written may be decrypted text: overwritten before it goes.
    if (fd_ >= 0 && !tmp_.empty() && written_ > 0) {
        EndDirect();
        OverwriteFileRange(fd_, 0, written_);
    }
    staging_.reset();  // wiped
    staged_ = 0;
    if (!tmp_.empty()) ::unlink(tmp_.c_str());
    tmp_.clear();
    Close();
}

StreamingFileReader::StreamingFileReader(const std::filesystem::path& path) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd_ >= 0 && (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode))) {
        ::close(fd_);
        fd_ = -1;
    }
    if (fd_ >= 0) size_ = std::uint64_t(st.st_size);
}

StreamingFileReader::~StreamingFileReader() {
    if (fd_ >= 0) ::close(fd_);
}

std::optional<std::size_t> StreamingFileReader::Read(char* data, std::size_t size) {
    if (fd_ < 0) return std::nullopt;
    for (;;) {
        const ssize_t n = ::read(fd_, data, size);
        if (n >= 0) return std::size_t(n);
        if (errno != EINTR) return std::nullopt;
    }
}

bool CreatePrivateFolders(const std::filesystem::path& folder, std::string* error) {
    std::error_code ec;
    if (std::filesystem::is_directory(folder, ec)) return true;
    const std::filesystem::path parent = folder.parent_path();
    if (!parent.empty() && parent != folder && !CreatePrivateFolders(parent, error)) return false;
    if (::mkdir(folder.c_str(), S_IRWXU) != 0 && errno != EEXIST) {
        if (error) *error = "cannot create " + folder.string() + ": " + std::strerror(errno);
        return false;
    }
    if (std::filesystem::is_directory(folder, ec)) return true;
    if (error) *error = folder.string() + " is not a folder";
    return false;
}

std::optional<std::filesystem::path> KeepUnderDatedName(const std::filesystem::path& path,
                                                        std::string_view label,
                                                        std::string* error) {
    const LocalDateTime now = LocalNow();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d", now.year, now.month, now.day,
                  now.hour, now.minute);
    const std::string base = path.filename().string() + "." + std::string(label) + "-" + stamp;
    for (int n = 1; n <= kMaxKeptNameTries; ++n) {
        const std::filesystem::path kept =
            path.parent_path() / (n == 1 ? base : base + "-" + std::to_string(n));
        // A hard link never replaces an existing name; the old name is then
        // let go, so the file itself (and its mode) is what is kept.
        if (::link(path.c_str(), kept.c_str()) != 0) {
            const int linkError = errno;
            if (linkError == EEXIST) continue;
            // File systems without hard links: a rename onto a name seen free.
            std::error_code ec;
            if ((linkError == EPERM || linkError == ENOTSUP) &&
                !std::filesystem::exists(kept, ec) && ::rename(path.c_str(), kept.c_str()) == 0) {
                return kept;
            }
            if (error) *error = "cannot keep " + path.string() + ": " + std::strerror(linkError);
            return std::nullopt;
        }
        if (::unlink(path.c_str()) != 0) {
            const std::string why = std::strerror(errno);
            ::unlink(kept.c_str());
            if (error) *error = "cannot keep " + path.string() + ": " + why;
            return std::nullopt;
        }
        return kept;
    }
    if (error) *error = "no free name for keeping " + path.string();
    return std::nullopt;
}

void OverwriteFileRange(int fd, std::uint64_t from, std::uint64_t to) {
    static constexpr std::size_t kPiece = std::size_t(1) << 16;
    if (to <= from) return;
    std::vector<char> noise(std::size_t(std::min<std::uint64_t>(to - from, kPiece)));
    std::mt19937_64 random(std::random_device{}());
    for (char& c : noise)
        c = char(random());
    for (std::uint64_t at = from; at < to;) {
        const std::size_t n = std::size_t(std::min<std::uint64_t>(noise.size(), to - at));
        const ssize_t w = ::pwrite(fd, noise.data(), n, off_t(at));
        if (w <= 0) {
            if (w < 0 && errno == EINTR) continue;
            return;
        }
        at += std::uint64_t(w);
    }
    (void)::fdatasync(fd);
}

bool RemoveOverwritten(const std::filesystem::path& path, std::string* error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd >= 0) {
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
            OverwriteFileRange(fd, 0, std::uint64_t(st.st_size));
        ::close(fd);
    }
    std::error_code ec;
    if (!std::filesystem::remove(path, ec) && ec) {
        if (error) *error = "cannot remove " + path.string() + ": " + ec.message();
        return false;
    }
    SyncFolderOf(path);
    return true;
}

}  // namespace quarnel
