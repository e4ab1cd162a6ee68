#include "store/list_view.h"

#include <algorithm>

#include "store/correspondents.h"

namespace quarnel {

int GridColumns(char category) {
    const auto layout = LayoutFor(category);
    return layout ? int(layout->numberLine) + 2 : 0;
}

std::size_t LineOfColumn(char category, int column) {
    const auto layout = LayoutFor(category);
    if (layout && column == int(layout->numberLine) + 1) return layout->dateLine;
    return std::size_t(column);
}

std::vector<int> ColumnWidths(char category) {
    if (category == 'A') return {93, 73, 74, 74, 74, 160, 73, 80};
    if (category == 'D' || category == 'F') return {74, 66, 80, 60, 60, 60, 60, 160, 73, 80};
    return {};
}

FilterRule FilterRuleFor(char category, int keyColumn) {
    const auto layout = LayoutFor(category);
    if (!layout) return {};
    if (keyColumn == int(layout->numberLine)) return {false, 11};
    const bool lower = category == 'A' ? keyColumn == 1 || keyColumn == 5
                                       : keyColumn == 1 || keyColumn == 3 || keyColumn == 7;
    return {lower, 0};
}

std::vector<std::size_t> ShownRows(const RecordList& list, char category, int keyColumn,
                                   std::string_view filter, const KeyLess& less) {
    const std::size_t line = LineOfColumn(category, keyColumn);
    static const std::string kNone;
    auto keyOf = [&](std::size_t i) -> const std::string& {
        return line < list[i].size() ? list[i][line] : kNone;
    };
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (keyOf(i).compare(0, filter.size(), filter) == 0) rows.push_back(i);
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [&](std::size_t a, std::size_t b) { return less(keyOf(a), keyOf(b)); });
    return rows;
}

ListButtons ListButtonsFor(std::size_t shown, std::size_t total, bool remarkEdited) {
    return {shown != total && !remarkEdited, shown > 0 && !remarkEdited, remarkEdited};
}

}  // namespace quarnel
