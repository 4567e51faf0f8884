// The panels of a scan log, one per channel, stacked on a shared time axis:
// a zoom in one is a zoom in all. It holds the log's full data for the
// readout; the panels draw it reduced.
#pragma once

#include "plot/PlotReduction.h"

#include <QDate>
#include <QWidget>

class QByteArray;

namespace vexa {

class ChannelPanel;

class PlotView : public QWidget {
    Q_OBJECT

public:
    PlotView(PlotData plot, QDate logDate, QWidget *parent = nullptr);

    const PlotData &data() const { return m_plot; }
    const std::vector<ChannelPanel *> &panels() const { return m_panels; }
    TimeRange range() const { return m_range; }

    void showRange(TimeRange range);
    void resetZoom() { showRange(fullRange(m_plot)); }
    // "Scan 12 at 14:05:09.12" and one "RPM 2500 RPM" line per channel.
    QString readout(double ms) const;

    // The picture as it shows now.
    QByteArray png();
    QByteArray svg();

signals:
    void cursorAt(double ms);

private:
    PlotData m_plot;
    std::vector<ChannelPanel *> m_panels;
    TimeRange m_range;
};

} // namespace vexa
