// The panels of a scan log, one per channel or pair of channels, stacked on
// a shared time axis, with a cursor across them. It holds the log's full
// data; the panels draw it reduced, from a picture kept until the view
// changes, so that the cursor costs only its own line and values.
//
// Mouse: the cursor follows it until a click locks it; Shift+click marks a
// range's other end; a drag zooms to its range, with Shift or the middle
// button it pans; the wheel zooms around the mouse; a right-click zooms out.
// Keys: Left/Right a scan, Page Up/Down a tenth of the view, Home/End the
// ends, Up/Down or +/- zoom, Shift+Left/Right pan, Space marks the range's
// other end at the cursor, Esc shows the whole log.
#pragma once

#include "PlotScene.h"
#include "plot/PlotNavigation.h"
#include "plot/RangeStats.h"

#include <QPixmap>
#include <QWidget>

class QByteArray;

namespace vexa {

class PlotView : public QWidget {
    Q_OBJECT

public:
    PlotView(PlotData plot, QString heading, QWidget *parent = nullptr);

    const PlotData &data() const { return m_plot; }
    const PlotStyle &style() const { return m_style; }
    // What every panel draws now.
    const PlotScene &scene();
    TimeRange range() const { return m_view.range(); }
    const TimeView &timeView() const { return m_view; }
    const ScanCursor &cursor() const { return m_cursor; }
    TimeMode timeMode() const { return m_mode; }
    const PanelLayout &panelLayout() const { return m_panels; }
    // The marked range, or the scans in view.
    RangeStats stats() const;

    void showRange(TimeRange range);
    void resetZoom();
    void zoom(double anchor, double factor);
    void pan(double ms);
    void scrollTo(int value);
    void moveCursor(CursorMove move);
    void markAtCursor();
    void setTimeMode(TimeMode mode);
    void setPanelLayout(const PanelLayout &panels);

    // The picture without the cursor, at the view's size.
    QByteArray png();
    QByteArray svg();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The range, the cursor or the mark changed.
    void viewChanged();
    void cursorChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    enum class Drag { None, Zoom, Pan };

    void changed();
    std::size_t scanAtX(double x) const;

    PlotData m_plot;
    PlotStyle m_style;
    QString m_heading;
    TimeView m_view;
    ScanCursor m_cursor;
    PanelLayout m_panels;
    TimeMode m_mode = TimeMode::TimeOfDay;
    PlotScene m_scene;
    bool m_sceneStale = true;
    QPixmap m_picture;
    bool m_pictureStale = true;

    Drag m_drag = Drag::None;
    QPointF m_pressAt;
    QPointF m_dragAt;
    bool m_moved = false;
};

} // namespace vexa
