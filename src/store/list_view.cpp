// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/list_view.h"

#include <algorithm>
#include <numeric>

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

void ListRows::Arrange(const RecordList& list, char category, int keyColumn,
                       const RecordLess& less) {
    line_ = LineOfColumn(category, keyColumn);
    order_.resize(list.size());
    std::iota(order_.begin(), order_.end(), std::size_t(0));
    std::stable_sort(order_.begin(), order_.end(), less);
    shown_ = order_;
}

void ListRows::Filter(const RecordList& list, std::string_view filter) {
    shown_.clear();
    for (const std::size_t i : order_) {
        const Record& r = list[i];
        if (filter.empty() || (line_ < r.size() && r[line_].compare(0, filter.size(), filter) == 0))
            shown_.push_back(i);
    }
}

void ListRows::Removed(std::size_t index) {
    for (std::vector<std::size_t>* rows : {&order_, &shown_}) {
        std::erase(*rows, index);
        for (std::size_t& i : *rows)
            if (i > index) --i;
    }
}

void ListRows::Clear() {
    order_ = {};
    shown_ = {};
}

ListButtons ListButtonsFor(std::size_t shown, std::size_t total, bool remarkEdited) {
    return {shown != total && !remarkEdited, shown > 0 && !remarkEdited, remarkEdited};
}

}  // namespace quarnel
