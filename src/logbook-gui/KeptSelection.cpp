#include "KeptSelection.h"

#include "LogbookTableModel.h"

#include <QHash>

#include <algorithm>

namespace vexa {

namespace {

std::int64_t idOf(const QModelIndex &index)
{
    return index.data(LogbookTableModel::IdRole).toLongLong();
}

} // namespace

KeptSelection KeptSelection::of(const QItemSelectionModel &selection)
{
    KeptSelection kept;
    for (const QModelIndex &row : selection.selectedRows())
        kept.ids.push_back(idOf(row));
    if (selection.currentIndex().isValid())
        kept.current = idOf(selection.currentIndex());
    return kept;
}

void KeptSelection::restore(QItemSelectionModel &selection) const
{
    const QAbstractItemModel *model = selection.model();
    QHash<std::int64_t, int> rowOfId;
    for (int row = 0, n = model->rowCount(); row < n; ++row)
        rowOfId.insert(idOf(model->index(row, 0)), row);
    std::vector<int> rows;
    for (const std::int64_t id : ids)
        if (const auto found = rowOfId.constFind(id); found != rowOfId.cend())
            rows.push_back(*found);
    std::sort(rows.begin(), rows.end());
    // Runs of rows as ranges: a selection of thousands stays quick.
    QItemSelection runs;
    const int lastColumn = model->columnCount() - 1;
    for (std::size_t i = 0; i < rows.size();) {
        std::size_t end = i;
        while (end + 1 < rows.size() && rows[end + 1] == rows[end] + 1)
            ++end;
        runs.select(model->index(rows[i], 0), model->index(rows[end], lastColumn));
        i = end + 1;
    }
    if (const auto found = rowOfId.constFind(current); current != 0 && found != rowOfId.cend())
        selection.setCurrentIndex(model->index(*found, 0), QItemSelectionModel::NoUpdate);
    selection.select(runs, QItemSelectionModel::ClearAndSelect);
}

} // namespace vexa
