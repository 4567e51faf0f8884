#include "ScatterView.h"

#include "TableColours.h"

#include "plot-gui/PlotPainter.h"
#include "plot-gui/PlotScene.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <array>
#include <cmath>

namespace vexa {

namespace {

constexpr int TickLength = 4;
constexpr int BarWidth = 14;
constexpr int Gap = 6;
// Grey, not white: a trim of 0 is white and must still show.
constexpr QRgb DotsGround = 0xffd2d2d2;
constexpr double DotReach = 4; // pixels from a dot's centre that still point at it

int widestText(const QFontMetrics &metrics, const std::vector<Tick> &ticks)
{
    int widest = 0;
    for (const Tick &t : ticks)
        widest = std::max(widest, metrics.horizontalAdvance(t.text));
    return widest;
}

// Distinct colours are few: one of 256 steps per dot, not a mix per dot.
std::array<QRgb, 256> colourSteps(const ColourScale &scale)
{
    std::array<QRgb, 256> steps{};
    for (std::size_t i = 0; i < steps.size(); ++i)
        steps[i] =
            qColor(scale.colour(scale.low + (scale.high - scale.low) * double(i) / 255)).rgb();
    return steps;
}

} // namespace

struct ScatterView::Layout {
    QRect area, bar;
    std::vector<Tick> xTicks, yTicks, barTicks;
};

ScatterView::ScatterView(ScatterPoints points, ScatterFrame frame, QWidget *parent)
    : QWidget(parent), m_points(std::move(points)), m_frame(std::move(frame)), m_font(plotFont())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setMinimumSize(320, 240);
}

ScatterView::Layout ScatterView::layout(QSize size) const
{
    const QFontMetrics metrics(m_font);
    const int line = metrics.height();
    Layout l;
    // The value's code sits over the bar, clear of its highest tick's label.
    const int top = 2 * line, bottom = TickLength + 2 * line + Gap;
    const int height = std::max(size.height() - top - bottom, 1);
    l.yTicks = scatterTicks(m_frame.ySpan, height);
    l.barTicks = scatterTicks(m_frame.colourSpan, height);
    const int left = Gap + line + Gap + widestText(metrics, l.yTicks) + TickLength;
    const int right =
        3 * Gap + BarWidth + TickLength +
        std::max(widestText(metrics, l.barTicks),
                 metrics.horizontalAdvance(QString::fromStdString(m_frame.value)) / 2);
    l.area = QRect(left, top, std::max(size.width() - left - right, 1), height);
    l.xTicks = scatterTicks(m_frame.xSpan, l.area.width());
    l.bar = QRect(l.area.right() + 3 * Gap, top, BarWidth, height);
    return l;
}

const QImage &ScatterView::dotsImage(QSize areaSize) const
{
    if (m_dots.size() == areaSize)
        return m_dots;
    m_dots = QImage(areaSize, QImage::Format_RGB32);
    m_dots.fill(DotsGround);
    const int width = areaSize.width(), height = areaSize.height();
    // Pixel centres from the first to the last: the span's ends are the
    // area's edges.
    const QRectF centres(0, 0, width - 1, height - 1);
    const ColourScale &scale = m_frame.colours;
    const std::array<QRgb, 256> steps = colourSteps(scale);
    const double perStep = scale.high > scale.low ? 255 / (scale.high - scale.low) : 0;
    // Dense clouds read better with smaller dots.
    const int size = m_points->size() > 100'000 ? 2 : 3;
    auto *const bits = reinterpret_cast<QRgb *>(m_dots.bits());
    const qsizetype stride = m_dots.bytesPerLine() / qsizetype(sizeof(QRgb));
    for (const CountedScan &p : *m_points) {
        const QPointF at = m_frame.at(p.x, p.y, centres);
        const int x0 = std::clamp(int(std::lround(at.x())) - size / 2, 0, width - 1);
        const int y0 = std::clamp(int(std::lround(at.y())) - size / 2, 0, height - 1);
        const int x1 = std::min(x0 + size, width), y1 = std::min(y0 + size, height);
        const QRgb colour =
            steps[std::size_t(std::clamp((p.value - scale.low) * perStep + 0.5, 0.0, 255.0))];
        for (int y = y0; y < y1; ++y)
            std::fill(bits + y * stride + x0, bits + y * stride + x1, colour);
    }
    return m_dots;
}

void ScatterView::paintScatter(QPainter &painter, QSize size) const
{
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    const Layout l = layout(size);
    painter.drawImage(l.area.topLeft(), dotsImage(l.area.size()));
    painter.setFont(m_font);
    painter.setPen(Qt::black);
    painter.drawRect(l.area.adjusted(0, 0, -1, -1));
    const QFontMetrics metrics(m_font);
    const int line = metrics.height();
    const QRectF centres(l.area.left(), l.area.top(), l.area.width() - 1, l.area.height() - 1);

    for (const Tick &t : l.xTicks) {
        const int x = int(std::lround(m_frame.at(t.at, m_frame.ySpan.low, centres).x()));
        painter.drawLine(x, l.area.bottom(), x, l.area.bottom() + TickLength);
        painter.drawText(QRect(x - 50, l.area.bottom() + TickLength, 100, line), Qt::AlignCenter,
                         t.text);
    }
    painter.drawText(
        QRect(l.area.left(), l.area.bottom() + TickLength + line, l.area.width(), line),
        Qt::AlignCenter, QString::fromStdString(m_frame.x));
    for (const Tick &t : l.yTicks) {
        const int y = int(std::lround(m_frame.at(m_frame.xSpan.low, t.at, centres).y()));
        painter.drawLine(l.area.left() - TickLength, y, l.area.left(), y);
        painter.drawText(QRect(0, y - line / 2, l.area.left() - TickLength - 2, line),
                         Qt::AlignRight | Qt::AlignVCenter, t.text);
    }
    painter.save();
    painter.translate(Gap, l.area.center().y());
    painter.rotate(-90);
    painter.drawText(QRect(-l.area.height() / 2, 0, l.area.height(), line), Qt::AlignCenter,
                     QString::fromStdString(m_frame.y));
    painter.restore();

    // The bar: the value's colours from its lowest (at the bottom) to its
    // highest.
    QImage bar(1, l.bar.height(), QImage::Format_RGB32);
    const ValueSpan &span = m_frame.colourSpan;
    const auto barY = [&](double v) {
        return l.bar.bottom() - (v - span.low) / (span.high - span.low) * (l.bar.height() - 1);
    };
    for (int row = 0; row < bar.height(); ++row) {
        const double v = span.high - (span.high - span.low) * row / std::max(bar.height() - 1, 1);
        bar.setPixel(0, row, qColor(m_frame.colours.colour(v)).rgb());
    }
    painter.drawImage(l.bar, bar);
    painter.drawRect(l.bar.adjusted(0, 0, -1, -1));
    for (const Tick &t : l.barTicks) {
        const int y = int(std::lround(barY(t.at)));
        painter.drawLine(l.bar.right(), y, l.bar.right() + TickLength, y);
        painter.drawText(QRect(l.bar.right() + TickLength + 2, y - line / 2, 200, line),
                         Qt::AlignLeft | Qt::AlignVCenter, t.text);
    }
    painter.drawText(QRect(l.bar.center().x() - 100, 0, 200, l.bar.top() - line / 2 - 1),
                     Qt::AlignHCenter | Qt::AlignBottom, QString::fromStdString(m_frame.value));
}

QByteArray ScatterView::png() const
{
    const QSize shown = size();
    return pngPicture(shown, [&](QPainter &painter) { paintScatter(painter, shown); });
}

void ScatterView::mouseMoveEvent(QMouseEvent *event)
{
    const QRect area = layout(size()).area;
    // The dots' centres, as the picture places them.
    const QRectF centres(area.left(), area.top(), area.width() - 1, area.height() - 1);
    const std::optional<std::size_t> scan =
        nearestPoint(m_frame, *m_points, centres, event->position(), DotReach);
    if (scan)
        QToolTip::showText(event->globalPosition().toPoint(),
                           QString::fromStdString(pointText(m_frame, (*m_points)[*scan])), this);
    else
        QToolTip::hideText();
}

void ScatterView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintScatter(painter, size());
}

} // namespace vexa
