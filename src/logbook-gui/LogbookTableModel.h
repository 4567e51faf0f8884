// The logbook's logs as a table: one row per log, every log, in the columns
// the logbook window shows, and the order of each column: dates, durations
// and counts sort as such.
#pragma once

#include "logbook/LogbookEntry.h"
#include "store/DateText.h"

#include <QAbstractTableModel>

#include <vector>

namespace vexa {

class LogbookTableModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { User, Kind, Start, Duration, Scans, Channels, State, Note, Text, ColumnCount };
    static constexpr int IdRole = Qt::UserRole; // the log's id, in every column

    explicit LogbookTableModel(const DateText &dates, QObject *parent = nullptr);

    // Replaces every row.
    void setLogs(std::vector<LogbookEntry> logs);
    const std::vector<LogbookEntry> &logs() const { return m_logs; }
    const LogbookEntry &log(int row) const { return m_logs.at(static_cast<std::size_t>(row)); }
    // -1 when the table has no such log.
    int rowOf(std::int64_t id) const;
    // Whether row `left` comes before row `right` sorted by `column`
    // ascending; ties keep the logbook's order.
    bool sortsBefore(int left, int right, int column) const;
    // One log's note changed, without a reload.
    void setNote(int row, const QString &note);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QVariant shown(const LogbookEntry &log, int column) const;

    DateText m_dates;
    std::vector<LogbookEntry> m_logs;
};

// "Rirod log", "LTrim", "Accel test", "Trouble code"
QString kindName(LogKind kind);

} // namespace vexa
