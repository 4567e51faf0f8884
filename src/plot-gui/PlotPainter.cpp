#include "PlotPainter.h"

#include "store/DateText.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <cmath>

namespace vexa {

namespace {

const QColor GridColor("#e4e4e4");
const QColor FrameColor("#a0a0a0");
const QColor TextColor("#202020");
constexpr double LegendInset = 4;
constexpr double Swatch = 12;

double lineHeight(const PlotStyle &style)
{
    return std::ceil(QFontMetricsF(style.font()).height());
}

double yOf(const PanelScene &panel, double value)
{
    const ValueSpan &s = panel.span;
    return panel.area.bottom() - (value - s.low) / (s.high - s.low) * panel.area.height();
}

// A label's box kept inside `bounds`, so it is never cut at an edge.
QRectF inside(QRectF box, const QRectF &bounds)
{
    box.moveLeft(std::clamp(box.left(), bounds.left(),
                            std::max(bounds.left(), bounds.right() - box.width())));
    box.moveTop(std::clamp(box.top(), bounds.top(),
                           std::max(bounds.top(), bounds.bottom() - box.height())));
    return box;
}

void paintLines(QPainter &painter, const PlotScene &scene, const PanelScene &panel,
                const PlotData &plot)
{
    painter.save();
    painter.setClipRect(panel.area);
    for (std::size_t i = 0; i < panel.channels.size(); ++i) {
        painter.setPen(QPen(channelColor(plot.channels[panel.channels[i]].slot), 1));
        QPolygonF points;
        for (const std::vector<QPointF> &segment : panel.reduced[i].segments) {
            points.clear();
            points.reserve(static_cast<qsizetype>(segment.size()));
            for (const QPointF &p : segment)
                points.append({scene.xOf(p.x()), yOf(panel, p.y())});
            if (points.size() == 1)
                painter.drawPoint(points.front());
            else
                painter.drawPolyline(points);
        }
    }
    painter.restore();
}

// The 5-pixel squares along the panel's foot, a row per channel.
void paintGapMarks(QPainter &painter, const PlotStyle &style, const PlotScene &scene,
                   const PanelScene &panel)
{
    painter.save();
    painter.setClipRect(panel.area);
    for (std::size_t i = 0; i < panel.channels.size(); ++i) {
        const GapLegend &legend = style.gapLegend(panel.channels[i]);
        const double top = panel.area.bottom() - 6 - 7 * static_cast<double>(i);
        for (const GapMark &gap : panel.reduced[i].gaps) {
            const QColor color = gapColor(legend.groups()[legend.groupOf(gap.status)].kind);
            painter.fillRect(QRectF(scene.xOf(gap.x) - 2.5, top, 5, 5), color);
        }
    }
    painter.restore();
}

// The short name of a legend group: "T.O.", "E12", "E1 to E16383".
QString shortName(const GapGroup &group)
{
    return group.name.section(QLatin1Char(':'), 0, 0);
}

void paintLegend(QPainter &painter, const PlotStyle &style, const PanelScene &panel)
{
    const QFontMetricsF metrics(style.font());
    const double line = lineHeight(style);
    for (std::size_t i = 0; i < panel.channels.size(); ++i) {
        const ChannelSeries &c = style.plot().channels[panel.channels[i]];
        const double y = panel.area.top() + LegendInset + line * static_cast<double>(i);
        if (y + line > panel.area.bottom())
            break;
        // The gap statuses at the right, the channel's own words at the left.
        double right = panel.area.right() - LegendInset - 3;
        const std::vector<GapGroup> &groups = style.gapLegend(panel.channels[i]).groups();
        for (auto g = groups.rbegin(); g != groups.rend(); ++g) {
            const QString name = shortName(*g);
            const double w = metrics.horizontalAdvance(name);
            if (right - w - 8 < panel.area.left() + panel.area.width() / 2)
                break;
            right -= w;
            painter.fillRect(QRectF(right - 2, y, w + 4, line), QColor(255, 255, 255, 210));
            painter.setPen(TextColor);
            painter.drawText(QPointF(right, y + metrics.ascent()), name);
            right -= 8;
            painter.fillRect(QRectF(right, y + line / 2 - 2.5, 5, 5), gapColor(g->kind));
            right -= 8;
        }
        const QPointF at = valueAnchor(style, panel, i);
        const QString &text = panel.legends[static_cast<qsizetype>(i)];
        const double left = panel.area.left() + LegendInset;
        painter.fillRect(QRectF(left, y, at.x() - left, line), QColor(255, 255, 255, 210));
        painter.setPen(QPen(channelColor(c.slot), 2));
        painter.drawLine(QPointF(left + 1, y + line / 2), QPointF(left + Swatch - 1, y + line / 2));
        painter.setPen(TextColor);
        painter.drawText(QPointF(left + Swatch + 3, y + metrics.ascent()), text);
    }
}

void paintPanel(QPainter &painter, const PlotStyle &style, const PlotScene &scene,
                const PanelScene &panel)
{
    const QFontMetricsF metrics(style.font());
    painter.setPen(GridColor);
    for (const Tick &t : scene.timeTicks)
        painter.drawLine(QPointF(scene.xOf(t.at), panel.area.top()),
                         QPointF(scene.xOf(t.at), panel.area.bottom()));
    for (const Tick &t : panel.ticks) {
        const double y = std::round(yOf(panel, t.at)) + 0.5;
        painter.setPen(GridColor);
        painter.drawLine(QPointF(panel.area.left(), y), QPointF(panel.area.right(), y));
        const double w = metrics.horizontalAdvance(t.text);
        const QRectF box =
            inside(QRectF(panel.area.left() - 6 - w, y - metrics.height() / 2, w, metrics.height()),
                   panel.rect);
        painter.setPen(TextColor);
        painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, t.text);
    }
    paintLines(painter, scene, panel, style.plot());
    paintGapMarks(painter, style, scene, panel);
    painter.setPen(FrameColor);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(panel.area);
    if (!panel.note.isEmpty()) {
        painter.setPen(TextColor);
        const QRectF room = panel.area.adjusted(8, lineHeight(style) + 6, -8, -2);
        painter.drawText(room, Qt::AlignCenter | Qt::TextWordWrap, panel.note);
    }
    paintLegend(painter, style, panel);
}

} // namespace

QString plotHeading(const PlotData &plot, const DateText &dates)
{
    const QString date = dates.dateTime(plot.entry.logDate, plot.entry.logTime);
    return plot.title.isEmpty() ? date : date + QStringLiteral("  ") + plot.title;
}

QByteArray pngPicture(QSize size, const Painting &paint)
{
    QImage image(size, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        paint(painter);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "png");
    return bytes;
}

QByteArray svgPicture(QSize size, const QString &title, const Painting &paint)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(title);
    {
        QPainter painter(&generator);
        paint(painter);
    }
    return bytes;
}

QPointF valueAnchor(const PlotStyle &style, const PanelScene &panel, std::size_t line)
{
    const QFontMetricsF metrics(style.font());
    const double y = panel.area.top() + LegendInset + lineHeight(style) * static_cast<double>(line);
    const double x = panel.area.left() + LegendInset + Swatch + 3 +
                     metrics.horizontalAdvance(panel.legends[static_cast<qsizetype>(line)]) + 10;
    return {x, y};
}

void paintScene(QPainter &painter, const PlotStyle &style, const PlotScene &scene)
{
    painter.fillRect(QRect(QPoint(0, 0), scene.size), Qt::white);
    painter.setFont(style.font());
    const QFontMetricsF metrics(style.font());
    painter.setPen(TextColor);
    QFont bold = style.font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.drawText(
        scene.headingRect, Qt::AlignLeft | Qt::AlignVCenter,
        QFontMetricsF(bold).elidedText(scene.heading, Qt::ElideRight, scene.headingRect.width()));
    painter.setFont(style.font());
    if (scene.panels.empty()) {
        const QString none = style.plot().times.empty() ? QObject::tr("The log holds no scans.")
                                                        : QObject::tr("No channel is shown.");
        painter.drawText(QRectF(QPointF(0, 0), QSizeF(scene.size)), Qt::AlignCenter, none);
        return;
    }
    for (const PanelScene &panel : scene.panels)
        paintPanel(painter, style, scene, panel);
    const QString unit = scene.mode == TimeMode::FromStart ? QStringLiteral(" s") : QString();
    const QRectF bounds(scene.panels.front().area.left() - 40, scene.axisRect.top(),
                        scene.axisRect.width(), scene.axisRect.height());
    painter.setPen(TextColor);
    for (const Tick &t : scene.timeTicks) {
        const QString text = t.text + unit;
        const double w = metrics.horizontalAdvance(text);
        const QRectF box =
            inside(QRectF(scene.xOf(t.at) - w / 2, scene.axisRect.top() + 3, w, metrics.height()),
                   bounds.intersected(QRectF(QPointF(0, 0), QSizeF(scene.size))));
        painter.drawText(box, Qt::AlignCenter, text);
    }
}

void paintCursor(QPainter &painter, const PlotStyle &style, const PlotScene &scene,
                 std::size_t scan, std::optional<std::size_t> mark)
{
    const PlotData &plot = style.plot();
    if (scene.panels.empty() || scan >= plot.scanCount())
        return;
    const QRectF first = scene.panels.front().area;
    const QRectF last = scene.panels.back().area;
    const QRectF all(first.topLeft(), last.bottomRight());
    const double x = scene.xOf(plot.times[scan]);
    painter.save();
    painter.setClipRect(all.adjusted(0, 0, 1, 1));
    if (mark && *mark < plot.scanCount()) {
        const double m = scene.xOf(plot.times[*mark]);
        painter.fillRect(
            QRectF(QPointF(std::min(m, x), all.top()), QPointF(std::max(m, x), all.bottom())),
            QColor(70, 130, 180, 40));
        painter.setPen(QPen(QColor("#4682b4"), 1, Qt::DashLine));
        painter.drawLine(QPointF(m, all.top()), QPointF(m, all.bottom()));
    }
    painter.setPen(QPen(QColor("#303030"), 1));
    painter.drawLine(QPointF(x, all.top()), QPointF(x, all.bottom()));
    painter.restore();

    painter.setFont(style.font());
    const QFontMetricsF metrics(style.font());
    const double line = lineHeight(style);
    // Where the values are read: the scan and its time, on the time axis.
    const QString when =
        scene.mode == TimeMode::FromStart
            ? numberText((plot.times[scan] - plot.times.front()) / 1000, 2) + QStringLiteral(" s")
            : timeOfDayText(plot.times[scan]);
    const QString label = QObject::tr("Scan %1 at %2").arg(scan + 1).arg(when);
    const double labelWidth = metrics.horizontalAdvance(label) + 8;
    const QRectF axisBox = inside(QRectF(x - labelWidth / 2, scene.axisRect.top() + 1, labelWidth,
                                         scene.axisRect.height() - 2),
                                  QRectF(QPointF(0, 0), QSizeF(scene.size)));
    painter.fillRect(axisBox, QColor(255, 255, 225));
    painter.setPen(QColor("#303030"));
    painter.drawRect(axisBox.adjusted(0, 0, -1, -1));
    painter.drawText(axisBox, Qt::AlignCenter, label);
    for (const PanelScene &panel : scene.panels)
        for (std::size_t i = 0; i < panel.channels.size(); ++i) {
            const QPointF at = valueAnchor(style, panel, i);
            if (at.y() + line > panel.area.bottom())
                break;
            const QString text = cursorValueText(plot.channels[panel.channels[i]], scan);
            const double w = metrics.horizontalAdvance(text);
            painter.fillRect(QRectF(at.x() - 3, at.y(), w + 6, line), QColor(255, 255, 225));
            painter.setPen(TextColor);
            painter.drawText(QPointF(at.x(), at.y() + metrics.ascent()), text);
        }
}

} // namespace vexa
