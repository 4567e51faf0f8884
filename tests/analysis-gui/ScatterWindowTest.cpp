// Scatter... in the table window over a hand-made log: the scatter holds the
// scans the table counts under its conditions, its dots sit where the frame
// puts them in the value's colours, it saves as PNG, and nothing opens when
// nothing counts.
#include "support/HandLog.h"
#include "support/MemorySettings.h"
#include "support/ScriptedUi.h"

#include "analysis-gui/ScatterWindow.h"
#include "analysis-gui/TableColours.h"
#include "analysis-gui/TableWindow.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

// Six scans: two open loop, one with a gap in MAP.
const std::vector<Scan> Scans = {{.rpm = 800, .map = 10, .lft = -4},
                                 {.rpm = 1200, .map = 20, .lft = 4},
                                 {.rpm = 1600, .map = 14, .lft = 1, .clsd = 0},
                                 {.rpm = 2000, .map = 16, .lft = 2},
                                 {.rpm = 2400, .map = 18, .lft = 0, .clsd = 0},
                                 {.rpm = 2800, .map = 22, .gap = Map}};

struct Tables {
    ScriptedUi ui;
    MemorySettings settings;
    QPointer<TableWindow> window = new TableWindow(
        QStringLiteral("log 1"),
        [](const TableRequest &request) { return handTable(Scans, request); }, ui, settings);

    ~Tables() { delete window; }
    ScatterWindow *scatter(const QString &conditions, const QString &value = "LFT1")
    {
        window->setChannels(QStringLiteral("RPM"), QStringLiteral("MAP"), value);
        window->conditions()->setPlainText(conditions);
        window->openScatter();
        return window->scatterWindow();
    }
};

TEST(ScatterWindow, ShowsTheScansThatCountWhateverTheCellsMinimum)
{
    const struct {
        const char *conditions;
        std::size_t points;
        const char *caption;
    } rows[] = {{"", 5, "RPM across, MAP up, coloured by LFT1: 5 scans"},
                {"CLSD = 1", 3, "RPM across, MAP up, coloured by LFT1: 3 scans"},
                {"CLSD = 1; RPM > 1500", 1, "RPM across, MAP up, coloured by LFT1: 1 scan"}};
    for (const auto &r : rows) {
        Tables t;
        t.window->setMinHits(100); // every cell empty: the dots don't care
        ScatterWindow *s = t.scatter(QString::fromUtf8(r.conditions));
        ASSERT_NE(s, nullptr) << r.conditions;
        EXPECT_EQ(s->view()->pointCount(), r.points) << r.conditions;
        EXPECT_EQ(s->caption()->text(), r.caption);
        EXPECT_EQ(s->windowTitle(), "Scatter - log 1");
        EXPECT_GT(t.window->grid()->rowCount(), 0) << "the table is made too";
        EXPECT_EQ(t.window->message()->text(), "");
    }
}

TEST(ScatterWindow, NothingOpensWhenTheChoicesDontReadOrNothingCounts)
{
    const struct {
        const char *conditions, *value, *message;
        bool keepsTable;
    } rows[] = {
        {"ECT >>", "LFT1", "ECT >>", true},
        {"ECT > 1000", "LFT1", "No scatter: no scan counts.", false},
        {"", "KR", "No table: none of the logs can be used.", false},
    };
    for (const auto &r : rows) {
        Tables t;
        t.window->setMinHits(1);
        ASSERT_NE(t.scatter(""), nullptr);
        const QString before = t.window->tableText();
        EXPECT_EQ(t.scatter(QString::fromUtf8(r.conditions), r.value), nullptr) << r.conditions;
        EXPECT_TRUE(t.window->message()->text().contains(r.message))
            << t.window->message()->text().toStdString();
        EXPECT_EQ(t.window->tableText() == before, r.keepsTable) << r.conditions;
    }
}

TEST(ScatterWindow, EachDotIsWhereTheFrameSaysInTheValuesColour)
{
    Tables t;
    const ScatterWindow *s = t.scatter("");
    const ScatterFrame &frame = s->view()->frame();
    EXPECT_TRUE(frame.colours.diverging); // a trim, as on the grid
    const QImage dots = s->view()->dotsImage(QSize(201, 101));
    const QRectF centres(0, 0, 200, 100);
    for (const Scan &scan : {Scans[0], Scans[1], Scans[3]}) {
        const QPoint at = frame.at(scan.rpm, scan.map, centres).toPoint();
        EXPECT_EQ(dots.pixelColor(at), qColor(frame.colours.colour(scan.lft))) << scan.rpm;
    }
    // A trim of 0 still shows against the ground.
    EXPECT_NE(dots.pixelColor(0, 0), qColor(frame.colours.colour(0)));
}

TEST(ScatterWindow, SavesAsPngAndClosesWithTheTable)
{
    Tables t;
    ScatterWindow *s = t.scatter("");
    s->resize(500, 400);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("scatter.png"));
    t.ui.files.push_back({path, 1});
    s->savePng();
    QImage saved;
    ASSERT_TRUE(saved.load(path));
    EXPECT_EQ(saved.size(), s->view()->size());
    t.ui.files.push_back({dir.filePath(QStringLiteral("none/scatter.png")), 1});
    s->savePng();
    ASSERT_EQ(t.ui.prompts.size(), 3u);
    EXPECT_TRUE(t.ui.prompts[2].text.startsWith("There was an error saving the file."));

    const QPointer<ScatterWindow> open = s;
    t.window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(open.isNull());
}

} // namespace
} // namespace vexa::test
