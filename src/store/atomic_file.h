// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whole-file reads and atomic whole-file writes: a temporary file in the same
// folder, flushed, then renamed over the old one, so a crash or a full disk
// leaves the old content whole.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "crypto/secret_memory.h"

namespace quarnel {

/// Bytes done of total, told as a long write or read goes; false stops it
/// (the person cancelled).
using SaveProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

/// The bytes of the file, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

/// Writes `bytes` atomically, the file readable and writable by its owner
/// only (an existing file's stricter mode is kept); on failure the old file is untouched, no
/// temporary file is left, and `error` says why. `progress` hears of each
/// megabyte written and may stop the write.
[[nodiscard]] bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                                       std::string* error = nullptr,
                                       const SaveProgress& progress = {});

/// Removes from `folder` the temporary files of saves cut short
/// (".NAME.tmpN", regular files of ours that no StreamingFileWriter holds),
/// each overwritten first: they may hold secrets or decrypted text, and
/// nobody reads them. The number removed.
int RemoveStaleTemporaries(const std::filesystem::path& folder);

/// How many names CommitAsNew tries before it gives up.
inline constexpr int kMaxNewNameTries = 100;

/// Bytes a StreamingFileWriter lets pile up before it starts writing them
/// out (without waiting), so that the fsync of the commit finds little left.
inline constexpr std::uint64_t kEarlyWriteBytes = std::uint64_t(1) << 20;

/// How a StreamingFileWriter's bytes reach the disk: through the page cache,
/// or straight from a buffer of its own (O_DIRECT), which spares the CPU the
/// copy into the cache (when memory is busy, as costly as a seventh of the
/// deciphering of an attachment) and keeps large files written once out of
/// the cache. Where the file system refuses direct writes they go through
/// the cache.
enum class WritePath { Cached, Direct };

/// The pieces of a direct write: whole pages, so that every write but the
/// last is aligned as direct writes need.
inline constexpr std::size_t kDirectWriteBytes = std::size_t(1) << 20;

/// Whether a commit also flushes the folder's entry (a new name must reach
/// the disk too), or leaves it to the caller, who commits several files into
/// one folder and flushes it once with SyncFolder.
enum class FolderSync { Now, ByCaller };

/// fsync of the folder: its entries (names made by renames and links) reach
/// the disk. A failure loses nothing already written, so it is not reported.
void SyncFolder(const std::filesystem::path& folder);

/// Random bytes over bytes [from, to) of the open file, flushed: what the
/// file held does not stay in its disk blocks once its name is gone.
void OverwriteFileRange(int fd, std::uint64_t from, std::uint64_t to);

/// Overwrites the regular file (OverwriteFileRange) and removes it. True when
/// nothing is left at `path` (a missing file included).
[[nodiscard]] bool RemoveOverwritten(const std::filesystem::path& path,
                                     std::string* error = nullptr);

/// A file written a piece at a time under a temporary name in its folder
/// (owner only, as WriteFileAtomically, and locked while it is written),
/// flushed once and renamed over `path` by Commit. Until then nothing is at
/// `path`; dropped uncommitted, the temporary file is overwritten and goes.
class StreamingFileWriter {
  public:
    explicit StreamingFileWriter(std::filesystem::path path);
    ~StreamingFileWriter();
    StreamingFileWriter(const StreamingFileWriter&) = delete;
    StreamingFileWriter& operator=(const StreamingFileWriter&) = delete;

    /// False when the temporary file could not be made (`error` says why).
    [[nodiscard]] bool Open(std::string* error = nullptr, WritePath path = WritePath::Cached);
    /// Writes at once: callers hand over large pieces.
    [[nodiscard]] bool Write(std::string_view bytes);
    /// fsync, then the rename; false (temporary file removed) on failure.
    [[nodiscard]] bool Commit(std::string* error = nullptr, FolderSync folder = FolderSync::Now);
    /// fsync, then the file takes the first name `next` gives that no file
    /// holds, never replacing one (a hard link, then the temporary name let
    /// go): a file that appears meanwhile under the chosen name is kept. The
    /// name taken, or nothing (temporary file removed) when `next` gives none
    /// or after kMaxNewNameTries names.
    [[nodiscard]] std::optional<std::filesystem::path> CommitAsNew(
        const std::function<std::optional<std::filesystem::path>()>& next,
        std::string* error = nullptr, FolderSync folder = FolderSync::Now);
    /// Overwrites and removes the temporary file.
    void Abandon();
    const std::filesystem::path& temporaryPath() const { return tmp_; }

  private:
    /// fsync; false with `why` (the first write error, if any).
    bool Flush(std::string& why);
    void Close();
    /// Writes to the file; false (error_ set) on failure.
    bool WriteOut(const char* data, std::size_t size);
    /// The file's writes through the page cache from now on.
    void EndDirect();

    std::filesystem::path path_;
    std::filesystem::path tmp_;
    int fd_ = -1;
    std::string error_;
    std::uint64_t written_ = 0;  ///< bytes written so far
    std::uint64_t started_ = 0;  ///< bytes whose writing out has been started
    /// Direct writes: the bytes wait here until a whole piece is full (plain
    /// text may pass, hence pages kept out of dumps and wiped).
    std::unique_ptr<SecretPages> staging_;
    std::size_t staged_ = 0;
    bool direct_ = false;  ///< the file is open with O_DIRECT
};

/// A file read a piece at a time.
class StreamingFileReader {
  public:
    explicit StreamingFileReader(const std::filesystem::path& path);
    ~StreamingFileReader();
    StreamingFileReader(const StreamingFileReader&) = delete;
    StreamingFileReader& operator=(const StreamingFileReader&) = delete;

    /// False when the path is not a regular file that could be opened.
    [[nodiscard]] bool ok() const { return fd_ >= 0; }
    /// The size when opened.
    [[nodiscard]] std::uint64_t size() const { return size_; }
    /// Up to `size` bytes: how many, 0 at the end, nothing on an error.
    [[nodiscard]] std::optional<std::size_t> Read(char* data, std::size_t size);

  private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

/// Creates the folder and its missing parents, each new one readable by its
/// owner only (0700). True when the folder exists at the end.
[[nodiscard]] bool CreatePrivateFolders(const std::filesystem::path& folder,
                                        std::string* error = nullptr);

/// How many names KeepUnderDatedName tries before it gives up.
inline constexpr int kMaxKeptNameTries = 100;

/// Moves the file aside to "<name>.<label>-yyyymmdd-hhmm" in its folder
/// (local time; "-2", "-3"... when that name is taken), so that a write over
/// its name loses nothing. The new path, or nothing (file left in place)
/// when it could not be moved.
[[nodiscard]] std::optional<std::filesystem::path> KeepUnderDatedName(
    const std::filesystem::path& path, std::string_view label, std::string* error = nullptr);

}  // namespace quarnel
