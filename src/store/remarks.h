// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The holder's remarks on correspondents, kept apart from the correspondent
// records (whose lines must stay as the TA delivered them): a record-list
// file "QuarnelTitR.dat" beside the lists in the key folder, one record of
// three lines per remark (category letter, affiliation number, remark).

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "store/record_list.h"

namespace quarnel {

inline constexpr const char* kRemarksFileName = "QuarnelTitR.dat";
/// Longest remark, in code page 1252 characters.
inline constexpr std::size_t kMaxRemarkLength = 200;
/// Most remarks the file may hold.
inline constexpr std::size_t kMaxRemarks = 20000;
/// Largest remarks file read: kMaxRemarks full remarks and their framing fit.
inline constexpr std::uintmax_t kMaxRemarksFileBytes = 8u << 20;

class Remarks {
  public:
    /// The remark on a correspondent; empty when there is none.
    [[nodiscard]] std::string Get(char category, std::string_view number) const;
    /// Sets the remark (an empty text removes it). False, nothing changed,
    /// for a text or number past kMaxRemarkLength or holding a line break, an
    /// empty number, an unknown category, or a new remark past kMaxRemarks.
    [[nodiscard]] bool Set(char category, std::string_view number, std::string_view text);
    /// Removes the remark; true when there was one.
    bool Erase(char category, std::string_view number);
    [[nodiscard]] std::size_t size() const { return byKey_.size(); }

    /// The file's records, in key order.
    [[nodiscard]] RecordList ToRecords() const;

    /// The file was found damaged when loaded: it is kept aside before the
    /// first save writes over it.
    bool damaged = false;

  private:
    std::map<std::pair<char, std::string>, std::string, std::less<>> byKey_;
};

enum class RemarksLoad {
    Loaded,
    Missing,  ///< no file yet: no remarks
    Damaged,  ///< unreadable, too large or not remarks: no remarks, `damaged` set
};

/// Replaces `remarks` with those of key folder + kRemarksFileName; `reason`
/// says why a file is damaged.
[[nodiscard]] RemarksLoad LoadRemarks(const std::filesystem::path& keyFolder, Remarks& remarks,
                                      std::string* reason = nullptr);

/// Writes the remarks over key folder + kRemarksFileName (atomically, owner
/// only). A file found damaged is first moved aside to
/// "<file>.damaged-yyyymmdd-hhmm" (`keptDamaged`); when it cannot be moved
/// (and the person does not retry) nothing is written.
[[nodiscard]] SaveResult SaveRemarks(Remarks& remarks, const std::filesystem::path& keyFolder,
                                     const SaveFailureHandler& onFailure,
                                     std::filesystem::path* keptDamaged = nullptr);

}  // namespace quarnel
