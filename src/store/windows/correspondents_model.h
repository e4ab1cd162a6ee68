// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The correspondents window's grid as a model over one list: the records are
// put in the order of the key column once (the user's collation, compared
// through sort keys made once per record), a keystroke only picks rows from
// that order, and the view asks for the cells it draws. When nothing is
// shown there is one empty row that cannot be selected.

#include <QAbstractTableModel>
#include <QCollatorSortKey>
#include <QStringList>
#include <string>
#include <vector>

#include "store/list_view.h"

namespace quarnel::ui {

class CorrespondentsModel final : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit CorrespondentsModel(QObject* parent = nullptr);

    /// Shows `list` of `category` ordered by `keyColumn`, filtered by
    /// `filter` (code page 1252). The list must outlive the model's use of it.
    void Show(const RecordList& list, char category, int keyColumn, const std::string& filter);
    /// Picks the rows again for another filter.
    void Filter(const std::string& filter);
    /// Record `index` left the list.
    void Removed(std::size_t index);
    /// Frees the rows and the sort keys; no list is shown.
    void Clear();
    /// The column titles, the key column's drawn as such.
    void SetTitles(const QStringList& titles);

    /// The list index of the record on `row`, or -1.
    [[nodiscard]] int RecordOf(int row) const;
    [[nodiscard]] std::size_t ShownCount() const { return rows_.Shown().size(); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    const RecordList* list_ = nullptr;
    char category_ = 'F';
    int keyColumn_ = 0;
    int columns_ = 0;
    QStringList titles_;
    ListRows rows_;
    std::vector<QCollatorSortKey> keys_;  ///< by list index, of the key column
};

}  // namespace quarnel::ui
