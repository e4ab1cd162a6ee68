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

/// True when `a` sorts before `b` (the window gives the user's collation).
using KeyLess = std::function<bool(const std::string& a, const std::string& b)>;

/// Indices into `list` of the records whose line at the key column begins
/// with `filter` (exact comparison), sorted by that line (ties keep list
/// order).
[[nodiscard]] std::vector<std::size_t> ShownRows(const RecordList& list, char category,
                                                 int keyColumn, std::string_view filter,
                                                 const KeyLess& less);

/// The buttons of the correspondents window.
struct ListButtons {
    bool listes = false;    ///< "&Listes"
    bool actions = false;   ///< "Correspondre", "&Supprimer", "&Mettre à jour"
    bool remarque = false;  ///< "Sauver"
    bool operator==(const ListButtons&) const = default;
};
[[nodiscard]] ListButtons ListButtonsFor(std::size_t shown, std::size_t total, bool remarkEdited);

}  // namespace quarnel
