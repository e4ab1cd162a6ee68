// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Record-list files: for each record a count line (line count + 1, 8
// upper-case hexadecimal digits), its lines, and a closing line of one blank;
// CR LF line ends, code page 1252 text.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "crypto/records.h"
#include "store/atomic_file.h"

namespace quarnel {

/// Where and why a record-list file failed to load.
struct LoadError {
    bool missing = false;  ///< the file does not exist or cannot be read
    std::size_t line = 0;  ///< 1-based line of the file where reading stopped
    std::string reason;
};

/// Appends the records of `bytes` to `list`. Records read before a fault stay
/// in the list.
[[nodiscard]] bool ParseRecordList(std::string_view bytes, RecordList& list,
                                   LoadError* error = nullptr);
/// ParseRecordList of the file; false (list unchanged) when it is missing.
[[nodiscard]] bool LoadRecordList(const std::filesystem::path& path, RecordList& list,
                                  LoadError* error = nullptr);

/// The file bytes of the list; nothing when a line holds a line break (the
/// format could not read it back).
std::optional<std::string> SerializeRecordList(const RecordList& list);

/// The person's answer to a failed save: Retry writes again, Ignore gives up
/// silently, Abort gives up and abandons the operation that asked.
enum class SaveChoice { Abort, Retry, Ignore };
using SaveFailureHandler =
    std::function<SaveChoice(const std::filesystem::path& path, const std::string& reason)>;

enum class SaveResult {
    Saved,
    Ignored,  ///< the write failed and the person chose Ignore (or nobody was asked)
    Aborted,  ///< the write failed and the person chose Abort
    Refused,  ///< the data cannot be written in this format; nothing was written
};

/// The file work of a save, free of the caller's data (it may run on another
/// thread): true when done.
using SaveWork = std::function<bool(const SaveProgress& progress)>;
/// Runs file work that may take long where the window keeps serving its
/// events (the window layer's long-work runner) and gives the work's result.
/// Unset: the work runs on the caller's thread.
using SaveRunner = std::function<bool(const std::filesystem::path& file, const SaveWork& work)>;

/// File work of this many bytes (written or read) goes to the runner: a
/// write and its fsync this large may outlast a frame of the window.
inline constexpr std::uint64_t kSaveAwayBytes = std::uint64_t(1) << 20;

/// Runs `work` with `runner` when it moves at least kSaveAwayBytes, else here.
[[nodiscard]] bool RunSaveWork(const SaveRunner& runner, const std::filesystem::path& file,
                               std::uint64_t bytes, const SaveWork& work);

/// Writes the whole list over the file (atomically); asks `onFailure` when the
/// write fails. A large list is written with `runner`, from a copy made here.
[[nodiscard]] SaveResult SaveRecordList(const RecordList& list, const std::filesystem::path& path,
                                        const SaveFailureHandler& onFailure,
                                        const SaveRunner& runner = {});

/// Overwrites every line in place with random hexadecimal text (same length).
void WipeRecordList(RecordList& list);

/// Frees every record; with `wipe`, every line is first overwritten with
/// random hexadecimal text.
void FreeRecordList(RecordList& list, bool wipe);

/// Before a file read as damaged is written over: moves it aside under a
/// dated name (what it held may still be read by hand), asking `onFailure`
/// while that fails. Nothing when the save may go on, else how it ended.
[[nodiscard]] std::optional<SaveResult> KeepDamagedFile(const std::filesystem::path& file,
                                                        const SaveFailureHandler& onFailure,
                                                        std::filesystem::path* kept);

/// Writes `bytes` atomically, asking `onFailure` as SaveRecordList does;
/// large ones with `runner`.
[[nodiscard]] SaveResult SaveBytesWithRetry(const std::filesystem::path& path,
                                            std::string_view bytes,
                                            const SaveFailureHandler& onFailure,
                                            const SaveRunner& runner = {});

}  // namespace quarnel
