#include "PlotScene.h"

#include <QColor>
#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace vexa {

namespace {

constexpr double RightMargin = 10;
constexpr double PanelGap = 3; // between a panel's edge and its plot area

} // namespace

QColor channelColor(int slot)
{
    static const QColor colors[] = {"#1f77b4", "#d62728", "#2ca02c", "#9467bd", "#8c564b",
                                    "#e377c2", "#17becf", "#bcbd22", "#ff7f0e", "#7f7f7f"};
    return colors[slot % 10];
}

QColor gapColor(GapKind kind)
{
    switch (kind) {
    case GapKind::TimedOut:
        return QColor("#ff9900");
    case GapKind::Error:
        return QColor("#cc0000");
    case GapKind::Flagged:
        break;
    }
    return QColor("#888888");
}

double PlotScene::xOf(double ms) const
{
    if (panels.empty())
        return 0;
    const QRectF &area = panels.front().area;
    return area.left() + (ms - range.from) / (range.to - range.from) * area.width();
}

double PlotScene::msAt(double x) const
{
    if (panels.empty())
        return range.from;
    const QRectF &area = panels.front().area;
    return range.from + (x - area.left()) / area.width() * (range.to - range.from);
}

const PanelScene *PlotScene::panelAt(double y) const
{
    for (const PanelScene &panel : panels)
        if (y >= panel.rect.top() && y < panel.rect.bottom())
            return &panel;
    return nullptr;
}

QFont plotFont()
{
    QFont font;
    font.setPointSize(8);
    return font;
}

PlotStyle::PlotStyle(const PlotData &plot) : m_plot(plot), m_font(plotFont())
{
    for (const ChannelSeries &c : plot.channels) {
        m_gaps.emplace_back(c.status);
        m_minimumSpans.push_back(minimumValueSpan(c));
    }
}

int PlotStyle::minimumHeight(std::size_t panels) const
{
    const QFontMetricsF metrics(m_font);
    return static_cast<int>(std::ceil(2 * (metrics.height() + 6))) +
           static_cast<int>(panels) * MinimumPanelHeight;
}

PlotScene PlotStyle::layout(QSize size, TimeRange range, const PanelLayout &panels, TimeMode mode,
                            const QString &heading) const
{
    const QFontMetricsF metrics(m_font);
    const double line = std::ceil(metrics.height());
    PlotScene scene;
    scene.size = size;
    scene.range = range;
    scene.mode = mode;
    scene.heading = heading;
    scene.headingRect = QRectF(4, 0, std::max(size.width() - 8, 1), line + 6);
    const std::vector<std::vector<std::size_t>> chosen =
        m_plot.times.empty() ? std::vector<std::vector<std::size_t>>{} : panels.panels();
    const double top = scene.headingRect.bottom();
    const double bottom = size.height() - (line + 6);
    const double height = chosen.empty() ? 0 : (bottom - top) / static_cast<double>(chosen.size());

    // Reduced once, to the width of the last layout's plot area: a column
    // or two more or less than the pixels draws the same lines.
    double labelWidth = 0;
    const int columns = std::max(static_cast<int>(size.width() - m_lastLeft - RightMargin), 20);
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        PanelScene panel;
        panel.channels = chosen[i];
        panel.rect = QRectF(0, top + height * static_cast<double>(i), size.width(), height);
        panel.area = panel.rect.adjusted(0, PanelGap, -RightMargin, -PanelGap);
        layoutPanel(panel, range, columns);
        for (const Tick &t : panel.ticks)
            labelWidth = std::max(labelWidth, metrics.horizontalAdvance(t.text));
        scene.panels.push_back(std::move(panel));
    }
    // The widest value label sets where every plot area starts, so that the
    // time axes line up.
    const double left = std::min(std::ceil(labelWidth) + 10, size.width() / 3.0);
    m_lastLeft = left;
    // A legend that would leave no room for the value at the cursor keeps
    // its code and unit only.
    const double valueRoom = metrics.horizontalAdvance(QStringLiteral("-00000.00 DEGF  T.O.")) + 40;
    for (PanelScene &panel : scene.panels) {
        panel.area.setLeft(left);
        for (std::size_t i = 0; i < panel.channels.size(); ++i) {
            QString &legend = panel.legends[static_cast<qsizetype>(i)];
            if (metrics.horizontalAdvance(legend) + valueRoom > panel.area.width())
                legend = shortChannelLegend(m_plot.channels[panel.channels[i]]);
        }
    }
    scene.axisRect = QRectF(0, bottom, size.width(), line + 6);
    if (!scene.panels.empty()) {
        const double labelRoom = metrics.horizontalAdvance(QStringLiteral("00:00:00.00 s")) + 16;
        const int most = std::max(2, static_cast<int>(scene.panels[0].area.width() / labelRoom));
        scene.timeTicks = timeTicks(range.from, range.to, m_plot.times.front(), mode, most);
    }
    return scene;
}

void PlotStyle::layoutPanel(PanelScene &panel, TimeRange range, int columns) const
{
    const QFontMetricsF metrics(m_font);
    panel.reduced.clear();
    panel.legends.clear();
    double low = INFINITY, high = -INFINITY, minimum = 0;
    bool notNumbers = false;
    for (const std::size_t c : panel.channels) {
        ReducedChannel reduced = reduceChannel(m_plot, m_plot.channels[c], range, columns);
        if (!reduced.segments.empty()) {
            low = std::min(low, reduced.minValue);
            high = std::max(high, reduced.maxValue);
        }
        notNumbers = notNumbers || reduced.notNumbers;
        minimum = std::max(minimum, m_minimumSpans[c]);
        panel.reduced.push_back(std::move(reduced));
        panel.legends << channelLegend(m_plot.channels[c]);
    }
    panel.ticks.clear();
    panel.note.clear();
    if (low > high) {
        panel.span = {0, 1};
        panel.note = notNumbers ? QObject::tr("No value to draw: every value here is NaN, INF or "
                                              "a gap. The value at the cursor shows each.")
                                : QObject::tr("No value to draw: every scan here is a gap. The "
                                              "value at the cursor shows its status.");
        return;
    }
    panel.span = valueSpan(low, high, minimum);
    const int most = std::max(2, static_cast<int>(panel.area.height() / (metrics.height() * 1.6)));
    panel.ticks = valueTicks(panel.span.low, panel.span.high, most);
}

} // namespace vexa
