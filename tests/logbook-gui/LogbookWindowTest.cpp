// The logbook window driven headless over a pulled test handheld: filter,
// sort, the description as the main window gives it, the note saved in
// place, put back by docked user, another program's write, showLog.
#include "support/LogbookFixture.h"
#include "support/MemorySettings.h"

#include "analysis-gui/TableWindow.h"
#include "logbook-gui/LogbookFilterBar.h"
#include "logbook-gui/LogbookFilterModel.h"
#include "logbook-gui/LogbookTableModel.h"
#include "logbook-gui/LogbookWindow.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

namespace vexa::test {
namespace {

class WindowOverLogbook : public LogbookFixture {
public:
    WindowOverLogbook() { pull(); }
    LogbookWindow &window()
    {
        if (!m_window)
            m_window = std::make_unique<LogbookWindow>(
                path(), f.sync, f.ui, settings, QLocale(QLocale::English, QLocale::UnitedStates));
        return *m_window;
    }
    template <typename T> T *control(const char *name)
    {
        T *c = window().findChild<T *>(QLatin1String(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QStringList column(int column)
    {
        const QAbstractItemModel &shown = window().shownLogs();
        QStringList cells;
        for (int row = 0; row < shown.rowCount(); ++row)
            cells << shown.index(row, column).data().toString();
        return cells;
    }
    void selectRow(int row)
    {
        QTableView *table = window().table();
        table->setFocus();
        table->selectionModel()->setCurrentIndex(table->model()->index(row, 0),
                                                 QItemSelectionModel::ClearAndSelect |
                                                     QItemSelectionModel::Rows);
    }
    // Shown and active, so that focus moves as the user's clicks move it.
    void show()
    {
        window().show();
        window().activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window()));
    }
    QString status() { return window().statusBar()->currentMessage(); }
    bool enabled(const char *action) { return control<QAction>(action)->isEnabled(); }

    MemorySettings settings;

private:
    std::unique_ptr<LogbookWindow> m_window;
};

TEST(LogbookWindow, FilterSortDescribeNote)
{
    WindowOverLogbook w;
    w.show();
    EXPECT_EQ(w.window().windowTitle(), "VEXA Logbook");
    EXPECT_EQ(w.column(LogbookTableModel::Text),
              (QStringList{"A", "A", "B", "trim", "accel", "P0171"}));
    EXPECT_EQ(w.status(), "6 logs.");
    EXPECT_EQ(w.control<QLabel>("dockingStatus")->text(),
              "Docked: " + QString::fromStdString(w.f.handheld.user().name));

    // A keystroke filters; the header sorts.
    QTest::keyClicks(w.window().filterBar()->searchBox(), "a");
    EXPECT_EQ(w.column(LogbookTableModel::Text), (QStringList{"A", "A", "accel"}));
    EXPECT_EQ(w.status(), "6 logs, 3 shown.");
    QHeaderView *header = w.window().table()->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(LogbookTableModel::Kind) + 5, 5));
    EXPECT_EQ(w.column(LogbookTableModel::Kind),
              (QStringList{"Rirod log", "Rirod log", "Accel test"}));
    w.window().filterBar()->clear();
    const QPoint scans(header->sectionViewportPosition(LogbookTableModel::Scans) + 5, 5);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, scans);
    EXPECT_EQ(w.column(LogbookTableModel::Scans), (QStringList{"0", "0", "0", "10", "10", "20"}));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, scans);
    EXPECT_EQ(w.column(LogbookTableModel::Scans), (QStringList{"20", "10", "10", "0", "0", "0"}));

    // B, described as the main window describes its list line.
    w.selectRow(0);
    QString described = logDescription(w.f.entry(1), LogKind::Rirod, w.f.dates);
    EXPECT_EQ(w.control<QPlainTextEdit>("description")->toPlainText(),
              described.replace("\r\n", "\n"));
    EXPECT_TRUE(w.enabled("actionPlot"));

    // The note is saved when the editor loses the focus.
    auto *note = w.control<QPlainTextEdit>("noteEditor");
    note->setFocus();
    QTest::keyClicks(note, "dyno");
    w.window().table()->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(Logbook(w.path(), Logbook::Access::ReadOnly).log(2).note, "dyno");
    EXPECT_EQ(w.column(LogbookTableModel::Note).value(0), "dyno");

    // Another program's note shows at the next look, B still selected.
    Logbook(w.path()).setNote(1, "from the tool");
    w.window().lookAgain();
    EXPECT_EQ(w.window().selectedLogs().size(), 1u);
    EXPECT_EQ(w.window().selectedLogs().front().id, 2);
    EXPECT_TRUE(w.column(LogbookTableModel::Note).contains("from the tool"));
}

TEST(LogbookWindow, TableOpensOnTheSelectedRirodLogsOrTheirUsers)
{
    WindowOverLogbook w;
    w.show();
    const QString user = QString::fromStdString(w.f.handheld.user().name);
    const QString lacking = "Left out: log 2: lacks MAP, ECT";
    const struct {
        int row; // -1: none selected
        QString title, leftOut;
    } rows[] = {{-1, "Table - all logs", lacking},
                {0, "Table - log 1", ""},
                {3, "Table - logs of " + user, lacking}};
    for (const auto &r : rows) {
        w.window().table()->clearSelection();
        if (r.row >= 0)
            w.selectRow(r.row);
        w.control<QAction>("actionTable")->trigger();
        auto tables = w.window().findChildren<TableWindow *>();
        ASSERT_EQ(tables.size(), 1);
        TableWindow *table = tables.front();
        EXPECT_EQ(table->windowTitle(), r.title);
        EXPECT_EQ(table->leftOut()->text().isEmpty(), r.leftOut.isEmpty()); // made at once
        table->setChannels("RPM", "MAP", "ECT");
        table->setMinHits(1);
        table->makeTable();
        EXPECT_EQ(table->message()->text(), "");
        EXPECT_EQ(table->leftOut()->text(), r.leftOut);
        EXPECT_GT(table->grid()->rowCount(), 0);
        delete table;
    }
}

TEST(LogbookWindow, PutBackFollowsTheDockedUser)
{
    WindowOverLogbook w;
    w.show();
    w.selectRow(0);
    EXPECT_TRUE(w.enabled("actionPutBack"));
    EXPECT_TRUE(w.enabled("actionPull"));
    EXPECT_TRUE(w.enabled("actionSave"));

    // A log still on the handheld is refused, with the restore's reason.
    w.f.ui.answers = {true};
    w.control<QAction>("actionPutBack")->trigger();
    ASSERT_EQ(w.f.ui.prompts.size(), 2u);
    EXPECT_EQ(w.f.ui.prompts[0].text, "Put this log back on " +
                                          QString::fromStdString(w.f.handheld.user().name) +
                                          "'s handheld?\n\n3/7/2004 12:00:00 PM - A");
    EXPECT_EQ(w.f.ui.prompts[1].text,
              "0 of 1 logs put back on the handheld.\n\n3/7/2004 12:00:00 PM - A: "
              "it is still on the handheld");

    // Pull now takes in what the handheld got since.
    w.f.handheld.add("LTrimLog", {textLogRecord({2006, 1, 1, 8, 0, 0}, "new trim")});
    w.control<QAction>("actionPull")->trigger();
    EXPECT_EQ(w.status(), "1 new logs pulled, 6 held already.");
    EXPECT_EQ(w.window().shownLogs().rowCount(), 7);

    w.f.handheld.undock();
    w.window().lookAgain();
    EXPECT_FALSE(w.enabled("actionPutBack"));
    EXPECT_FALSE(w.enabled("actionPull"));
    EXPECT_EQ(w.control<QLabel>("dockingStatus")->text(), "No handheld docked");
    EXPECT_EQ(w.window().selectedLogs().front().id, 1);
}

TEST(LogbookWindow, PurgeNamesWhatGoes)
{
    WindowOverLogbook w;
    w.f.handheld.drop("TCodeLog");
    w.pull();
    const QDate tomorrow = QDate::currentDate().addDays(1);
    const struct {
        std::optional<QDate> day;
        std::optional<bool> answer; // none: not asked
        QStringList prompts;
        int logsLeft;
    } cases[] = {
        {std::nullopt,
         std::nullopt,
         {"Remove from the logbook the logs no handheld holds, last seen before:"},
         6},
        {QDate::currentDate(),
         std::nullopt,
         {"Remove from the logbook the logs no handheld holds, last seen before:",
          "No log was last seen before " + QDate::currentDate().toString("M/d/yyyy") +
              " on a handheld that no longer holds it: nothing to purge."},
         6},
        {tomorrow,
         false,
         {"Remove from the logbook the logs no handheld holds, last seen before:",
          "Remove this log from the logbook for good?\n\n3/1/2005 10:00:00 AM - P0171"},
         6},
        {tomorrow,
         true,
         {"Remove from the logbook the logs no handheld holds, last seen before:",
          "Remove this log from the logbook for good?\n\n3/1/2005 10:00:00 AM - P0171"},
         5},
    };
    for (const auto &c : cases) {
        w.f.ui.prompts.clear();
        w.f.ui.dates = {c.day};
        if (c.answer)
            w.f.ui.answers = {*c.answer};
        w.control<QAction>("actionPurge")->trigger();
        EXPECT_EQ(w.f.ui.texts(), c.prompts);
        EXPECT_EQ(w.window().shownLogs().rowCount(), c.logsLeft);
    }
}

TEST(LogbookWindow, SortColumnsAndGeometryAreRemembered)
{
    MemorySettings settings;
    {
        WindowOverLogbook w;
        w.window().table()->sortByColumn(LogbookTableModel::Scans, Qt::DescendingOrder);
        w.window().table()->setColumnWidth(LogbookTableModel::User, 123);
        w.window().resize(900, 600);
        w.window().close();
        settings.values = w.settings.values;
    }
    WindowOverLogbook w;
    w.settings.values = settings.values;
    QHeaderView *header = w.window().table()->horizontalHeader();
    EXPECT_EQ(header->sortIndicatorSection(), LogbookTableModel::Scans);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
    EXPECT_EQ(header->sectionSize(LogbookTableModel::User), 123);
    EXPECT_EQ(w.window().size(), QSize(900, 600));
    EXPECT_EQ(w.column(LogbookTableModel::Scans).value(0), "20");
}

TEST(LogbookWindow, ShowLogSelectsAHiddenLogAndRaises)
{
    WindowOverLogbook w;
    QTest::keyClicks(w.window().filterBar()->searchBox(), "trim");
    w.window().showLog(5);
    EXPECT_TRUE(w.window().isVisible());
    EXPECT_EQ(w.window().filterBar()->searchBox()->text(), "");
    ASSERT_EQ(w.window().selectedLogs().size(), 1u);
    EXPECT_EQ(w.window().selectedLogs().front().text, "accel");
    EXPECT_EQ(w.window().shownLogs().idAt(w.window().table()->currentIndex()), 5);
    w.window().showLog(99);
    EXPECT_EQ(w.status(), "The logbook has no log 99.");
}

TEST(LogbookWindow, NoLogbookYetIsAnEmptyTableThatSaysWhy)
{
    LogbookFixture l;
    MemorySettings settings;
    LogbookWindow window(l.path(), l.f.sync, l.f.ui, settings);
    window.show();
    EXPECT_EQ(window.shownLogs().rowCount(), 0);
    EXPECT_EQ(window.statusBar()->currentMessage(),
              "No log has been pulled yet: the logbook " + l.path() + " is not there.");
    l.pull();
    window.lookAgain();
    EXPECT_EQ(window.shownLogs().rowCount(), 6);
}

} // namespace
} // namespace vexa::test
