// One channel of a scan log drawn against the time of day: its lines, the
// marks of its gaps, and a rubber band that picks a time range.
#pragma once

#include "plot/GapLegend.h"
#include "plot/PlotReduction.h"

#include <QChartView>

class QDateTimeAxis;
class QGraphicsTextItem;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

namespace vexa {

class GapMarks;

class ChannelPanel : public QChartView {
    Q_OBJECT

public:
    // `epochOffset`: ms since the epoch of the log's midnight, for the axis.
    ChannelPanel(const PlotData &plot, const ChannelSeries &channel, qint64 epochOffset,
                 bool timeLabels, QWidget *parent = nullptr);

    // Draws the range reduced to the plot area's width.
    void showRange(TimeRange range);
    TimeRange range() const { return m_range; }
    const ChannelSeries &channel() const { return m_channel; }
    // The lines drawn, one per unbroken stretch; the gaps' legend lines and
    // their marks.
    QList<QLineSeries *> lines() const;
    QStringList gapLegend() const;
    const GapMarks &gapMarks() const { return *m_gaps; }
    // Why the range draws no line, when it draws none.
    QString note() const;

signals:
    // The user zoomed this panel: every panel follows.
    void rangeChosen(vexa::TimeRange range);
    void cursorAt(double ms);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QLineSeries *line(std::size_t index);
    int columns() const;
    void onAxisChanged();
    // The marks at value `at`.
    void showGaps(const std::vector<GapMark> &gaps, double at);
    void showNote(const ReducedChannel &reduced);

    const PlotData &m_plot;
    const ChannelSeries &m_channel;
    qint64 m_offset;
    QDateTimeAxis *m_time = nullptr;
    QValueAxis *m_value = nullptr;
    int m_decimals = 0; // the parameter's
    GapLegend m_legend;
    std::vector<QLineSeries *> m_lines;
    std::vector<QScatterSeries *> m_gapLegend; // one per legend group
    GapMarks *m_gaps = nullptr;
    QGraphicsTextItem *m_note = nullptr;
    TimeRange m_range;
    bool m_setting = false;
};

} // namespace vexa
