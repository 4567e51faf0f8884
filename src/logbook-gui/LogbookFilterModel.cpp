#include "LogbookFilterModel.h"

#include "LogbookTableModel.h"

namespace vexa {

LogbookFilterModel::LogbookFilterModel(LogbookTableModel &table, QObject *parent)
    : QSortFilterProxyModel(parent), m_table(table)
{
    setSourceModel(&table);
}

void LogbookFilterModel::setLogFilter(const LogFilter &filter)
{
    m_filter = filter;
    invalidateFilter();
}

QModelIndex LogbookFilterModel::indexOf(std::int64_t id) const
{
    const int row = m_table.rowOf(id);
    return row < 0 ? QModelIndex() : mapFromSource(m_table.index(row, 0));
}

std::int64_t LogbookFilterModel::idAt(const QModelIndex &index) const
{
    return index.data(LogbookTableModel::IdRole).toLongLong();
}

bool LogbookFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    const LogbookEntry &log = m_table.log(sourceRow);
    return !log.damage.isEmpty() || m_filter.admits(log);
}

bool LogbookFilterModel::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    return m_table.sortsBefore(left.row(), right.row(), left.column());
}

} // namespace vexa
