// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the correspondents window shows of one list: the rows whose key
// column begins with the filter, sorted, the filter edit's rules for the key
// column, and which buttons may be used.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "crypto/records.h"

namespace quarnel {

/// Columns of the grid for a category: the record's text lines up to the
/// affiliation number (7 for A, 9 for D and F), then the affiliation date.
[[nodiscard]] int GridColumns(char category);
/// The record line shown in a column.
[[nodiscard]] std::size_t LineOfColumn(char category, int column);
/// The least width of each column, in pixels.
[[nodiscard]] std::vector<int> ColumnWidths(char category);

/// How the filter edit takes text for a key column.
struct FilterRule {
    bool lowerCase = false;  ///< forced to lower case, else to upper case
    int maxLength = 0;       ///< 0: no limit
    bool operator==(const FilterRule&) const = default;
};
[[nodiscard]] FilterRule FilterRuleFor(char category, int keyColumn);

/// True when record `a` sorts before record `b` by their key column (the
/// window gives the user's collation).
using RecordLess = std::function<bool(std::size_t a, std::size_t b)>;

/// The rows of the correspondents window: the records of a list put in the
/// order of the key column once, then picked by the beginning of that
/// column, so that a keystroke walks the order and sorts nothing.
class ListRows {
  public:
    /// Orders the records of `list` by `less` (ties keep list order) and
    /// shows them all.
    void Arrange(const RecordList& list, char category, int keyColumn, const RecordLess& less);
    /// Shows, in that order, the records whose line at the key column begins
    /// with `filter` (exact comparison).
    void Filter(const RecordList& list, std::string_view filter);
    /// Record `index` left the list: its row goes, the later indices move up.
    void Removed(std::size_t index);
    /// Frees the order and the rows.
    void Clear();

    /// Indices into the list of the records shown, in row order.
    [[nodiscard]] const std::vector<std::size_t>& Shown() const { return shown_; }

  private:
    std::size_t line_ = 0;
    std::vector<std::size_t> order_;
    std::vector<std::size_t> shown_;
};

/// The buttons of the correspondents window.
struct ListButtons {
    bool listes = false;    ///< "&Listes"
    bool actions = false;   ///< "Correspondre", "&Supprimer", "&Mettre à jour"
    bool remarque = false;  ///< "Sauver"
    bool operator==(const ListButtons&) const = default;
};
[[nodiscard]] ListButtons ListButtonsFor(std::size_t shown, std::size_t total, bool remarkEdited);

}  // namespace quarnel
