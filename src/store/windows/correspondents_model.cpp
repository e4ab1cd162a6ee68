// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/windows/correspondents_model.h"

#include <QCollator>
#include <QFont>

#include "windowkit/window_kit.h"

namespace quarnel::ui {

CorrespondentsModel::CorrespondentsModel(QObject* parent) : QAbstractTableModel(parent) {}

void CorrespondentsModel::Show(const RecordList& list, char category, int keyColumn,
                               const std::string& filter) {
    beginResetModel();
    list_ = &list;
    category_ = category;
    keyColumn_ = keyColumn;
    columns_ = GridColumns(category);
    // One sort key per record: the sort compares keys, not texts. The text
    // is case-folded first because in the C locale Qt's keys ignore the
    // collator's case setting (its comparison does not).
    QCollator collator;  // the user's locale
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    const std::size_t line = LineOfColumn(category, keyColumn);
    keys_.clear();
    keys_.reserve(list.size());
    for (const Record& r : list) {
        keys_.push_back(
            collator.sortKey(line < r.size() ? FromCp1252(r[line]).toCaseFolded() : QString()));
    }
    rows_.Arrange(list, category, keyColumn,
                  [this](std::size_t a, std::size_t b) { return keys_[a].compare(keys_[b]) < 0; });
    if (!filter.empty()) rows_.Filter(list, filter);
    endResetModel();
}

void CorrespondentsModel::Filter(const std::string& filter) {
    if (!list_) return;
    beginResetModel();
    rows_.Filter(*list_, filter);
    endResetModel();
}

void CorrespondentsModel::Removed(std::size_t index) {
    if (!list_ || index >= keys_.size()) return;
    beginResetModel();
    keys_.erase(keys_.begin() + std::ptrdiff_t(index));
    rows_.Removed(index);
    endResetModel();
}

void CorrespondentsModel::Clear() {
    beginResetModel();
    list_ = nullptr;
    keys_ = {};
    rows_.Clear();
    endResetModel();
}

void CorrespondentsModel::SetTitles(const QStringList& titles) {
    titles_ = titles;
    if (columns_ > 0) Q_EMIT headerDataChanged(Qt::Horizontal, 0, columns_ - 1);
}

int CorrespondentsModel::RecordOf(int row) const {
    const std::vector<std::size_t>& shown = rows_.Shown();
    return row >= 0 && std::size_t(row) < shown.size() ? int(shown[std::size_t(row)]) : -1;
}

int CorrespondentsModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !list_) return 0;
    return ShownCount() == 0 ? 1 : int(ShownCount());
}

int CorrespondentsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

QVariant CorrespondentsModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    const int record = RecordOf(index.row());
    // A save of the list may let the view paint between a deletion and
    // Removed: a row beyond the list shows nothing.
    if (record < 0 || !list_ || std::size_t(record) >= list_->size()) return QString();
    const Record& r = (*list_)[std::size_t(record)];
    const std::size_t line = LineOfColumn(category_, index.column());
    // The tooltip: a cut text is still readable.
    return line < r.size() ? FromCp1252(r[line]) : QString();
}

QVariant CorrespondentsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) return {};
    if (role == Qt::DisplayRole) return titles_.value(section);
    if (role == Qt::FontRole && section == keyColumn_) {
        // The key column's title stands out.
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    return {};
}

Qt::ItemFlags CorrespondentsModel::flags(const QModelIndex& index) const {
    // The empty row of a filter that matches nothing cannot be chosen.
    if (RecordOf(index.row()) < 0) return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace quarnel::ui
