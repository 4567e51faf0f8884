// The plot window opened from the list, offscreen: what its panels hold,
// how keys, wheel, drags and resizes move it, what it saves and copies, and
// that it outlives the main window's own close.
#include "plot-gui/PlotWindow.h"
#include "analysis-gui/TableWindow.h"
#include "plot-gui/PlotView.h"
#include "plot-gui/RangeCsv.h"
#include "store/SyncComponent.h"
#include "support/ExportFixture.h"
#include "support/LogRecords.h"
#include "support/TestWindow.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolButton>

#include <limits>

namespace vexa::test {
namespace {

std::vector<PlotWindow *> plots(TestWindow &w)
{
    std::vector<PlotWindow *> all;
    for (QWidget *plot : w.window.plotWindows())
        all.push_back(static_cast<PlotWindow *>(plot));
    return all;
}

// Opens the plot of list line 0 by Enter.
PlotWindow *openPlot(TestWindow &w)
{
    w.list()->setCurrentRow(0);
    w.list()->setFocus();
    QTest::keyClick(w.list(), Qt::Key_Enter);
    EXPECT_FALSE(plots(w).empty());
    PlotWindow *plot = plots(w).empty() ? nullptr : plots(w).back();
    if (plot)
        QCoreApplication::processEvents();
    return plot;
}

void trigger(PlotWindow *plot, const char *action)
{
    QAction *a = plot->findChild<QAction *>(QLatin1String(action));
    ASSERT_NE(a, nullptr) << action;
    a->trigger();
}

double at(int h, int m, int s, int ms = 0)
{
    return ((h * 60 + m) * 60 + s) * 1000.0 + ms;
}

TEST(PlotWindow, OpensWithEveryChannelAndItsValueAtTheCursor)
{
    TestHandheld handheld;
    addRirodLog(handheld, {{2004, 3, 14, 14, 5, 9}, "Run 1\r\nsecond line", {15, 0, 2}, 3});
    // Scan 2 of the RPM channel timed out.
    std::vector<Bytes> scans = handheld.records("RirodData");
    Channels channels{};
    for (int c = 0; c < ChannelSlots; ++c)
        channels[c] = {0, scanMark(2, c)};
    channels[0].status = 103;
    handheld.drop("RirodData");
    handheld.create("RirodData");
    handheld.add("RirodData", {scans[0], scanRecord(10, channels), scans[2]});
    handheld.add("LTrimLog", {textLogRecord({2004, 1, 2, 3, 4, 5}, "trims")});

    const SyncComponent sync;
    TestWindow w(sync);
    w.window.start();
    const QStringList before = w.lines();
    QListWidget *list = w.list();
    const QRect line = list->visualItemRect(list->item(0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, line.center());
    ASSERT_EQ(plots(w).size(), 1u);
    PlotWindow *plot = plots(w)[0];
    EXPECT_EQ(plot->windowTitle(), "Plot - 3/14/2004 2:05:09 PM  Run 1");

    PlotView *view = plot->view();
    const PlotScene &scene = view->scene();
    ASSERT_EQ(scene.panels.size(), 2u);
    // RPM breaks at the timed-out scan; ECT runs through.
    const struct {
        QString legend;
        std::vector<std::vector<QPointF>> lines;
        std::size_t marks;
        QString atScan2;
    } expected[] = {
        {"RPM \u2014 Engine speed",
         {{{at(14, 5, 9), scanMark(1, 0)}}, {{at(14, 5, 9, 200), scanMark(3, 0)}}},
         1,
         "T.O."},
        {"ECT \u2014 Engine coolant temp (DEGF)",
         {{{at(14, 5, 9), scanMark(1, 2)},
           {at(14, 5, 9, 100), scanMark(2, 2)},
           {at(14, 5, 9, 200), scanMark(3, 2)}}},
         0,
         "22.0 DEGF"},
    };
    for (std::size_t i = 0; i < scene.panels.size(); ++i) {
        const PanelScene &panel = scene.panels[i];
        EXPECT_EQ(panel.legends, QStringList{expected[i].legend});
        EXPECT_EQ(panel.reduced[0].segments, expected[i].lines) << i;
        EXPECT_EQ(panel.reduced[0].gaps.size(), expected[i].marks) << i;
        EXPECT_EQ(cursorValueText(view->data().channels[panel.channels[0]], 1),
                  expected[i].atScan2);
    }
    // The mouse over the second scan moves the cursor there.
    QTest::mouseMove(view, QPoint(static_cast<int>(scene.xOf(at(14, 5, 9, 120))),
                                  static_cast<int>(scene.panels[0].area.center().y())));
    EXPECT_EQ(view->cursor().scan(), 1u);

    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
    ASSERT_EQ(plots(w).size(), 2u);
    EXPECT_NE(plots(w)[1]->pos(), plots(w)[0]->pos()) << "cascaded";
    EXPECT_EQ(w.lines(), before);
    EXPECT_TRUE(list->item(0)->isSelected());
    EXPECT_EQ(handheld.records("RirodData").size(), 3u);
    EXPECT_TRUE(w.ui.prompts.empty());
    w.setTab(1); // a text log has no plot
    list->setCurrentRow(0);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(plots(w).size(), 2u);
    EXPECT_TRUE(w.ui.prompts.empty()) << w.ui.texts().join('\n').toStdString();
}

TEST(PlotWindow, KeysWheelAndDragsMoveTheCursorAndTheView)
{
    TestHandheld handheld;
    addRirodLog(handheld, {{2004, 3, 14, 14, 5, 9}, "Run 1", {15, 2}, 100});
    const SyncComponent sync;
    TestWindow w(sync);
    w.window.start();
    PlotWindow *plot = openPlot(w);
    ASSERT_NE(plot, nullptr);
    PlotView *view = plot->view();
    const TimeRange all = view->range(); // 100 scans of 100 ms
    const auto middleY = [&] {
        return static_cast<int>(view->scene().panels[0].area.center().y());
    };
    const auto xOf = [&](double ms) {
        return static_cast<int>(std::lround(view->scene().xOf(ms)));
    };
    const auto key = [&](Qt::Key k, Qt::KeyboardModifiers m = {}) { QTest::keyClick(view, k, m); };
    const auto wheel = [&](int x, int delta, Qt::KeyboardModifiers m = {}) {
        QWheelEvent event(QPointF(x, middleY()), view->mapToGlobal(QPointF(x, middleY())), {},
                          QPoint(0, delta), Qt::NoButton, m, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view, &event);
    };
    const auto drag = [&](double fromMs, double toMs, Qt::MouseButton button,
                          Qt::KeyboardModifiers m = {}) {
        const int y = middleY();
        const int from = xOf(fromMs), to = xOf(toMs);
        QTest::mousePress(view, button, m, QPoint(from, y));
        for (int step = 1; step <= 4; ++step) {
            QMouseEvent move(QEvent::MouseMove, QPointF(from + (to - from) * step / 4.0, y),
                             view->mapToGlobal(QPointF(from + (to - from) * step / 4.0, y)),
                             Qt::NoButton, button, m);
            QCoreApplication::sendEvent(view, &move);
        }
        QTest::mouseRelease(view, button, m, QPoint(to, y));
    };

    const struct {
        const char *name;
        std::function<void()> act;
        std::size_t scan;
        TimeRange range; // from the log's start
        bool locked;
    } steps[] = {
        {"End", [&] { key(Qt::Key_End); }, 99, {0, 9900}, true},
        {"Left", [&] { key(Qt::Key_Left); }, 98, {0, 9900}, true},
        {"Home", [&] { key(Qt::Key_Home); }, 0, {0, 9900}, true},
        {"Page Down: a tenth of the view", [&] { key(Qt::Key_PageDown); }, 9, {0, 9900}, true},
        {"wheel up zooms in around the mouse",
         [&] { wheel(xOf(all.from + 4950), 120); },
         9,
         {990, 8910},
         true},
        {"Right at the view's edge pans it",
         [&] {
             view->showRange({all.from + 5000, all.from + 6000});
             view->moveCursor(CursorMove::Last);
             key(Qt::Key_Left);
         },
         98,
         {8900, 9900},
         true},
        {"Shift+drag pans",
         [&] { drag(all.from + 9500, all.from + 9000, Qt::LeftButton, Qt::ShiftModifier); },
         98,
         {8900, 9900},
         true},
        {"middle drag pans back",
         [&] { drag(all.from + 9000, all.from + 9500, Qt::MiddleButton); },
         98,
         {8400, 9400},
         true},
        {"plain drag zooms to its range",
         [&] { drag(all.from + 8600, all.from + 9000, Qt::LeftButton); },
         98,
         {8600, 9000},
         true},
        {"Esc shows the whole log", [&] { key(Qt::Key_Escape); }, 98, {0, 9900}, true},
        {"Up zooms in around the cursor", [&] { key(Qt::Key_Up); }, 98, {4950, 9900}, true},
        {"Shift+Left pans a tenth",
         [&] { key(Qt::Key_Left, Qt::ShiftModifier); },
         98,
         {4455, 9405},
         true},
        {"Reset Zoom",
         [&] { QTest::mouseClick(plot->findChild<QPushButton *>("cmdResetZoom"), Qt::LeftButton); },
         98,
         {0, 9900},
         true},
        {"a click locks the cursor where it is",
         [&] {
             QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(xOf(all.from + 2050), middleY()));
             QTest::mouseMove(view, QPoint(xOf(all.from + 7050), middleY()));
         },
         20,
         {0, 9900},
         true},
    };
    for (const auto &s : steps) {
        s.act();
        EXPECT_EQ(view->cursor().scan(), s.scan) << s.name;
        EXPECT_NEAR(view->range().from - all.from, s.range.from, 60) << s.name;
        EXPECT_NEAR(view->range().to - all.from, s.range.to, 60) << s.name;
        EXPECT_EQ(view->cursor().locked(), s.locked) << s.name;
        EXPECT_EQ(plot->scrollBar()->value(), view->timeView().scrollValue()) << s.name;
        EXPECT_EQ(plot->scrollBar()->maximum(), view->timeView().scrollMaximum()) << s.name;
    }
    // The scroll bar moves the view.
    view->showRange({all.from, all.from + 1000});
    plot->scrollBar()->setValue(3000);
    EXPECT_EQ(view->range().from, all.from + 3000);

    // A range marked with Shift+click: its numbers, copied as text.
    QTest::mouseClick(view, Qt::LeftButton, Qt::ShiftModifier,
                      QPoint(xOf(all.from + 3550), middleY()));
    EXPECT_EQ(view->cursor().mark(), 35u);
    EXPECT_EQ(plot->numbersText().section('\n', 0, 3),
              "Start\t14:05:11.00\nEnd\t14:05:12.50\nDuration (s)\t1.50\nScans\t21 to 36 (16)");
    QCoreApplication::processEvents();
    const QRegularExpression blanks("\\s+");
    const QStringList shown = plot->numbers()->toPlainText().split(blanks, Qt::SkipEmptyParts);
    EXPECT_EQ(shown.mid(0, 12), plot->numbersText().split(blanks, Qt::SkipEmptyParts).mid(0, 12));
    EXPECT_EQ(shown.mid(16, 4), (QStringList{"RPM", "210", "360", "285.0"}));
    QTest::mouseClick(plot->findChild<QPushButton *>("cmdCopyNumbers"), Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), plot->numbersText());
}

TEST(PlotWindow, FitsAndReflowsAtEverySize)
{
    TestHandheld handheld;
    addRirodLog(handheld,
                {{2004, 3, 14, 14, 5, 9}, "Ten channels", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 300});
    const SyncComponent sync;
    TestWindow w(sync);
    w.window.start();
    PlotWindow *plot = openPlot(w);
    ASSERT_NE(plot, nullptr);
    PlotView *view = plot->view();
    for (const QSize size :
         {QSize(1024, 740), QSize(640, 480), QSize(1920, 1050), QSize(800, 600)}) {
        plot->resize(size);
        QCoreApplication::processEvents();
        const PlotScene &scene = view->scene();
        ASSERT_EQ(scene.panels.size(), 10u) << size.width();
        for (const PanelScene &panel : scene.panels) {
            EXPECT_GE(panel.rect.height(), 48) << size.width();
            EXPECT_LE(panel.area.right(), view->width()) << size.width();
            EXPECT_GE(panel.ticks.size(), 2u) << size.width();
            for (const auto &reduced : panel.reduced)
                EXPECT_LE(reduced.segments.front().size(), 2 * panel.area.width() + 40);
        }
        EXPECT_LE(scene.axisRect.bottom(), view->height() + 0.5) << size.width();
        EXPECT_GE(scene.timeTicks.size(), 2u) << size.width();
        EXPECT_LE(view->width(), plot->width()) << size.width();
        EXPECT_EQ(plot->numbers()->isVisible(), size.width() >= 900) << size.width();
    }
    // 1024x768 less the frame: every panel shows without scrolling.
    plot->resize(1024, 720);
    QCoreApplication::processEvents();
    EXPECT_LE(view->height(), view->parentWidget()->height());
}

TEST(PlotWindow, TableCountsEveryScanOfTheLogItShows)
{
    TestHandheld handheld;
    addRirodLog(handheld, {{2004, 3, 14, 14, 5, 9}, "Trims", {15, 9, 6}, 40});
    const SyncComponent sync;
    TestWindow w(sync);
    w.window.start();
    PlotWindow *plot = openPlot(w);
    ASSERT_NE(plot, nullptr);
    plot->findChild<QPushButton *>(QStringLiteral("cmdTable"))->click();
    auto *table = plot->findChild<TableWindow *>();
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(table->tableText().startsWith("MAP\\RPM\t")); // made at once: RPM, MAP, LFT1
    const PlotData &data = plot->view()->data();
    int read = 0;
    for (std::size_t s = 0; s < data.scanCount(); ++s)
        read += data.channels[0].drawn(s) && data.channels[1].drawn(s) && data.channels[2].drawn(s);
    ASSERT_GT(read, 0);

    table->setStat(CellStat::Count);
    table->setMinHits(1);
    const struct {
        const char *value, *message;
        int counted;
    } rows[] = {{"LFT1", "", read}, {"ECT", "The log lacks ECT", read}};
    for (const auto &r : rows) {
        table->setChannels("RPM", "MAP", r.value);
        table->makeTable();
        EXPECT_EQ(table->message()->text(), r.message);
        int counted = 0;
        for (int row = 0; row < table->grid()->rowCount(); ++row)
            for (int column = 0; column < table->grid()->columnCount(); ++column)
                counted += table->grid()->item(row, column)->text().toInt();
        EXPECT_EQ(counted, r.counted) << r.value; // the last table stays
    }
}

TEST(PlotWindow, ChannelChoicesAreRememberedForTheSameParameters)
{
    TestHandheld handheld;
    addRirodLog(handheld, {{2004, 3, 14, 14, 5, 9}, "Trims", {6, 7, 15}, 20});
    const SyncComponent sync;
    TestWindow w(sync);
    w.window.start();
    PlotWindow *plot = openPlot(w);
    ASSERT_NE(plot, nullptr);
    trigger(plot, "actJoin1"); // both long-term trims in one panel
    trigger(plot, "actShow2"); // RPM hidden
    QTest::mouseClick(plot->findChild<QCheckBox *>("chkSeconds"), Qt::LeftButton);
    EXPECT_EQ(plot->view()->scene().panels.size(), 1u);
    EXPECT_EQ(plot->view()->scene().panels[0].legends,
              (QStringList{"LFT1 \u2014 Long-term fuel trim - dr's side (PCT)",
                           "LFT2 \u2014 Long-term fuel trim - pass side (PCT)"}));
    EXPECT_EQ(w.settings.values,
              (std::map<QString, QString>{{"Plot/Panels-6-7-15-0-0-0-0-0-0-0", "oah"},
                                          {"Plot/TimeMode", "FromStart"}}));
    plot->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    PlotWindow *again = openPlot(w);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->view()->panelLayout().text(), "oah");
    EXPECT_EQ(again->view()->timeMode(), TimeMode::FromStart);
    for (const Tick &t : again->view()->scene().timeTicks)
        EXPECT_FALSE(t.text.contains(':')) << "seconds from the start: " << t.text.toStdString();
}

TEST(PlotWindow, SavesPicturesAndTheRangeAsCsv)
{
    TestHandheld handheld;
    addRirodLog(handheld, {{2004, 3, 14, 23, 59, 58}, "Night", {15, 0, 2}, 50, 10});
    const SyncComponent sync;
    TestWindow w(sync);
    w.window.start();
    PlotWindow *plot = openPlot(w);
    ASSERT_NE(plot, nullptr);
    PlotView *view = plot->view();
    view->moveCursor(CursorMove::Last);
    for (int k = 0; k < 29; ++k)
        view->moveCursor(CursorMove::Back);
    view->markAtCursor(); // scans 21 to 50, past midnight
    view->moveCursor(CursorMove::Last);

    QTemporaryDir dir;
    w.ui.files = {{dir.filePath("plot.png"), 1},
                  {dir.filePath("plot.svg"), 1},
                  {dir.filePath("range.csv"), 1},
                  {},
                  {dir.filePath("no/such/folder.csv"), 1}};
    for (const char *action :
         {"actSavePng", "actSaveSvg", "actSaveCsv", "actSavePng", "actSaveCsv"})
        trigger(plot, action);
    EXPECT_EQ(QImage(dir.filePath("plot.png")).size(), view->size());
    EXPECT_TRUE(readFile(dir.filePath("plot.svg")).contains("<title>3/14/2004 11:59:58 PM  Night"));
    ASSERT_EQ(w.ui.prompts.size(), 6u);
    EXPECT_EQ(w.ui.prompts[2].filters.value(0).description, "CSV file (*.csv)");
    EXPECT_TRUE(w.ui.prompts[5].text.startsWith("There was an error saving the file.\r\n"));

    // The whole log's CSV, from scan 21 on, under the date line of scan 21.
    ExportFixture f;
    addRirodLog(f.handheld, {{2004, 3, 14, 23, 59, 58}, "Night", {15, 0, 2}, 50, 10});
    f.write(Writer::Csv, f.entry());
    QList<QByteArray> lines = f.written().split('\n');
    lines.remove(6, 20);
    lines[0] = "3/15/2004 12:00:00 AM\r";
    EXPECT_EQ(readFile(dir.filePath("range.csv")), lines.join('\n'));
}

TEST(PlotWindow, OutlivesTheMainWindowsOwnClose)
{
    TestHandheld handheld;
    addRirodLog(handheld, {{2004, 3, 14, 14, 5, 9}, "Run 1", {15}, 5});
    const SyncComponent sync;
    TestWindow w(sync);
    w.window.start();
    bool finished = false;
    QObject::connect(&w.window, &MainWindow::finished, [&] { finished = true; });
    PlotWindow *first = openPlot(w);
    PlotWindow *second = openPlot(w);
    ASSERT_TRUE(first && second);
    for (int tick = 0; tick <= 40; ++tick)
        w.window.onTimerTick();
    EXPECT_EQ(w.status(), "Closing in 0 seconds");
    EXPECT_TRUE(w.window.isUnloaded());
    EXPECT_FALSE(finished) << "a plot window is open";
    EXPECT_TRUE(first->isVisible());
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(finished);
    second->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(finished) << "the last plot window closed";
}

// What a log's view says when its channel can't be drawn as a line, or only
// with numbers near the float's limits: why in words, each gap's status in
// the legend and at the cursor, whatever the statuses.
TEST(PlotView, SaysWhatItCannotDraw)
{
    const auto log = [](std::vector<float> values, std::vector<std::int16_t> status) {
        PlotData plot;
        plot.title = "Log";
        for (std::size_t k = 0; k < values.size(); ++k)
            plot.times.push_back(static_cast<std::int32_t>(k) * 100);
        status.resize(values.size());
        plot.channels.push_back({0, "RPM", "RPM", "Engine speed", ValueFormat("RPM", QLocale::c()),
                                 std::move(values), std::move(status)});
        return plot;
    };
    std::vector<std::int16_t> ownStatus; // -1, 1, -2, 2, ...: 103 is a time-out
    for (int k = 0; k < 32767; ++k)
        ownStatus.push_back(static_cast<std::int16_t>(k % 2 ? k / 2 + 1 : -(k / 2 + 1)));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const float max = std::numeric_limits<float>::max();
    const struct {
        const char *name;
        PlotData plot;
        QString note;
        std::size_t gapGroups;
        QStringList ticks;
        QString atScan2;
    } cases[] = {
        // clang-format off
        {"no scans", log({}, {}), "", 0, {}, ""},
        {"every scan a gap with a status of its own", log(std::vector<float>(32767), ownStatus),
         "No value to draw: every scan here is a gap. The value at the cursor shows its status.",
         3, {}, "E1"},
        {"a few statuses, a legend line each; ten RPM at least", log({1, 2, 3, 4}, {0, 12, -5, 103}),
         "", 3, {"-4", "-3", "-2"}, "E12"},
        {"no value a number", log({nan, inf, 5}, {0, 0, 7}),
         "No value to draw: every value here is NaN, INF or a gap. The value at the cursor shows "
         "each.", 1, {}, "INF RPM"},
        {"the float's limits", log({-max, max}, {}), "", 0, {"-3e+38", "-2e+38", "-1e+38"},
         "340282346638528859811704183484516925440 RPM"},
        // clang-format on
    };
    for (const auto &c : cases) {
        PlotView view(c.plot, "Heading");
        view.resize(1100, 300);
        const PlotScene &scene = view.scene();
        ASSERT_EQ(scene.panels.size(), c.plot.times.empty() ? 0u : 1u) << c.name;
        if (scene.panels.empty())
            continue;
        const PanelScene &panel = scene.panels[0];
        EXPECT_EQ(panel.note, c.note) << c.name;
        EXPECT_EQ(view.style().gapLegend(0).groups().size(), c.gapGroups) << c.name;
        QStringList ticks;
        for (const Tick &t : panel.ticks)
            ticks << t.text;
        if (!c.ticks.isEmpty()) {
            EXPECT_EQ(ticks.mid(0, c.ticks.size()), c.ticks) << c.name;
        }
        EXPECT_GE(panel.area.left(), 6 * c.ticks.value(0).size()) << c.name << ": labels whole";
        EXPECT_EQ(cursorValueText(view.data().channels[0], 1), c.atScan2) << c.name;
        EXPECT_FALSE(view.png().isEmpty());
    }
}

} // namespace
} // namespace vexa::test
