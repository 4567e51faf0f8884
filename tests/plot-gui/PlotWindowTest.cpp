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

#include <QImage>
#include <QLabel>
#include <QLineSeries>
#include <QTemporaryDir>

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

// Nothing to draw: a line says why, and no panel is made.
TEST(PlotView, SaysWhyItHasNothingToDraw)
{
    const ValueFormat whole("RPM", QLocale::c());
    const ChannelSeries rpm{0, "RPM", "RPM", "Engine speed", whole, {}, {}};
    const struct {
        PlotData plot;
        const char *says;
    } cases[] = {
        {{"no scans", {}, {rpm}}, "The log holds no scans."},
        {{"no channels", {0, 100}, {}}, "The log has no channels."},
    };
    for (const auto &c : cases) {
        const PlotView view(c.plot, QDate(2004, 3, 14));
        QStringList texts;
        for (const QLabel *label : view.findChildren<QLabel *>())
            texts << label->text();
        EXPECT_TRUE(texts.contains(c.says)) << c.says;
        EXPECT_TRUE(view.panels().empty()) << c.says;
    }
}

} // namespace
} // namespace vexa::test
