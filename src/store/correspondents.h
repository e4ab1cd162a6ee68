// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The three correspondent lists, one record per correspondent, by category:
// F employees (QuarnelTitF.dat), D independents (QuarnelTitD.dat), A private
// persons (QuarnelTitA.dat).

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "crypto/records.h"
#include "store/record_list.h"

namespace quarnel {

/// Line numbers of a correspondent record of one category.
struct CorrespondentLayout {
    std::size_t textLines;     ///< 11 (A) or 13 (D, F): lines covered by the record check
    std::size_t numberLine;    ///< affiliation number, the record's key
    std::size_t digitLine;     ///< key generation digit
    std::size_t versionLine;   ///< version code
    std::size_t flagLine;      ///< registration flag
    std::size_t dateLine;      ///< affiliation date "dd/mm/yyyy"
    std::size_t firstKeyLine;  ///< first of the four key lines
    std::size_t lineCount;     ///< 15 (A) or 17 (D, F)
};

/// The layout of category A, D or F; nothing for any other letter.
std::optional<CorrespondentLayout> LayoutFor(char category);

/// "QuarnelTitA.dat" and so on; empty for another letter.
std::string CorrespondentFileName(char category);

struct CorrespondentLists {
    RecordList a;
    RecordList d;
    RecordList f;

    /// Lists found altered at start-up ("ADF" letters): empty in memory while
    /// their file is still on disk, to be kept aside before it is written over.
    std::string damaged;

    RecordList* ForCategory(char category);
    const RecordList* ForCategory(char category) const;
    std::size_t Total() const { return a.size() + d.size() + f.size(); }
    bool AnyNonEmpty() const { return Total() > 0; }
    void MarkDamaged(char category);
    bool IsDamaged(char category) const;
};

/// Every record has the category's line count and four upper-case 32-digit key
/// lines; the text lines are not tested. An empty list passes.
[[nodiscard]] bool CheckCorrespondentList(const RecordList& list, char category,
                                          std::vector<std::string>* problems = nullptr);
[[nodiscard]] bool CheckCorrespondentRecord(const Record& record, char category,
                                            std::string* problem = nullptr);

/// Index of the first record whose affiliation number equals `number`, or -1.
int FindCorrespondent(const CorrespondentLists& lists, char category, std::string_view number);

/// Replaces the record of the same affiliation number (the new one goes to the
/// end) or appends it, then saves the list file in `keyFolder`. A record that
/// does not fit the category is refused and nothing changes.
[[nodiscard]] SaveResult StoreCorrespondent(CorrespondentLists& lists, char category, Record record,
                                            const std::filesystem::path& keyFolder,
                                            const SaveFailureHandler& onFailure,
                                            std::filesystem::path* keptDamaged = nullptr,
                                            const SaveRunner& runner = {});

/// Removes record `index`, saves the list file, frees the record.
[[nodiscard]] SaveResult DeleteCorrespondent(CorrespondentLists& lists, char category,
                                             std::size_t index,
                                             const std::filesystem::path& keyFolder,
                                             const SaveFailureHandler& onFailure,
                                             std::filesystem::path* keptDamaged = nullptr,
                                             const SaveRunner& runner = {});

/// Saves the list of one category into `keyFolder`. The file of a list found
/// damaged is first moved aside to "<file>.damaged-yyyymmdd-hhmm", whose path
/// goes to `keptDamaged`; when it cannot be moved (and the person does not
/// retry) nothing is written. A large list is written with `runner`.
[[nodiscard]] SaveResult SaveCorrespondentList(CorrespondentLists& lists, char category,
                                               const std::filesystem::path& keyFolder,
                                               const SaveFailureHandler& onFailure,
                                               std::filesystem::path* keptDamaged = nullptr,
                                               const SaveRunner& runner = {});

}  // namespace quarnel
