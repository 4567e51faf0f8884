#include "ChannelPanel.h"

#include "GapMarks.h"
#include "format/ParamCatalogue.h"

#include <QDateTime>
#include <QDateTimeAxis>
#include <QGraphicsLayout>
#include <QGraphicsTextItem>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>

namespace vexa {

namespace {

QColor channelColor(int slot)
{
    static const QColor colors[] = {"#1f77b4", "#d62728", "#2ca02c", "#9467bd", "#8c564b",
                                    "#e377c2", "#17becf", "#bcbd22", "#ff7f0e", "#7f7f7f"};
    return colors[slot % 10];
}

// Room for the value labels on the left and the legend on the right, the
// same in every panel so that their time axes line up.
constexpr int LabelWidth = 64;
constexpr int LegendWidth = 250;
constexpr int TimeLabelHeight = 22;

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

// The value labels with the parameter's decimals, fewer, or as a power of
// ten, whichever first fits left of the plot area: a value near 3.4e38 has
// 39 digits. The axis's three ticks are its ends and its middle.
QString labelFormat(const QFont &font, int decimals, double low, double high)
{
    const QFontMetricsF metrics(font);
    // Less the axis's 5-pixel gap to the plot area and the label's 2 of margin.
    const double room = LabelWidth - 7;
    const auto fits = [&](const QString &format) {
        const QByteArray pattern = format.toLatin1();
        for (const double v : {low, (low + high) / 2, high})
            if (metrics.horizontalAdvance(QString::asprintf(pattern.constData(), v)) > room)
                return false;
        return true;
    };
    for (int d = decimals; d >= 0; --d)
        if (const QString fixed = QStringLiteral("%.%1f").arg(d); fits(fixed))
            return fixed;
    for (int digits = 6; digits > 1; --digits)
        if (const QString power = QStringLiteral("%.%1g").arg(digits); fits(power))
            return power;
    return QStringLiteral("%.1g");
}

} // namespace

ChannelPanel::ChannelPanel(const PlotData &plot, const ChannelSeries &channel, qint64 epochOffset,
                           bool timeLabels, QWidget *parent)
    : QChartView(parent), m_plot(plot), m_channel(channel), m_offset(epochOffset),
      m_legend(channel.status)
{
    setObjectName(QString::fromStdString(channel.code));
    auto *chart = new QChart;
    chart->setBackgroundRoundness(0);
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->legend()->setAlignment(Qt::AlignRight);
    chart->legend()->setMinimumWidth(LegendWidth);
    chart->legend()->setMaximumWidth(LegendWidth);
    QFont small = font();
    small.setPointSize(8);
    chart->legend()->setFont(small);
    setChart(chart);
    setRenderHint(QPainter::Antialiasing, false);
    setRubberBand(QChartView::HorizontalRubberBand);
    setMouseTracking(true);
    setMinimumHeight(70);

    m_time = new QDateTimeAxis;
    m_time->setFormat(QStringLiteral("hh:mm:ss"));
    m_time->setLabelsVisible(timeLabels);
    m_time->setLabelsFont(small);
    m_time->setTickCount(9);
    m_value = new QValueAxis;
    m_value->setLabelsFont(small);
    m_value->setTickCount(3);
    const ParamRow *row = findParam(channel.code);
    m_decimals = row && row->decimals > 0 ? row->decimals : 0;
    chart->addAxis(m_time, Qt::AlignBottom);
    chart->addAxis(m_value, Qt::AlignLeft);

    line(0)->setName(QStringLiteral("%1 (%2) %3")
                         .arg(QString::fromStdString(channel.code),
                              QString::fromStdString(channel.units),
                              QString::fromStdString(channel.description)));
    // Every status the log holds is in the legend, zoomed or not: a series
    // with no points shows each line, and one item draws the marks.
    for (const GapGroup &group : m_legend.groups()) {
        auto *legend = new QScatterSeries;
        legend->setName(group.name);
        legend->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
        legend->setMarkerSize(5);
        legend->setColor(gapColor(group.kind));
        legend->setBorderColor(gapColor(group.kind));
        chart->addSeries(legend);
        legend->attachAxis(m_time);
        legend->attachAxis(m_value);
        m_gapLegend.push_back(legend);
    }
    m_gaps = new GapMarks(chart, m_time, m_value);
    m_note = new QGraphicsTextItem(chart);
    m_note->setFont(small);
    connect(m_time, &QDateTimeAxis::rangeChanged, this, &ChannelPanel::onAxisChanged);
}

QLineSeries *ChannelPanel::line(std::size_t index)
{
    while (m_lines.size() <= index) {
        auto *series = new QLineSeries;
        series->setPen(QPen(channelColor(m_channel.slot), 1));
        chart()->addSeries(series);
        series->attachAxis(m_time);
        series->attachAxis(m_value);
        if (!m_lines.empty())
            for (QLegendMarker *marker : chart()->legend()->markers(series))
                marker->setVisible(false);
        m_lines.push_back(series);
    }
    return m_lines[index];
}

int ChannelPanel::columns() const
{
    return std::max(width() - LabelWidth - LegendWidth, 20);
}

void ChannelPanel::showRange(TimeRange range)
{
    m_range = range;
    const ReducedChannel reduced = reduceChannel(m_plot, m_channel, range, columns());
    for (std::size_t i = 0; i < std::max(reduced.segments.size(), m_lines.size()); ++i) {
        QList<QPointF> points;
        if (i < reduced.segments.size()) {
            points.reserve(static_cast<qsizetype>(reduced.segments[i].size()));
            for (const QPointF &p : reduced.segments[i])
                points.append({p.x() + static_cast<double>(m_offset), p.y()});
        }
        line(i)->replace(points);
    }
    double low = reduced.minValue, high = reduced.maxValue;
    const double pad = high > low ? (high - low) * 0.05 : 1;
    low -= pad;
    high += pad;
    showGaps(reduced.gaps, low + pad * 0.5);
    showNote(reduced);

    m_setting = true;
    m_value->setLabelFormat(labelFormat(m_value->labelsFont(), m_decimals, low, high));
    m_value->setRange(low, high);
    m_time->setRange(QDateTime::fromMSecsSinceEpoch(m_offset + std::llround(range.from)),
                     QDateTime::fromMSecsSinceEpoch(m_offset + std::llround(range.to)));
    m_setting = false;
}

void ChannelPanel::showGaps(const std::vector<GapMark> &gaps, double at)
{
    std::vector<GapMarks::Group> groups;
    for (const GapGroup &group : m_legend.groups())
        groups.push_back({gapColor(group.kind), {}});
    for (const GapMark &gap : gaps)
        groups[m_legend.groupOf(gap.status)].times.push_back(gap.x + static_cast<double>(m_offset));
    m_gaps->setMarks(std::move(groups), at);
}

QList<QLineSeries *> ChannelPanel::lines() const
{
    QList<QLineSeries *> drawn;
    for (QLineSeries *series : m_lines)
        if (series->count() > 0)
            drawn.append(series);
    return drawn;
}

QStringList ChannelPanel::gapLegend() const
{
    QStringList names;
    for (const QScatterSeries *series : m_gapLegend)
        names << series->name();
    return names;
}

QString ChannelPanel::note() const
{
    return m_note->isVisible() ? m_note->toPlainText() : QString();
}

void ChannelPanel::showNote(const ReducedChannel &reduced)
{
    // Axis labels of an empty range would be numbers of nothing.
    const bool empty = reduced.segments.empty();
    m_value->setLabelsVisible(!empty);
    m_note->setVisible(empty);
    if (!empty)
        return;
    m_note->setPlainText(reduced.notNumbers ? tr("No value to draw: every value here is NaN, "
                                                 "INF or a gap. The readout shows each.")
                                            : tr("No value to draw: every scan here is a gap. "
                                                 "The readout shows its status."));
    const QRectF area = chart()->plotArea();
    m_note->setTextWidth(area.width());
    m_note->setPos(area.topLeft());
}

void ChannelPanel::onAxisChanged()
{
    if (m_setting)
        return;
    const double from = static_cast<double>(m_time->min().toMSecsSinceEpoch() - m_offset);
    const double to = static_cast<double>(m_time->max().toMSecsSinceEpoch() - m_offset);
    if (to > from)
        emit rangeChosen({from, to});
}

void ChannelPanel::mouseMoveEvent(QMouseEvent *event)
{
    QChartView::mouseMoveEvent(event);
    const QPointF value = chart()->mapToValue(event->position());
    emit cursorAt(value.x() - static_cast<double>(m_offset));
}

void ChannelPanel::resizeEvent(QResizeEvent *event)
{
    QChartView::resizeEvent(event);
    const double w = width(), h = height();
    const double bottom = m_time->labelsVisible() ? TimeLabelHeight : 8;
    chart()->setPlotArea(QRectF(LabelWidth, 8, std::max(w - LabelWidth - LegendWidth, 20.0),
                                std::max(h - 8 - bottom, 10.0)));
    if (m_range.to > m_range.from)
        showRange(m_range);
}

} // namespace vexa
