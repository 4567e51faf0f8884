// Where a plot looks and where its cursor stands: the time range shown,
// zoomed and panned inside the log, and the scan the cursor reads, stepped
// by keys. Widgets only translate input into these calls.
#pragma once

#include "PlotReduction.h"

#include <optional>

namespace vexa {

class TimeView {
public:
    // Never narrower than this: a scan takes at least 10 ms.
    static constexpr double MinimumWidth = 10;

    explicit TimeView(TimeRange all);

    TimeRange all() const { return m_all; }
    TimeRange range() const { return m_range; }
    bool zoomed() const { return m_range.from > m_all.from || m_range.to < m_all.to; }

    // Shows `range`, moved or cut to lie inside the log.
    void show(TimeRange range);
    void reset() { m_range = m_all; }
    // Scales the width by `factor` (below 1 zooms in), `anchor` staying put.
    void zoom(double anchor, double factor);
    void pan(double ms);
    // Shifts the view the least that brings `ms` into it.
    void follow(double ms);

    // A scroll bar over the log in whole ms: 0..maximum, a page the width.
    int scrollMaximum() const;
    int scrollPage() const;
    int scrollValue() const;
    void scrollTo(int value);

private:
    TimeRange m_all;
    TimeRange m_range;
};

enum class CursorMove { Back, Forward, PageBack, PageForward, First, Last };

class ScanCursor {
public:
    std::size_t scan() const { return m_scan; }
    bool locked() const { return m_locked; }
    // The second end of a marked range, set by Shift+click.
    std::optional<std::size_t> mark() const { return m_mark; }

    // The mouse over a scan: followed until a click or a key locks it.
    void hover(std::size_t scan);
    void lock(std::size_t scan);
    void setMark(std::size_t scan) { m_mark = scan; }
    void clearMark() { m_mark.reset(); }
    // One scan, a tenth of `view`, or an end of the log; locks the cursor.
    void move(const PlotData &plot, CursorMove move, TimeRange view);

private:
    std::size_t m_scan = 0;
    bool m_locked = false;
    std::optional<std::size_t> m_mark;
};

} // namespace vexa
