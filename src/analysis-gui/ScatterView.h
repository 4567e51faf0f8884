// The scatter of the scans a table counts, drawn as the plot draws: the
// dots go into a picture kept until the size or the scans change, so a
// repaint of a million dots costs one image copy.
#pragma once

#include "analysis/ScatterFrame.h"

#include <QImage>
#include <QWidget>

#include <memory>

namespace vexa {

using ScatterPoints = std::shared_ptr<const std::vector<CountedScan>>;

class ScatterView : public QWidget {
    Q_OBJECT

public:
    ScatterView(ScatterPoints points, ScatterFrame frame, QWidget *parent = nullptr);

    const ScatterFrame &frame() const { return m_frame; }
    std::size_t pointCount() const { return m_points->size(); }
    // The dots' area, axes, labels and colour bar at `size`.
    void paintScatter(QPainter &painter, QSize size) const;
    QByteArray png() const;
    // The dots alone, filling an area of `areaSize`.
    const QImage &dotsImage(QSize areaSize) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    // Over a dot: its scan's values in a tooltip.
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    struct Layout;
    Layout layout(QSize size) const;

    ScatterPoints m_points;
    ScatterFrame m_frame;
    QFont m_font;
    mutable QImage m_dots;
};

} // namespace vexa
