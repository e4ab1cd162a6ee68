// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Record-list files that only grow (the logs of sent and received messages):
// a record is added by appending it, never by writing the whole file again,
// and the file is read a record at a time through an index of where each
// record begins. Neither costs more as the history grows, and no record
// body is held in memory.
//
// An append cut short by a crash leaves the beginning of one record after
// the whole ones: every reader of the format stops there with the whole
// records read, and the next append cuts it off before it writes.

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "crypto/records.h"
#include "store/record_list.h"

namespace quarnel {

/// What follows the whole records of a record-list file.
enum class FileTail {
    Whole,       ///< nothing
    Unfinished,  ///< the beginning of one more record, cut at the end of the file
    Damaged,     ///< lines that are no record, where every reader stops
};

/// Where each whole record of a record-list file begins.
struct RecordFileIndex {
    std::vector<std::uint64_t> starts;  ///< byte offset of each whole record
    std::uint64_t wholeEnd = 0;         ///< just after the last whole record
    std::uint64_t size = 0;             ///< of the file when indexed
    /// False when the last whole record's last line has no line end (the
    /// file's last byte): an append must end that line first.
    bool lineEnded = true;
    FileTail tail = FileTail::Whole;
    /// 1-based line where the damage begins (Damaged only).
    std::size_t faultLine = 0;
};

/// Indexes the open file `fd` (`size` bytes) a block at a time, as
/// ParseRecordList would read it. Nothing when a read fails, or `progress`
/// stopped it.
[[nodiscard]] std::optional<RecordFileIndex> IndexRecordFile(int fd, std::uint64_t size,
                                                             const SaveProgress& progress = {});

/// The sent or received log: records added during the run wait in memory
/// until Save appends them; the file is indexed when first needed (reading,
/// or the first append of the run, which must find where the whole records
/// end) and kept in step with the appends made here.
///
/// Not thread-safe: nothing else may use the log while a Save of it runs on
/// the runner's thread.
class RecordLog {
  public:
    /// Adds a record for the next Save. It stays in memory, and is written
    /// by a later Save, whatever this one gives.
    void Add(Record record) { pending_.push_back(std::move(record)); }
    /// The records added and not yet written.
    [[nodiscard]] const RecordList& Pending() const { return pending_; }

    /// Appends the pending records to the file at `path` in one write, then
    /// fsync; a missing file is created whole (atomically). An unfinished
    /// record left by a crash is cut off first. A damaged file is moved aside
    /// (KeepDamagedFile, the path to `keptDamaged`) and written again with
    /// its whole records and the pending ones. Asks `onFailure` as
    /// SaveRecordList does; long work (the first index of a large file)
    /// goes to `runner`. A pending record that the format cannot hold (a
    /// line break in a line) is dropped.
    [[nodiscard]] SaveResult Save(const std::filesystem::path& path,
                                  const SaveFailureHandler& onFailure,
                                  const SaveRunner& runner = {},
                                  std::filesystem::path* keptDamaged = nullptr);

    /// The number of whole records of the file at `path` (indexing it when
    /// it changed since last seen); nothing when it cannot be read (0 for a
    /// missing file).
    [[nodiscard]] std::optional<std::size_t> Count(const std::filesystem::path& path);
    /// Record `i` of the file at `path`, read from the disk; nothing when it
    /// cannot be read or `i` is beyond Count.
    [[nodiscard]] std::optional<Record> Read(const std::filesystem::path& path, std::size_t i);
    /// Calls `visit` with the position and the record (nothing for one that
    /// does not read) of each whole record of the file at `path`, in order,
    /// the last `limit` of them, through one open file. Gives the index
    /// (what follows the whole records, and where) or nothing when the file
    /// cannot be read (an empty index for a missing file).
    [[nodiscard]] std::optional<RecordFileIndex> Visit(
        const std::filesystem::path& path, std::size_t limit,
        const std::function<void(std::size_t i, std::optional<Record> record)>& visit);
    /// Writes the file at `path` again without its record `i` (atomically);
    /// every other byte, a damaged tail included, stays as it was. False,
    /// with `why`, when it cannot be read or written, or `i` is beyond Count.
    [[nodiscard]] bool Remove(const std::filesystem::path& path, std::size_t i, std::string& why);

    /// Forgets the pending records and the index.
    void Clear();

  private:
    /// The file as it was when indexed or last written here.
    struct Stamp {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        std::int64_t modifiedNs = 0;
        bool operator==(const Stamp&) const = default;
    };
    enum class Appended { Done, Damaged, Failed };
    /// OpenIndexed's answer for a missing file.
    static constexpr int kMissing = -2;
    [[nodiscard]] static std::optional<Stamp> StampOf(int fd);
    /// Record `i` of the indexed open file `fd`.
    [[nodiscard]] std::optional<Record> ReadIndexed(int fd, std::size_t i) const;
    /// The file opened for reading with the index up to date; kMissing, or
    /// -1 when it cannot be read.
    [[nodiscard]] int OpenIndexed(const std::filesystem::path& path);
    /// Brings the index up to date with the open file `fd`.
    [[nodiscard]] bool Refresh(int fd, const SaveProgress& progress);
    [[nodiscard]] Appended Append(const std::filesystem::path& path, const std::string& bytes,
                                  const std::vector<std::uint64_t>& offsets,
                                  const SaveProgress& progress, std::string& why);
    [[nodiscard]] bool Rewrite(const std::filesystem::path& kept, const std::filesystem::path& path,
                               const std::string& bytes, const SaveProgress& progress,
                               std::string& why);
    void ForgetIndex();

    RecordList pending_;
    std::filesystem::path path_;  ///< the file the index is of
    std::optional<RecordFileIndex> index_;
    Stamp stamp_;
};

}  // namespace quarnel
