#include "PlotNavigation.h"

#include <algorithm>
#include <cmath>

namespace vexa {

TimeView::TimeView(TimeRange all) : m_all(all), m_range(all) {}

void TimeView::show(TimeRange range)
{
    const double allWidth = m_all.to - m_all.from;
    double width = std::clamp(range.to - range.from, std::min(MinimumWidth, allWidth), allWidth);
    if (!std::isfinite(range.from) || !std::isfinite(width))
        return;
    const double from = std::clamp(range.from, m_all.from, m_all.to - width);
    m_range = {from, from + width};
}

void TimeView::zoom(double anchor, double factor)
{
    if (!(factor > 0))
        return;
    const TimeRange r = m_range;
    const double width = std::max((r.to - r.from) * factor, MinimumWidth);
    const double share = (anchor - r.from) / (r.to - r.from);
    const double from = anchor - std::clamp(share, 0.0, 1.0) * width;
    show({from, from + width});
}

void TimeView::pan(double ms)
{
    show({m_range.from + ms, m_range.to + ms});
}

void TimeView::follow(double ms)
{
    if (ms < m_range.from)
        pan(ms - m_range.from);
    else if (ms > m_range.to)
        pan(ms - m_range.to);
}

int TimeView::scrollMaximum() const
{
    return static_cast<int>(std::lround((m_all.to - m_all.from) - (m_range.to - m_range.from)));
}

int TimeView::scrollPage() const
{
    return static_cast<int>(std::max(std::lround(m_range.to - m_range.from), 1L));
}

int TimeView::scrollValue() const
{
    return static_cast<int>(std::lround(m_range.from - m_all.from));
}

void TimeView::scrollTo(int value)
{
    if (value == scrollValue())
        return;
    const double width = m_range.to - m_range.from;
    show({m_all.from + value, m_all.from + value + width});
}

void ScanCursor::hover(std::size_t scan)
{
    if (!m_locked)
        m_scan = scan;
}

void ScanCursor::lock(std::size_t scan)
{
    m_scan = scan;
    m_locked = true;
}

void ScanCursor::move(const PlotData &plot, CursorMove move, TimeRange view)
{
    const std::size_t count = plot.scanCount();
    if (count == 0)
        return;
    const std::size_t last = count - 1;
    std::size_t scan = std::min(m_scan, last);
    const double page = (view.to - view.from) / 10;
    switch (move) {
    case CursorMove::Back:
        scan = scan > 0 ? scan - 1 : 0;
        break;
    case CursorMove::Forward:
        scan = std::min(scan + 1, last);
        break;
    case CursorMove::PageBack:
        // At least a scan, where scans share a start time too.
        scan = std::min(plot.scanAt(plot.times[scan] - page), scan > 0 ? scan - 1 : 0);
        break;
    case CursorMove::PageForward:
        scan = std::max(plot.scanAt(plot.times[scan] + page), std::min(scan + 1, last));
        break;
    case CursorMove::First:
        scan = 0;
        break;
    case CursorMove::Last:
        scan = last;
        break;
    }
    lock(scan);
}

} // namespace vexa
