// The gap marks of one channel's panel: 5-pixel squares along its foot, in
// the colour of their legend line. One item paints them all; a scatter
// series would make an item of every mark, and a log with a gap in every
// column spent seconds laying them out.
#pragma once

#include <QColor>
#include <QGraphicsItem>

#include <vector>

class QChart;
class QDateTimeAxis;
class QValueAxis;

namespace vexa {

class GapMarks : public QGraphicsItem {
public:
    // A child of `chart`, stacked where its next series would be.
    GapMarks(QChart *chart, const QDateTimeAxis *time, const QValueAxis *value);

    struct Group {
        QColor color;
        std::vector<double> times; // ms since the epoch
    };
    // Drawn in order, each at `value` on the axis.
    void setMarks(std::vector<Group> groups, double value);
    const std::vector<Group> &groups() const { return m_groups; }

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

private:
    QChart *m_chart;
    const QDateTimeAxis *m_time;
    const QValueAxis *m_value;
    std::vector<Group> m_groups;
    double m_at = 0;
};

} // namespace vexa
