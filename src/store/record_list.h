#pragma once
// Record-list files: for each record a count line (line count + 1, 8
// upper-case hexadecimal digits), its lines, and a closing line of one blank;
// CR LF line ends, code page 1252 text.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "crypto/records.h"

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

/// Writes the whole list over the file (atomically); asks `onFailure` when the
/// write fails.
[[nodiscard]] SaveResult SaveRecordList(const RecordList& list, const std::filesystem::path& path,
                                        const SaveFailureHandler& onFailure);

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

/// Writes `bytes` atomically, asking `onFailure` as SaveRecordList does.
[[nodiscard]] SaveResult SaveBytesWithRetry(const std::filesystem::path& path,
                                            std::string_view bytes,
                                            const SaveFailureHandler& onFailure);

}  // namespace quarnel
