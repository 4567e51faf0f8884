// The table window over a hand-made log: the grid's cells and the sign of
// their colours, counts, Copy as the command line prints, the CSV file, and
// choices that don't read.
#include "support/HandLog.h"
#include "support/MemorySettings.h"
#include "support/ScriptedUi.h"

#include "analysis-gui/TableColours.h"
#include "analysis-gui/TableWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

// RPM 800/1200 across, MAP 10/20 down; two scans in three cells, one in the
// fourth.
std::vector<Scan> gridScans(float high)
{
    return {{.rpm = 800, .map = 10, .lft = -4},   {.rpm = 800, .map = 10, .lft = -2},
            {.rpm = 1200, .map = 10, .lft = 2},   {.rpm = 1200, .map = 10, .lft = 4},
            {.rpm = 800, .map = 20, .lft = high}, {.rpm = 800, .map = 20, .lft = high},
            {.rpm = 1200, .map = 20, .lft = 1}};
}

struct Window {
    ScriptedUi ui;
    MemorySettings settings;
    TableWindow window;

    // `kept`: what an earlier window left in the settings.
    explicit Window(std::vector<Scan> scans, const MemorySettings &kept = {})
        : settings(kept),
          window(
              QStringLiteral("log 1"),
              [scans](const TableRequest &request) { return handTable(scans, request); }, ui,
              settings)
    {
        window.xAxis()->setText(QStringLiteral("800, 1200"));
        window.setMinHits(2);
    }
    void make(const QString &yAxis = QStringLiteral("10\t20"))
    {
        window.yAxis()->setText(yAxis);
        window.makeTable();
    }
    QString cell(int row, int column) const { return window.grid()->item(row, column)->text(); }
    QColor colour(int row, int column) const
    {
        return window.grid()->item(row, column)->background().color();
    }
};

// -1: bluer than red, 0: white or grey, 1: redder than blue.
int sign(const QColor &c)
{
    return c.red() == c.blue() ? 0 : c.red() > c.blue() ? 1 : -1;
}

TEST(TableWindow, TheGridHasItsCellsAndTrimsDivergeAroundZero)
{
    Window w(gridScans(6));
    w.make();
    ASSERT_EQ(w.window.grid()->rowCount(), 2);
    ASSERT_EQ(w.window.grid()->columnCount(), 2);
    EXPECT_EQ(w.window.grid()->horizontalHeaderItem(1)->text(), "1200");
    EXPECT_EQ(w.window.grid()->verticalHeaderItem(0)->text(), "10"); // lowest at the top
    const struct {
        int row, column;
        const char *text;
        int sign;
    } rows[] = {{0, 0, "-3.00", -1}, {0, 1, "3.00", 1}, {1, 0, "6.00", 1}, {1, 1, "", 0}};
    for (const auto &r : rows) {
        EXPECT_EQ(w.cell(r.row, r.column), r.text) << r.row << r.column;
        EXPECT_EQ(sign(w.colour(r.row, r.column)), r.sign) << r.row << r.column;
    }
    EXPECT_EQ(w.colour(1, 1), EmptyCellColour);
    EXPECT_LT(w.colour(1, 0).green(), w.colour(0, 1).green()); // 6 is deeper than 3
    EXPECT_EQ(w.colour(0, 0).green(), w.colour(0, 1).green()); // -3 as deep as 3

    w.window.countsShown()->setChecked(true);
    EXPECT_EQ(w.cell(0, 0), "2");
    EXPECT_EQ(w.cell(1, 1), "");
    EXPECT_EQ(sign(w.colour(0, 0)), 1); // counts are a quantity, never diverging
    w.window.countsShown()->setChecked(false);
    w.window.setStat(CellStat::Max); // shown at once, no new table
    EXPECT_EQ(w.cell(0, 0), "-2.00");
}

TEST(TableWindow, ColourScalesOnlyDivergeForTrimsOrValuesAcrossZero)
{
    CellTable table{"RPM", "MAP", "ECT", {800, 1200}, {10}, {}, 1};
    table.cells.resize(2);
    const struct {
        const char *value;
        double a, b;
        bool diverging;
    } rows[] = {{"ECT", 150, 190, false},
                {"ECT", -5, 190, true},
                {"LFT2", 1, 3, true},
                {"SFT1", -3, -1, true},
                {"KR", 0, 4, false}};
    for (const auto &r : rows) {
        table.value = r.value;
        table.cells[0] = {1, r.a, r.a, r.a};
        table.cells[1] = {1, r.b, r.b, r.b};
        EXPECT_EQ(colourScale(table, CellStat::Mean).diverging, r.diverging) << r.value << r.a;
    }
}

TEST(TableWindow, CopyAndCsvHoldTheCommandLinesText)
{
    Window w(gridScans(6));
    w.make();
    w.window.copyTable();
    EXPECT_EQ(QApplication::clipboard()->text(),
              "MAP\\RPM\t800\t1200\n10\t-3.00\t3.00\n20\t6.00\t\n");
    w.window.countsShown()->setChecked(true);
    EXPECT_EQ(w.window.tableText(), "MAP\\RPM\t800\t1200\n10\t2\t2\n20\t2\t\n");
    w.window.countsShown()->setChecked(false);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("table.csv"));
    w.ui.files.push_back({path, 1});
    w.window.saveCsv();
    QFile csv(path);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll(), "MAP\\RPM,800,1200\n10,-3.00,3.00\n20,6.00,\n");
    ASSERT_EQ(w.ui.prompts.size(), 1u);
    EXPECT_EQ(w.ui.prompts[0].kind, Prompt::SaveFile);

    // A folder that isn't there: the box says so, no file.
    w.ui.files.push_back({dir.filePath(QStringLiteral("none/table.csv")), 1});
    w.window.saveCsv();
    ASSERT_EQ(w.ui.prompts.size(), 3u);
    EXPECT_TRUE(w.ui.prompts[2].text.startsWith("There was an error saving the file."))
        << w.ui.prompts[2].text.toStdString();
}

TEST(TableWindow, ChoicesThatDontReadSayWhyAndKeepTheTable)
{
    Window w(gridScans(6));
    w.make();
    const struct {
        const char *what, *conditions, *yAxis, *message;
    } rows[] = {
        {"a condition", "ECT >= 160; ECT >>", "10 20", "ECT >>"},
        {"an axis", "", "10 twenty", "twenty"},
    };
    for (const auto &r : rows) {
        w.window.conditions()->setPlainText(QString::fromUtf8(r.conditions));
        w.make(QString::fromUtf8(r.yAxis));
        EXPECT_TRUE(w.window.message()->text().contains(r.message))
            << w.window.message()->text().toStdString();
        EXPECT_EQ(w.cell(0, 0), "-3.00") << r.what;
    }
    w.window.conditions()->setPlainText(QStringLiteral("ECT >= 160\nCLSD = 1;"));
    w.make();
    EXPECT_EQ(w.window.message()->text(), "");

    w.window.setChannels(QStringLiteral("RPM"), QStringLiteral("MAP"), QStringLiteral("NOPE"));
    w.make();
    EXPECT_TRUE(w.window.message()->text().contains("NOPE"))
        << w.window.message()->text().toStdString();
}

TEST(TableWindow, TheCornerNamesTheAxesAndTheNextWindowStartsWithTheLastTablesChoices)
{
    Window first(gridScans(6));
    first.window.show();
    auto *corner = first.window.grid()->findChild<QAbstractButton *>();
    ASSERT_TRUE(corner);
    const auto inked = [corner] { // pixels of text drawn in the corner
        const QImage shown = corner->grab().toImage();
        int dark = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                dark += qGray(shown.pixel(x, y)) < 110;
        return dark;
    };
    EXPECT_EQ(inked(), 0);
    first.window.conditions()->setPlainText(QStringLiteral("ECT >= 160"));
    first.window.setStat(CellStat::Max);
    first.make(QStringLiteral("10 20"));
    EXPECT_EQ(corner->text(), "MAP\\RPM");
    EXPECT_GT(inked(), 10);
    first.window.conditions()->setPlainText(QStringLiteral("ECT >>")); // not kept: no table
    first.make();

    Window next(gridScans(6), first.settings);
    EXPECT_EQ(next.window.conditions()->toPlainText(), "ECT >= 160");
    EXPECT_EQ(next.window.yAxis()->text(), "10 20");
    next.window.makeTable();
    EXPECT_EQ(next.cell(0, 0), "-2.00"); // the maximum
    MemorySettings none;
    TableWindow fresh(QStringLiteral("log 1"), {}, first.ui, none);
    EXPECT_EQ(fresh.conditions()->toPlainText(), "");
    EXPECT_EQ(fresh.findChild<QSpinBox *>()->value(), 10);
}

TEST(TableWindow, LogsLeftOutAreNamedUnderTheGrid)
{
    Window w(gridScans(6));
    w.window.setChannels(QStringLiteral("RPM"), QStringLiteral("MAP"), QStringLiteral("KR"));
    w.make();
    EXPECT_EQ(w.window.leftOut()->text(), "Left out: log 7: lacks KR");
    EXPECT_EQ(w.window.message()->text(), "No table: none of the logs can be used.");
    EXPECT_EQ(w.window.grid()->rowCount(), 0);
}

} // namespace
} // namespace vexa::test
