// The logbook table as filtered and sorted for the window: the logbook's own
// filter decides which logs show, and a damaged row shows whatever the filter,
// as the logbook lists it.
#pragma once

#include "logbook/LogbookEntry.h"

#include <QSortFilterProxyModel>

namespace vexa {

class LogbookTableModel;

class LogbookFilterModel final : public QSortFilterProxyModel {
    Q_OBJECT

public:
    explicit LogbookFilterModel(LogbookTableModel &table, QObject *parent = nullptr);

    void setLogFilter(const LogFilter &filter);
    const LogFilter &logFilter() const { return m_filter; }
    // The row showing the log; invalid when none does.
    QModelIndex indexOf(std::int64_t id) const;
    std::int64_t idAt(const QModelIndex &index) const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;
    // The table's own order, without a value made per comparison.
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    LogbookTableModel &m_table;
    LogFilter m_filter;
};

} // namespace vexa
