#include "GapMarks.h"

#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QPainter>
#include <QValueAxis>

#include <algorithm>

namespace vexa {

namespace {

// QtCharts stacks every series at this z, in the order they were added.
constexpr qreal SeriesZ = 4;

} // namespace

GapMarks::GapMarks(QChart *chart, const QDateTimeAxis *time, const QValueAxis *value)
    : QGraphicsItem(chart), m_chart(chart), m_time(time), m_value(value)
{
    setZValue(SeriesZ);
}

void GapMarks::setMarks(std::vector<Group> groups, double value)
{
    prepareGeometryChange(); // the chart's size, after a resize
    m_groups = std::move(groups);
    m_at = value;
    // Not even an empty group in an SVG file when there is nothing to draw.
    setVisible(std::any_of(m_groups.begin(), m_groups.end(),
                           [](const Group &group) { return !group.times.empty(); }));
    update();
}

QRectF GapMarks::boundingRect() const
{
    return m_chart->rect();
}

void GapMarks::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    // Placed, sized and clipped as a scatter series of 5-pixel squares and a
    // 1-pixel pen places them, to the same pixels; like it, a mark whose
    // time is off the axis is not drawn at all.
    const QRectF area = m_chart->plotArea();
    const auto minX = static_cast<double>(m_time->min().toMSecsSinceEpoch());
    const auto maxX = static_cast<double>(m_time->max().toMSecsSinceEpoch());
    const double minY = m_value->min();
    const double maxY = m_value->max();
    if (area.isEmpty() || !(maxX > minX) || !(maxY > minY) || m_at < minY || m_at > maxY)
        return;
    const double perMs = area.width() / (maxX - minX);
    const double top = area.height() - (m_at - minY) * (area.height() / (maxY - minY)) - 3;
    painter->save();
    painter->translate(area.topLeft());
    painter->setClipRect(QRectF(QPointF(0, 0), area.size()));
    const QTransform corner = painter->transform();
    for (const Group &group : m_groups) {
        painter->setPen(QPen(group.color, 1));
        painter->setBrush(group.color);
        for (const double t : group.times) {
            if (t < minX || t > maxX)
                continue;
            painter->setTransform(QTransform(corner).translate((t - minX) * perMs - 3, top));
            painter->drawRect(QRectF(0, 0, 5, 5));
        }
    }
    painter->restore();
}

} // namespace vexa
