#include "PlotView.h"

#include "PlotPainter.h"

#include <QKeyEvent>
#include <QPainter>

#include <cmath>

namespace vexa {

namespace {

constexpr double WheelZoomStep = 0.8; // of the width, per notch
constexpr double KeyZoomStep = 0.5;
constexpr double ClickSlack = 3; // pixels a click may move and stay a click

} // namespace

PlotView::PlotView(PlotData plot, QString heading, QWidget *parent)
    : QWidget(parent), m_plot(std::move(plot)), m_style(m_plot), m_heading(std::move(heading)),
      m_view(fullRange(m_plot)), m_panels(m_plot.channels.size())
{
    setObjectName(QStringLiteral("plotView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setMinimumHeight(minimumSizeHint().height());
}

const PlotScene &PlotView::scene()
{
    if (m_sceneStale || m_scene.size != size()) {
        m_scene = m_style.layout(size(), m_view.range(), m_panels, m_mode, m_heading);
        m_sceneStale = false;
        m_pictureStale = true;
    }
    return m_scene;
}

RangeStats PlotView::stats() const
{
    if (m_plot.times.empty())
        return {};
    if (const auto mark = m_cursor.mark())
        return rangeStats(m_plot, *mark, m_cursor.scan());
    return viewStats(m_plot, m_view.range());
}

void PlotView::changed()
{
    m_sceneStale = true;
    update();
    emit viewChanged();
}

void PlotView::showRange(TimeRange range)
{
    m_view.show(range);
    changed();
}

void PlotView::resetZoom()
{
    m_view.reset();
    changed();
}

void PlotView::zoom(double anchor, double factor)
{
    m_view.zoom(anchor, factor);
    changed();
}

void PlotView::pan(double ms)
{
    m_view.pan(ms);
    changed();
}

void PlotView::scrollTo(int value)
{
    const TimeRange before = m_view.range();
    m_view.scrollTo(value);
    if (m_view.range().from != before.from)
        changed();
}

void PlotView::moveCursor(CursorMove move)
{
    m_cursor.move(m_plot, move, m_view.range());
    const TimeRange before = m_view.range();
    if (!m_plot.times.empty())
        m_view.follow(m_plot.times[m_cursor.scan()]);
    if (m_view.range().from != before.from || m_cursor.mark())
        changed();
    else
        update();
    emit cursorChanged();
}

void PlotView::markAtCursor()
{
    m_cursor.setMark(m_cursor.scan());
    changed();
}

void PlotView::setTimeMode(TimeMode mode)
{
    m_mode = mode;
    changed();
}

void PlotView::setPanelLayout(const PanelLayout &panels)
{
    if (panels.channelCount() != m_plot.channels.size())
        return;
    m_panels = panels;
    setMinimumHeight(minimumSizeHint().height());
    changed();
}

QByteArray PlotView::png()
{
    const PlotScene &now = scene();
    return pngPicture(size(), [&](QPainter &painter) { paintScene(painter, m_style, now); });
}

QByteArray PlotView::svg()
{
    const PlotScene &now = scene();
    return svgPicture(size(), m_heading,
                      [&](QPainter &painter) { paintScene(painter, m_style, now); });
}

QSize PlotView::sizeHint() const
{
    return {900, 700};
}

QSize PlotView::minimumSizeHint() const
{
    return {300, m_style.minimumHeight(std::max<std::size_t>(m_panels.panels().size(), 1))};
}

void PlotView::paintEvent(QPaintEvent *)
{
    const PlotScene &now = scene();
    if (m_pictureStale || m_picture.size() != size() * devicePixelRatio()) {
        // Drawn over at every step; a new one only for a new size, as a
        // fresh picture of this size costs more than the drawing.
        if (m_picture.size() != size() * devicePixelRatio()) {
            m_picture = QPixmap(size() * devicePixelRatio());
            m_picture.setDevicePixelRatio(devicePixelRatio());
        }
        QPainter painter(&m_picture);
        paintScene(painter, m_style, now);
        m_pictureStale = false;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
    if (m_drag == Drag::Zoom && m_moved && !now.panels.empty()) {
        const double top = now.panels.front().area.top();
        const double bottom = now.panels.back().area.bottom();
        painter.fillRect(QRectF(QPointF(std::min(m_pressAt.x(), m_dragAt.x()), top),
                                QPointF(std::max(m_pressAt.x(), m_dragAt.x()), bottom)),
                         QColor(70, 130, 180, 60));
    }
    paintCursor(painter, m_style, now, m_cursor.scan(), m_cursor.mark());
}

void PlotView::resizeEvent(QResizeEvent *)
{
    m_sceneStale = true;
}

std::size_t PlotView::scanAtX(double x) const
{
    return m_plot.scanAt(m_scene.msAt(x));
}

void PlotView::mousePressEvent(QMouseEvent *event)
{
    m_pressAt = m_dragAt = event->position();
    m_moved = false;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    if (event->button() == Qt::MiddleButton || (event->button() == Qt::LeftButton && shift))
        m_drag = Drag::Pan;
    else if (event->button() == Qt::LeftButton)
        m_drag = Drag::Zoom;
    else if (event->button() == Qt::RightButton)
        zoom(scene().msAt(event->position().x()), 2);
}

void PlotView::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF at = event->position();
    m_moved = m_moved || std::abs(at.x() - m_pressAt.x()) > ClickSlack;
    switch (m_drag) {
    case Drag::None:
        m_cursor.hover(scanAtX(at.x()));
        update();
        emit cursorChanged();
        break;
    case Drag::Zoom:
        m_dragAt = at;
        update();
        break;
    case Drag::Pan:
        if (m_moved) {
            const double perPixel = scene().msAt(1) - scene().msAt(0);
            pan((m_dragAt.x() - at.x()) * perPixel);
            m_dragAt = at;
        }
        break;
    }
}

void PlotView::mouseReleaseEvent(QMouseEvent *event)
{
    const Drag drag = std::exchange(m_drag, Drag::None);
    if (drag == Drag::None || m_plot.times.empty())
        return;
    const double x = event->position().x();
    if (drag == Drag::Zoom && m_moved) {
        const double a = scene().msAt(m_pressAt.x()), b = scene().msAt(x);
        showRange({std::min(a, b), std::max(a, b)});
    } else if (!m_moved && (event->modifiers() & Qt::ShiftModifier)) {
        m_cursor.setMark(scanAtX(x));
        changed();
    } else if (!m_moved) {
        const bool hadMark = m_cursor.mark().has_value();
        m_cursor.clearMark();
        m_cursor.lock(scanAtX(x));
        if (hadMark)
            changed();
        update();
        emit cursorChanged();
    } else {
        update();
    }
}

void PlotView::wheelEvent(QWheelEvent *event)
{
    const QPoint delta = event->angleDelta();
    const double notches = (delta.y() != 0 ? delta.y() : delta.x()) / 120.0;
    if (notches == 0 || m_plot.times.empty())
        return;
    const TimeRange r = m_view.range();
    if ((event->modifiers() & Qt::ShiftModifier) || delta.y() == 0)
        pan(-notches * (r.to - r.from) / 10);
    else
        zoom(scene().msAt(event->position().x()), std::pow(WheelZoomStep, notches));
    event->accept();
}

void PlotView::keyPressEvent(QKeyEvent *event)
{
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const TimeRange r = m_view.range();
    const double cursorMs = m_plot.times.empty() ? r.from : m_plot.times[m_cursor.scan()];
    const double anchor = cursorMs >= r.from && cursorMs <= r.to ? cursorMs : (r.from + r.to) / 2;
    switch (event->key()) {
    case Qt::Key_Left:
        shift ? pan(-(r.to - r.from) / 10) : moveCursor(CursorMove::Back);
        break;
    case Qt::Key_Right:
        shift ? pan((r.to - r.from) / 10) : moveCursor(CursorMove::Forward);
        break;
    case Qt::Key_PageUp:
        moveCursor(CursorMove::PageBack);
        break;
    case Qt::Key_PageDown:
        moveCursor(CursorMove::PageForward);
        break;
    case Qt::Key_Home:
        moveCursor(CursorMove::First);
        break;
    case Qt::Key_End:
        moveCursor(CursorMove::Last);
        break;
    case Qt::Key_Up:
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoom(anchor, KeyZoomStep);
        break;
    case Qt::Key_Down:
    case Qt::Key_Minus:
        zoom(anchor, 1 / KeyZoomStep);
        break;
    case Qt::Key_Space:
        markAtCursor();
        break;
    case Qt::Key_Escape:
        resetZoom();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

} // namespace vexa
