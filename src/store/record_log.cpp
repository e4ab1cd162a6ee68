// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/record_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "crypto/bignum.h"

namespace quarnel {

namespace {

constexpr std::size_t kBlock = std::size_t(1) << 20;
constexpr std::size_t kCountLength = 8;

/// The lines of an open file, a block at a time, ended as SplitLines ends
/// them (CR LF, a lone LF or a lone CR; a last line without an end).
class LineReader {
  public:
    struct Line {
        std::string head;  ///< the first characters, enough to tell a count line
        std::size_t length = 0;
        bool ended = false;     ///< a line end follows (else the file ends)
        std::uint64_t end = 0;  ///< offset just after the line and its end
    };

    LineReader(int fd, std::uint64_t size)
        : fd_(fd), size_(size), buffer_(std::size_t(std::min<std::uint64_t>(size, kBlock))) {}

    /// The next line; false at the end of the file, or on a failed read.
    bool Next(Line& line) {
        line.head.clear();
        line.length = 0;
        line.ended = false;
        for (;;) {
            if (pos_ == len_ && !Fill()) {
                line.end = base_;
                return line.length > 0 && !failed_;
            }
            const char* p = buffer_.data() + pos_;
            // The next LF is looked for once per block stretch, so that a
            // file of lone CRs is not scanned again for each line.
            if (nextLf_ == kUnknown || nextLf_ < pos_) {
                const void* lf = std::memchr(p, '\n', len_ - pos_);
                nextLf_ = lf ? std::size_t(static_cast<const char*>(lf) - buffer_.data()) : len_;
            }
            const void* cr = std::memchr(p, '\r', nextLf_ - pos_);
            const std::size_t stop =
                cr ? std::size_t(static_cast<const char*>(cr) - buffer_.data()) : nextLf_;
            const std::size_t n = stop - pos_;
            if (line.head.size() <= kCountLength)
                line.head.append(p, std::min(n, kCountLength + 1 - line.head.size()));
            line.length += n;
            pos_ = stop;
            if (stop == len_) continue;
            const char c = buffer_[pos_++];
            if (c == '\r') {
                if (pos_ == len_ && !Fill() && failed_) return false;
                if (pos_ < len_ && buffer_[pos_] == '\n') ++pos_;
            }
            line.ended = true;
            line.end = base_ + pos_;
            return true;
        }
    }

    [[nodiscard]] std::uint64_t Offset() const { return base_ + pos_; }
    [[nodiscard]] bool failed() const { return failed_; }

  private:
    /// The next block; false at the end of the file or on a failed read.
    bool Fill() {
        base_ += len_;
        pos_ = len_ = 0;
        nextLf_ = kUnknown;
        if (base_ >= size_ || failed_) return false;
        const std::size_t want =
            std::size_t(std::min<std::uint64_t>(buffer_.size(), size_ - base_));
        while (len_ < want) {
            const ssize_t n = ::pread(fd_, buffer_.data() + len_, want - len_, off_t(base_ + len_));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            len_ += std::size_t(n);
        }
        // Shorter than its size: the file changed while it was read.
        if (len_ < want) failed_ = true;
        return len_ == want;
    }

    int fd_;
    std::uint64_t size_;
    std::vector<char> buffer_;
    std::uint64_t base_ = 0;  ///< file offset of buffer_[0]
    std::size_t pos_ = 0;
    std::size_t len_ = 0;
    static constexpr std::size_t kUnknown = std::size_t(-1);
    std::size_t nextLf_ = kUnknown;  ///< in buffer_, or len_ when none is left
    bool failed_ = false;
};

bool IsCountLine(const LineReader::Line& line) {
    return line.length == kCountLength && HexToWord(line.head) != 0;
}

/// How the beginning of a count line cut by the end of the file may look.
bool CountLinePrefix(const LineReader::Line& line) {
    return !line.ended && line.length < kCountLength &&
           std::all_of(line.head.begin(), line.head.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); });
}

bool WriteAll(int fd, std::string_view bytes, std::uint64_t at) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, off_t(at + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += std::size_t(n);
    }
    return true;
}

class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    [[nodiscard]] int get() const { return fd_; }
    /// Closes now, for its error.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

std::string Reason(const std::string& what, const std::filesystem::path& path) {
    return "cannot " + what + " " + path.string() + ": " + std::strerror(errno);
}

std::uint64_t SizeOf(const std::filesystem::path& path) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    return ec ? 0 : std::uint64_t(size);
}

}  // namespace

std::optional<RecordFileIndex> IndexRecordFile(int fd, std::uint64_t size,
                                               const SaveProgress& progress) {
    RecordFileIndex index;
    index.size = size;
    LineReader reader(fd, size);
    LineReader::Line line;
    std::size_t lineNo = 0;
    std::uint64_t told = 0;
    for (;;) {
        if (progress && reader.Offset() - told >= kBlock) {
            told = reader.Offset();
            if (!progress(told, size)) return std::nullopt;
        }
        const std::uint64_t start = reader.Offset();
        if (!reader.Next(line)) break;
        const std::size_t countLine = ++lineNo;
        if (!IsCountLine(line)) {
            index.tail = CountLinePrefix(line) ? FileTail::Unfinished : FileTail::Damaged;
            index.faultLine = countLine;
            return index;
        }
        const std::size_t n = HexToWord(line.head);
        bool ended = line.ended;
        // Within a record cut short by a crash there is no end of a record
        // followed by another count line: where there is, the file holds
        // more than one append's remains.
        bool previousBlank = false;
        bool moreRecords = false;
        std::size_t got = 0;
        for (; got < n && reader.Next(line); ++got) {
            ++lineNo;
            moreRecords |= previousBlank && IsCountLine(line);
            previousBlank = line.length == 1 && line.head == " ";
            ended = line.ended;
        }
        if (reader.failed()) return std::nullopt;
        if (got < n) {
            index.tail = moreRecords ? FileTail::Damaged : FileTail::Unfinished;
            index.faultLine = countLine;
            return index;
        }
        index.starts.push_back(start);
        index.wholeEnd = reader.Offset();
        index.lineEnded = ended;
    }
    if (reader.failed()) return std::nullopt;
    return index;
}

void RecordLog::ForgetIndex() {
    index_.reset();
    stamp_ = {};
}

void RecordLog::Clear() {
    pending_.clear();
    pending_.shrink_to_fit();
    ForgetIndex();
    path_.clear();
}

std::optional<RecordLog::Stamp> RecordLog::StampOf(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return Stamp{st.st_dev, st.st_ino, st.st_size,
                 std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

bool RecordLog::Refresh(int fd, const SaveProgress& progress) {
    const std::optional<Stamp> now = StampOf(fd);
    if (!now) return false;
    if (index_ && *now == stamp_) return true;
    index_ = IndexRecordFile(fd, std::uint64_t(now->size), progress);
    stamp_ = index_ ? *now : Stamp{};
    return index_.has_value();
}

RecordLog::Appended RecordLog::Append(const std::filesystem::path& path, const std::string& bytes,
                                      const std::vector<std::uint64_t>& offsets,
                                      const SaveProgress& progress, std::string& why) {
    if (path != path_) {
        ForgetIndex();
        path_ = path;
    }
    Fd fd(::open(path.c_str(), O_RDWR | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno != ENOENT) {
            why = Reason("open", path);
            return Appended::Failed;
        }
        // A first record: the file appears whole or not at all.
        ForgetIndex();
        return WriteFileAtomically(path, bytes, &why) ? Appended::Done : Appended::Failed;
    }
    if (!Refresh(fd.get(), progress)) {
        why = "cannot read " + path.string();
        ForgetIndex();
        return Appended::Failed;
    }
    RecordFileIndex& index = *index_;
    if (index.tail == FileTail::Damaged) return Appended::Damaged;
    // What a crash cut short goes first, so that nothing is left between
    // the whole records and the new ones.
    if (index.tail == FileTail::Unfinished && ::ftruncate(fd.get(), off_t(index.wholeEnd)) != 0) {
        why = Reason("cut the unfinished record of", path);
        ForgetIndex();
        return Appended::Failed;
    }
    const std::string_view lineEnd = index.lineEnded ? "" : "\r\n";
    const std::uint64_t at = index.wholeEnd + lineEnd.size();
    const bool written = WriteAll(fd.get(), lineEnd, index.wholeEnd) &&
                         WriteAll(fd.get(), bytes, at) && ::fdatasync(fd.get()) == 0;
    if (!written) {
        why = Reason("append to", path);
        // Nothing of it is left for a reader to take for a record.
        (void)::ftruncate(fd.get(), off_t(index.wholeEnd));
        ForgetIndex();
        return Appended::Failed;
    }
    for (const std::uint64_t o : offsets)
        index.starts.push_back(at + o);
    index.wholeEnd = index.size = at + bytes.size();
    index.lineEnded = true;
    index.tail = FileTail::Whole;
    index.faultLine = 0;
    // Known as written here, so that the next append need not index it again.
    const std::optional<Stamp> after = StampOf(fd.get());
    if (after && fd.Close())
        stamp_ = *after;
    else
        ForgetIndex();
    return Appended::Done;
}

bool RecordLog::Rewrite(const std::filesystem::path& kept, const std::filesystem::path& path,
                        const std::string& bytes, const SaveProgress& progress, std::string& why) {
    ForgetIndex();
    std::uint64_t whole = 0;
    bool lineEnded = true;
    Fd in(kept.empty() ? -1 : ::open(kept.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.get() >= 0) {
        struct stat st {};
        std::optional<RecordFileIndex> index;
        if (::fstat(in.get(), &st) == 0)
            index = IndexRecordFile(in.get(), std::uint64_t(st.st_size), progress);
        if (!index) {
            why = "cannot read " + kept.string();
            return false;
        }
        whole = index->wholeEnd;
        lineEnded = index->lineEnded;
    }
    // The whole records of the damaged file, then the new ones.
    StreamingFileWriter writer(path);
    if (!writer.Open(&why)) return false;
    std::vector<char> block(std::size_t(std::min<std::uint64_t>(whole, kBlock)));
    for (std::uint64_t done = 0; done < whole;) {
        const std::size_t want = std::size_t(std::min<std::uint64_t>(block.size(), whole - done));
        const ssize_t n = ::pread(in.get(), block.data(), want, off_t(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            why = Reason("read", kept);
            return false;
        }
        if (!writer.Write(std::string_view(block.data(), std::size_t(n))))
            return writer.Commit(&why);
        done += std::uint64_t(n);
        if (progress && !progress(done, whole + bytes.size())) {
            why = "the save of " + path.string() + " was cancelled";
            return false;
        }
    }
    if (!writer.Write(lineEnded ? "" : "\r\n") || !writer.Write(bytes)) return writer.Commit(&why);
    return writer.Commit(&why);
}

SaveResult RecordLog::Save(const std::filesystem::path& path, const SaveFailureHandler& onFailure,
                           const SaveRunner& runner, std::filesystem::path* keptDamaged) {
    // A record the format cannot hold would stop every save after it.
    std::erase_if(pending_, [](const Record& r) {
        return std::any_of(r.begin(), r.end(), [](const std::string& line) {
            return line.find_first_of("\r\n") != std::string::npos;
        });
    });
    if (pending_.empty()) return SaveResult::Saved;
    std::string bytes;
    std::vector<std::uint64_t> offsets;
    for (const Record& r : pending_) {
        offsets.push_back(bytes.size());
        bytes += *SerializeRecordList({r});
    }
    // Once a damaged file is moved aside, every try writes its whole records
    // and the new ones.
    std::optional<std::filesystem::path> aside;
    for (;;) {
        std::string why;
        Appended appended = Appended::Failed;
        if (aside) {
            if (RunSaveWork(runner, path, bytes.size() + SizeOf(*aside),
                            [&](const SaveProgress& progress) {
                                return Rewrite(*aside, path, bytes, progress, why);
                            })) {
                appended = Appended::Done;
            }
        } else {
            // A file not indexed yet is read whole first.
            const std::uint64_t reads = index_ && path == path_ ? 0 : SizeOf(path);
            (void)RunSaveWork(runner, path, bytes.size() + reads,
                              [&](const SaveProgress& progress) {
                                  appended = Append(path, bytes, offsets, progress, why);
                                  return appended == Appended::Done;
                              });
        }
        if (appended == Appended::Done) {
            pending_.clear();
            return SaveResult::Saved;
        }
        if (appended == Appended::Damaged) {
            std::filesystem::path kept;
            if (const auto stopped = KeepDamagedFile(path, onFailure, &kept)) return *stopped;
            if (keptDamaged && !kept.empty()) *keptDamaged = kept;
            aside = kept;
            continue;
        }
        const SaveChoice choice = onFailure ? onFailure(path, why) : SaveChoice::Ignore;
        if (choice == SaveChoice::Ignore) return SaveResult::Ignored;
        if (choice == SaveChoice::Abort) return SaveResult::Aborted;
    }
}

int RecordLog::OpenIndexed(const std::filesystem::path& path) {
    if (path != path_) {
        ForgetIndex();
        path_ = path;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        ForgetIndex();
        return errno == ENOENT ? kMissing : -1;
    }
    if (!Refresh(fd, {})) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::optional<std::size_t> RecordLog::Count(const std::filesystem::path& path) {
    const Fd fd(OpenIndexed(path));
    if (fd.get() == kMissing) return 0;
    if (fd.get() < 0) return std::nullopt;
    return index_->starts.size();
}

std::optional<Record> RecordLog::Read(const std::filesystem::path& path, std::size_t i) {
    const Fd fd(OpenIndexed(path));
    if (fd.get() < 0) return std::nullopt;
    return ReadIndexed(fd.get(), i);
}

std::optional<Record> RecordLog::ReadIndexed(int fd, std::size_t i) const {
    if (i >= index_->starts.size()) return std::nullopt;
    const std::uint64_t from = index_->starts[i];
    const std::uint64_t to =
        i + 1 < index_->starts.size() ? index_->starts[i + 1] : index_->wholeEnd;
    std::string bytes(std::size_t(to - from), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pread(fd, bytes.data() + done, bytes.size() - done, off_t(from + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return std::nullopt;
        done += std::size_t(n);
    }
    RecordList one;
    if (!ParseRecordList(bytes, one) || one.size() != 1) return std::nullopt;
    return std::move(one.front());
}

std::optional<RecordFileIndex> RecordLog::Visit(
    const std::filesystem::path& path, std::size_t limit,
    const std::function<void(std::size_t i, std::optional<Record> record)>& visit) {
    const Fd fd(OpenIndexed(path));
    if (fd.get() == kMissing) return RecordFileIndex{};
    if (fd.get() < 0) return std::nullopt;
    const std::size_t n = index_->starts.size();
    for (std::size_t i = n - std::min(limit, n); i < n; ++i)
        visit(i, ReadIndexed(fd.get(), i));
    return *index_;
}

bool RecordLog::Remove(const std::filesystem::path& path, std::size_t i, std::string& why) {
    Fd in(OpenIndexed(path));
    if (in.get() < 0 || i >= index_->starts.size()) {
        why = "cannot read record " + std::to_string(i + 1) + " of " + path.string();
        return false;
    }
    const std::uint64_t cut = index_->starts[i];
    const std::uint64_t resume =
        i + 1 < index_->starts.size() ? index_->starts[i + 1] : index_->wholeEnd;
    const std::uint64_t size = index_->size;
    ForgetIndex();
    StreamingFileWriter writer(path);
    if (!writer.Open(&why)) return false;
    std::vector<char> block(std::size_t(std::min<std::uint64_t>(size, kBlock)));
    for (const auto& [from, to] : {std::pair{std::uint64_t(0), cut}, std::pair{resume, size}}) {
        for (std::uint64_t at = from; at < to;) {
            const std::size_t want = std::size_t(std::min<std::uint64_t>(block.size(), to - at));
            const ssize_t n = ::pread(in.get(), block.data(), want, off_t(at));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                why = Reason("read", path);
                return false;  // the writer takes its temporary file with it
            }
            if (!writer.Write(std::string_view(block.data(), std::size_t(n))))
                return writer.Commit(&why);
            at += std::uint64_t(n);
        }
    }
    // The old file keeps the record's bytes in its blocks until overwritten:
    // done through a handle of its own, once the new file has its name.
    const Fd old(::open(path.c_str(), O_WRONLY | O_CLOEXEC));
    if (!writer.Commit(&why)) return false;
    if (old.get() >= 0) OverwriteFileRange(old.get(), cut, resume);
    return true;
}

}  // namespace quarnel
