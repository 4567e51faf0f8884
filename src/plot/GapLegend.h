// How a channel's gaps are drawn and named in its legend: a line for each
// status while the channel holds only a few, otherwise one line for each
// kind of status, so a log whose every scan has a status of its own costs
// no more to draw than one with a handful.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace vexa {

enum class GapKind { Flagged, Error, TimedOut };
GapKind gapKind(std::int16_t status);

// One legend line and the marks drawn in its colour.
struct GapGroup {
    GapKind kind;
    QString name;
};

class GapLegend {
public:
    // About what a panel's legend has room for beside the channel's own line.
    static constexpr std::size_t NamedStatuses = 4;

    // `status`: the channel's status of every scan; 0 is no gap.
    explicit GapLegend(const std::vector<std::int16_t> &status);

    // From the lowest status up, or by kind in the order of GapKind.
    const std::vector<GapGroup> &groups() const { return m_groups; }
    // The group of a status the channel holds.
    std::size_t groupOf(std::int16_t status) const;

private:
    std::vector<GapGroup> m_groups;
    std::vector<std::int16_t> m_named;    // group i is m_named[i]; empty when grouped by kind
    std::array<std::size_t, 3> m_kinds{}; // the group of each kind
};

} // namespace vexa
