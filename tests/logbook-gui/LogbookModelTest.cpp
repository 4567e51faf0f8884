// The logbook window's table without a window: what each column shows, how
// each sorts (dates and numbers as such), what the filter lets through, and a
// selection that outlives a reload.
#include "support/QtPrinters.h"

#include "logbook-gui/KeptSelection.h"
#include "logbook-gui/LogbookFilterModel.h"
#include "logbook-gui/LogbookTableModel.h"

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

LogbookEntry entry(std::int64_t id, const char *user, LogKind kind, const char *start, int scans,
                   LogState state, const char *text, const char *note, const char *channels,
                   const char *damage = "")
{
    LogbookEntry e;
    e.id = id;
    e.userName = QString::fromUtf8(user);
    e.kind = kind;
    e.start = QString::fromLatin1(start);
    e.scanCount = scans;
    e.durationMs = scans * 1000;
    e.state = state;
    e.text = QString::fromUtf8(text);
    e.note = QString::fromUtf8(note);
    e.channels = QString::fromLatin1(channels);
    e.damage = QString::fromLatin1(damage);
    return e;
}

// Dates whose text sorts otherwise than their time, counts whose digits do.
std::vector<LogbookEntry> fiveLogs()
{
    return {
        entry(1, "Jo", LogKind::Rirod, "2004-12-01T09:00:00", 9, LogState::OnHandheld,
              "highway\r\nrun 1", "", "15 2 9"),
        entry(2, "Al", LogKind::LTrim, "2005-01-02T10:00:00", 0, LogState::Deleted, "trim",
              "Dyno day\nsecond run", ""),
        entry(3, "Jo", LogKind::Rirod, "2005-01-02T08:30:00", 100, LogState::PutBack, "city", "",
              "15"),
        entry(4, "Al", LogKind::Rirod, "2004-03-07T12:00:00", 10, LogState::Gone, "Highway 2", "",
              "15 2"),
        entry(5, "Jo", LogKind::TroubleCode, "", 0, LogState::OnHandheld, "", "", "",
              "its kind (9) is none the program knows"),
    };
}

struct Table {
    Table() : model(DateText(QLocale(QLocale::English, QLocale::UnitedStates))), shown(model)
    {
        model.setLogs(fiveLogs());
    }
    std::vector<std::int64_t> ids() const
    {
        std::vector<std::int64_t> ids;
        for (int row = 0; row < shown.rowCount(); ++row)
            ids.push_back(shown.idAt(shown.index(row, 0)));
        return ids;
    }
    QString row(int source) const
    {
        QStringList cells;
        for (int column = 0; column < LogbookTableModel::ColumnCount; ++column)
            cells << model.index(source, column).data().toString();
        return cells.join(QLatin1Char('|'));
    }

    LogbookTableModel model;
    LogbookFilterModel shown;
};

TEST(LogbookTable, EveryColumnAsShown)
{
    const Table t;
    const QStringList rows = {
        "Jo|Rirod log|12/1/2004 9:00:00 AM|0:00:09.00|9|3|On handheld||highway",
        "Al|LTrim|1/2/2005 10:00:00 AM|0:00:00.00|0|0|Deleted|Dyno day|trim",
        "Jo|Rirod log|1/2/2005 8:30:00 AM|0:01:40.00|100|1|Put back||city",
        "Al|Rirod log|3/7/2004 12:00:00 PM|0:00:10.00|10|2|Gone||Highway 2",
        "Jo|Trouble code||0:00:00.00|0|0|On handheld||Can't be read: its kind (9) is none the "
        "program knows",
    };
    for (int row = 0; row < int(rows.size()); ++row)
        EXPECT_EQ(t.row(row), rows[row]);
    EXPECT_EQ(t.model.index(0, LogbookTableModel::Channels).data(Qt::ToolTipRole).toString(),
              "RPM, ECT, MAP");
}

TEST(LogbookTable, EachColumnSortsByWhatItMeans)
{
    const struct {
        LogbookTableModel::Column column;
        Qt::SortOrder order;
        std::vector<std::int64_t> ids;
    } cases[] = {
        {LogbookTableModel::Start, Qt::AscendingOrder, {5, 4, 1, 3, 2}},
        {LogbookTableModel::Start, Qt::DescendingOrder, {2, 3, 1, 4, 5}},
        {LogbookTableModel::Scans, Qt::DescendingOrder, {3, 4, 1, 2, 5}},
        {LogbookTableModel::Duration, Qt::AscendingOrder, {2, 5, 1, 4, 3}},
        {LogbookTableModel::Channels, Qt::DescendingOrder, {1, 4, 3, 2, 5}},
        {LogbookTableModel::Text, Qt::AscendingOrder, {5, 3, 1, 4, 2}},
        {LogbookTableModel::State, Qt::AscendingOrder, {1, 5, 2, 4, 3}},
        {LogbookTableModel::Kind, Qt::DescendingOrder, {5, 2, 1, 3, 4}},
        {LogbookTableModel::User, Qt::AscendingOrder, {2, 4, 1, 3, 5}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "column " << c.column << " order " << c.order);
        Table t;
        t.shown.sort(c.column, c.order);
        EXPECT_EQ(t.ids(), c.ids);
    }
}

TEST(LogbookTable, TheFilterLetsThroughWhatTheLogbookDoesAndDamageAlways)
{
    const struct {
        LogFilter filter;
        std::vector<std::int64_t> ids;
    } cases[] = {
        {{}, {1, 2, 3, 4, 5}},
        {{{}, {}, {}, {}, "HIGHWAY", {}}, {1, 4, 5}},
        {{{}, {}, {}, {}, "second run", {}}, {2, 5}},
        {{LogKind::Rirod, {}, {}, {}, {}, {}}, {1, 3, 4, 5}},
        {{{}, "Al", {}, {}, {}, {}}, {2, 4, 5}},
        {{{}, {}, {}, {}, {}, LogState::Gone}, {4, 5}},
        {{{}, {}, QDate(2005, 1, 2), {}, {}, {}}, {2, 3, 5}},
        {{{}, {}, {}, QDate(2004, 12, 1), {}, {}}, {1, 4, 5}},
        {{LogKind::Rirod, "Jo", QDate(2004, 1, 1), QDate(2005, 12, 31), "i", {}}, {1, 3, 5}},
    };
    for (const auto &c : cases) {
        Table t;
        t.shown.setLogFilter(c.filter);
        EXPECT_EQ(t.ids(), c.ids) << c.filter.search.toStdString();
    }
}

TEST(LogbookTable, AReloadKeepsTheSelectionByLog)
{
    const struct {
        const char *what;
        std::vector<std::int64_t> reloaded; // of fiveLogs(), in this order
        std::vector<std::int64_t> selected;
        std::int64_t current;
    } cases[] = {
        {"the same logs", {1, 2, 3, 4, 5}, {1, 3}, 3},
        {"the logs in another order, one more", {5, 3, 4, 2, 1}, {1, 3}, 3},
        {"the current log gone", {1, 2, 4, 5}, {1}, 0},
        {"every selected log gone", {2, 4, 5}, {}, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Table t;
        t.shown.sort(LogbookTableModel::Start, Qt::AscendingOrder);
        QItemSelectionModel selection(&t.shown);
        selection.select(t.shown.indexOf(1),
                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
        selection.setCurrentIndex(t.shown.indexOf(3),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
        const KeptSelection kept = KeptSelection::of(selection);
        EXPECT_EQ(kept.ids, (std::vector<std::int64_t>{1, 3}));
        std::vector<LogbookEntry> logs;
        for (const std::int64_t id : c.reloaded)
            logs.push_back(fiveLogs().at(static_cast<std::size_t>(id - 1)));
        t.model.setLogs(logs);
        kept.restore(selection);
        const KeptSelection now = KeptSelection::of(selection);
        EXPECT_EQ(now.ids, c.selected);
        EXPECT_EQ(now.current, c.current);
        // Whole rows, every column.
        EXPECT_EQ(selection.selectedIndexes().size(),
                  c.selected.size() * LogbookTableModel::ColumnCount);
    }
}

} // namespace
} // namespace vexa::test
