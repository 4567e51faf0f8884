// Where everything of a plot goes for one size, time range and choice of
// panels: the heading, each panel with its value span, ticks and lines
// reduced to its width, and the time axis. The window, its pictures and
// the batch tool's files draw the same scene.
#pragma once

#include "plot/GapLegend.h"
#include "plot/PanelLayout.h"
#include "plot/PlotAxis.h"
#include "plot/PlotReduction.h"

#include <QFont>
#include <QRectF>

#include <vector>

namespace vexa {

struct PanelScene {
    std::vector<std::size_t> channels; // of PlotData
    QRectF rect;                       // the whole panel
    QRectF area;                       // where the lines go
    ValueSpan span;
    std::vector<Tick> ticks;
    std::vector<ReducedChannel> reduced; // one per channel
    QStringList legends;                 // one line per channel
    QString note;                        // why no line, when none is drawn
};

struct PlotScene {
    QSize size;
    TimeRange range;
    TimeMode mode = TimeMode::TimeOfDay;
    QString heading;
    QRectF headingRect;
    QRectF axisRect; // the time labels, under the last panel
    std::vector<Tick> timeTicks;
    std::vector<PanelScene> panels;

    double xOf(double ms) const;
    double msAt(double x) const;
    // The panel at height `y`, or none.
    const PanelScene *panelAt(double y) const;
};

// What the scene needs of the log beyond the samples, found once per log.
class PlotStyle {
public:
    static constexpr int MinimumPanelHeight = 48;

    explicit PlotStyle(const PlotData &plot);

    const PlotData &plot() const { return m_plot; }
    const QFont &font() const { return m_font; }
    const GapLegend &gapLegend(std::size_t channel) const { return m_gaps[channel]; }
    // The height that gives every one of `panels` its minimum.
    int minimumHeight(std::size_t panels) const;

    PlotScene layout(QSize size, TimeRange range, const PanelLayout &panels, TimeMode mode,
                     const QString &heading) const;

private:
    void layoutPanel(PanelScene &panel, TimeRange range, int columns) const;

    const PlotData &m_plot;
    QFont m_font;
    std::vector<GapLegend> m_gaps;
    std::vector<double> m_minimumSpans;
    mutable double m_lastLeft = 50;
};

// The font of the plot's texts, and of every chart that should look like it.
QFont plotFont();

QColor channelColor(int slot);
QColor gapColor(GapKind kind);

} // namespace vexa
