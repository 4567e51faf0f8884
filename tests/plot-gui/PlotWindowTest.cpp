// The plot window opened from the list, offscreen: what it holds, and that
// the main window stays as it was.
#include "plot-gui/PlotWindow.h"
#include "plot-gui/ChannelPanel.h"
#include "plot-gui/GapMarks.h"
#include "plot-gui/PlotView.h"
#include "store/SyncComponent.h"
#include "support/LogCase.h"
#include "support/LogRecords.h"
#include "support/TestWindow.h"

#include <QGraphicsTextItem>
#include <QImage>
#include <QLabel>
#include <QLineSeries>
#include <QTemporaryDir>
#include <QValueAxis>

#include <limits>

namespace vexa::test {
namespace {

QList<PlotWindow *> plots(TestWindow &w)
{
    return w.window.findChildren<PlotWindow *>();
}

TEST(PlotWindow, OpensOnDoubleClickOrEnterWithEveryChannel)
{
    TestHandheld handheld;
    addRirodLog(handheld, {{2004, 3, 14, 14, 5, 9}, "Run 1", {15, 0, 2}, 3});
    // Scan 2 of the RPM channel timed out.
    std::vector<Bytes> scans = handheld.records("RirodData");
    Channels channels{};
    for (int c = 0; c < ChannelSlots; ++c)
        channels[c] = {0, scanMark(2, c)};
    channels[0].status = 103;
    handheld.drop("RirodData");
    handheld.create("RirodData");
    handheld.add("RirodData", {scans[0], scanRecord(10, channels), scans[2]});

    const SyncComponent sync;
    TestWindow w(sync);
    w.window.start();
    const QStringList before = w.lines();
    QListWidget *list = w.list();
    const QRect line = list->visualItemRect(list->item(0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, line.center());
    ASSERT_EQ(plots(w).size(), 1);

    PlotView *view = plots(w)[0]->view();
    ASSERT_EQ(view->panels().size(), 2u);
    const auto x = [&](int scan) {
        return static_cast<double>(QDate(2004, 3, 14).startOfDay().toMSecsSinceEpoch()) +
               ((14 * 60 + 5) * 60 + 9) * 1000.0 + scan * 100;
    };
    // RPM breaks at the timed-out scan; ECT runs through.
    const struct {
        const char *name;
        QList<QList<QPointF>> lines;
        QStringList gaps;
        std::vector<std::size_t> marks; // of each legend line
    } expected[] = {
        {"RPM (RPM) Engine speed",
         {{{x(0), scanMark(1, 0)}}, {{x(2), scanMark(3, 0)}}},
         {"T.O.: the data link timed out"},
         {1}},
        {"ECT (DEGF) Engine coolant temp",
         {{{x(0), scanMark(1, 2)}, {x(1), scanMark(2, 2)}, {x(2), scanMark(3, 2)}}},
         {},
         {}},
    };
    for (std::size_t i = 0; i < view->panels().size(); ++i) {
        const ChannelPanel *panel = view->panels()[i];
        QList<QList<QPointF>> lines;
        for (const QLineSeries *s : panel->lines())
            lines << s->points();
        std::vector<std::size_t> marks;
        for (const GapMarks::Group &group : panel->gapMarks().groups())
            marks.push_back(group.times.size());
        EXPECT_EQ(panel->lines()[0]->name(), expected[i].name);
        EXPECT_EQ(panel->chart()->axes(Qt::Horizontal).at(0)->labelsVisible(),
                  i + 1 == view->panels().size())
            << "the time labels are under the last panel";
        EXPECT_EQ(lines, expected[i].lines) << expected[i].name;
        EXPECT_EQ(panel->gapLegend(), expected[i].gaps) << expected[i].name;
        EXPECT_EQ(marks, expected[i].marks) << expected[i].name;
    }
    EXPECT_EQ(view->readout(((14 * 60 + 5) * 60 + 9) * 1000.0 + 150),
              "Scan 2 at 14:05:09.10\nRPM T.O. RPM\nECT 22.0 DEGF");

    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(plots(w).size(), 2);
    // The list and the handheld are as they were; the first click selected.
    EXPECT_EQ(w.lines(), before);
    EXPECT_TRUE(list->item(0)->isSelected());
    EXPECT_EQ(handheld.records("RirodData").size(), 3u);
    EXPECT_TRUE(w.ui.prompts.empty());

    w.setTab(1);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(plots(w).size(), 2);
}

TEST(PlotWindow, ZoomsResetsAndSavesTheView)
{
    TestHandheld handheld;
    addRirodLog(handheld, {{2004, 3, 14, 14, 5, 9}, "Run 1", {15}, 50});
    const SyncComponent sync;
    TestWindow w(sync);
    w.window.start();
    w.list()->setCurrentRow(0);
    w.list()->setFocus();
    QTest::keyClick(w.list(), Qt::Key_Enter);
    ASSERT_EQ(plots(w).size(), 1);
    PlotWindow *plot = plots(w)[0];
    PlotView *view = plot->view();
    const TimeRange all = view->range();

    view->showRange({all.from + 1000.25, all.from + 2000.25});
    EXPECT_EQ(view->panels()[0]->lines()[0]->count(), 12); // scans 10..20 and the next
    QCoreApplication::processEvents();
    EXPECT_EQ(view->range().from, all.from + 1000.25) << "the view's own axis change chose a range";
    QTest::keyClick(plot, Qt::Key_Escape);
    EXPECT_EQ(view->range().from, all.from);
    EXPECT_EQ(view->range().to, all.to);

    QTemporaryDir dir;
    w.ui.files = {{dir.filePath("plot.png"), 1}, {dir.filePath("plot.svg"), 1}, {}};
    QTest::mouseClick(plot->findChild<QPushButton *>("cmdSavePng"), Qt::LeftButton);
    QTest::mouseClick(plot->findChild<QPushButton *>("cmdSaveSvg"), Qt::LeftButton);
    QTest::mouseClick(plot->findChild<QPushButton *>("cmdSavePng"), Qt::LeftButton); // cancelled
    EXPECT_EQ(QImage(dir.filePath("plot.png")).size(), view->size());
    EXPECT_TRUE(readFile(dir.filePath("plot.svg")).startsWith("<?xml"));
    ASSERT_EQ(w.ui.prompts.size(), 3u);
    EXPECT_EQ(w.ui.prompts[1].title, "Save plot as...");
    EXPECT_EQ(w.ui.prompts[1].filters.value(0).description, "SVG picture (*.svg)");
}

// The value labels left of a panel's plot area, top first, as shown.
std::vector<const QGraphicsTextItem *> valueLabels(const ChannelPanel &panel)
{
    std::vector<const QGraphicsTextItem *> labels;
    for (const QGraphicsItem *item : panel.scene()->items(Qt::AscendingOrder)) {
        const auto *text = dynamic_cast<const QGraphicsTextItem *>(item);
        if (text && text->isVisible() && !text->toPlainText().isEmpty() &&
            text->sceneBoundingRect().right() <= panel.chart()->plotArea().left())
            labels.push_back(text);
    }
    std::sort(labels.begin(), labels.end(), [](const auto *a, const auto *b) {
        return a->sceneBoundingRect().top() < b->sceneBoundingRect().top();
    });
    return labels;
}

// What a log's view says when its channel can't be drawn as a line, or only
// with numbers near the float's limits: why in words, each gap's status in
// the legend and the readout, at the same cost whatever the statuses, and
// value labels whole beside the panel.
TEST(PlotView, SaysWhatItCannotDraw)
{
    const auto log = [](std::vector<float> values, std::vector<std::int16_t> status) {
        PlotData plot{"Log", {}, {}};
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
        QStringList says; // the view's lines, then the panel's note
        QStringList legend;
        int series;      // the panel's, its line's included
        QString readout; // at the second scan
    } cases[] = {
        // clang-format off
        {"no scans", {"Log", {}, log({}, {}).channels}, {"Log", "The log holds no scans."}, {}, 0, ""},
        {"no channels", {"Log", {0, 100}, {}}, {"Log", "The log has no channels."}, {}, 0,
         "Scan 2 at 00:00:00.10"},
        {"every scan a gap with a status of its own", log(std::vector<float>(32767), ownStatus),
         {"Log", "No value to draw: every scan here is a gap. The readout shows its status."},
         {"S-16384 to S-1: 16384 statuses the logger flagged",
          "E1 to E16383: 16382 errors the logger reported", "T.O.: the data link timed out"},
         4, "Scan 2 at 00:00:00.10\nRPM E1 RPM"},
        {"a few statuses, a legend line each", log({1, 2, 3, 4}, {0, 12, -5, 103}),
         {"Log"},
         {"S-5: the logger flagged the value (status -5)", "E12: the logger reported error 12",
          "T.O.: the data link timed out"},
         4, "Scan 2 at 00:00:00.10\nRPM E12 RPM"},
        {"no value a number", log({nan, inf, 5}, {0, 0, 7}),
         {"Log", "No value to draw: every value here is NaN, INF or a gap. The readout shows each."},
         {"E7: the logger reported error 7"}, 2, "Scan 2 at 00:00:00.10\nRPM INF RPM"},
        {"the float's limits", log({-max, max}, {}), {"Log"}, {}, 1,
         "Scan 2 at 00:00:00.10\nRPM 340282346638528859811704183484516925440 RPM"},
        {"wide whole numbers", log({800, 12345678}, {}), {"Log"}, {}, 1,
         "Scan 2 at 00:00:00.10\nRPM 12345678 RPM"},
        // clang-format on
    };
    for (const auto &c : cases) {
        PlotView view(c.plot, QDate(2004, 3, 14));
        view.resize(1100, 300);
        view.setAttribute(Qt::WA_DontShowOnScreen);
        view.show();
        QCoreApplication::processEvents();
        QStringList says;
        for (const QLabel *label : view.findChildren<QLabel *>())
            says << label->text();
        QStringList legend;
        int series = 0;
        for (const ChannelPanel *panel : view.panels()) {
            if (!panel->note().isEmpty())
                says << panel->note();
            legend << panel->gapLegend();
            series += static_cast<int>(panel->chart()->series().size());
            const auto *axis =
                static_cast<const QValueAxis *>(panel->chart()->axes(Qt::Vertical)[0]);
            const std::vector labels = valueLabels(*panel);
            ASSERT_EQ(labels.size(), panel->note().isEmpty() ? 3u : 0u) << c.name;
            const double ticks[] = {axis->max(), (axis->min() + axis->max()) / 2, axis->min()};
            for (std::size_t i = 0; i < labels.size(); ++i) {
                const QString text = labels[i]->toPlainText();
                bool number = false;
                EXPECT_NEAR(text.toDouble(&number), ticks[i], (axis->max() - axis->min()) / 20)
                    << c.name << ": " << text.toStdString();
                EXPECT_TRUE(number) << c.name << ": " << text.toStdString();
                EXPECT_GE(panel->mapFromScene(labels[i]->sceneBoundingRect()).boundingRect().left(),
                          0)
                    << c.name << ": " << text.toStdString() << " is cut";
            }
        }
        EXPECT_EQ(says, c.says) << c.name;
        EXPECT_EQ(legend, c.legend) << c.name;
        EXPECT_EQ(series, c.series) << c.name;
        EXPECT_EQ(view.readout(150).section('\n', 0, 1), c.readout) << c.name;
        EXPECT_EQ(view.panels().empty(), c.plot.channels.empty() || c.plot.times.empty()) << c.name;
    }
}

} // namespace
} // namespace vexa::test
