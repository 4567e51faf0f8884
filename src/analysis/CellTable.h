// A tuning table: a value channel's mean, minimum, maximum and count in each
// cell of an X by Y grid, pooled from any number of Rirod logs.
#pragma once

#include "Breakpoints.h"
#include "ChannelCondition.h"

#include "format/LogIndexEntry.h"

#include <array>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <vector>

namespace vexa {

enum class CellStat { Mean, Min, Max, Count };

struct TableRequest {
    std::string x, y, value;                  // channel codes
    std::vector<ChannelCondition> conditions; // all must hold
    std::optional<Breakpoints> xAxis, yAxis;  // the user's; else usual or even
    int minHits = 10;                         // fewer scans: an empty cell
};

struct CellStats {
    int count = 0;
    double sum = 0;
    double min = std::numeric_limits<double>::infinity();
    double max = -std::numeric_limits<double>::infinity();

    double stat(CellStat s) const;
};

struct CellTable {
    std::string x, y, value;
    Breakpoints xAxis, yAxis;
    std::vector<CellStats> cells; // row by row from the lowest Y, each from the lowest X
    int minHits = 0;

    const CellStats &at(std::size_t xi, std::size_t yi) const
    {
        return cells[yi * xAxis.size() + xi];
    }
    bool filled(std::size_t xi, std::size_t yi) const { return at(xi, yi).count >= minHits; }
};

// A scan that counts: where it falls, and the value.
struct CountedScan {
    float x, y, value;
};

class TableBuilder {
public:
    // Throws RuntimeError for a code no channel has.
    TableBuilder(TableRequest request, vexasync::ByteUtility &bytes);

    // Adds the scans of one log that count. Returns the codes of the
    // request the log carries in no slot, in the request's order; then
    // nothing is added. Throws RuntimeError for a record too short, adding
    // none of the log.
    std::vector<std::string> addLog(const std::array<std::int16_t, 11> &paramCodes,
                                    std::span<const std::span<const std::uint8_t>> records);

    const std::vector<CountedScan> &counted() const { return m_counted; }
    // None when an axis has no breakpoint: no usual or given one, and no
    // scan counts.
    std::optional<CellTable> table() const;

private:
    TableRequest m_request;
    vexasync::ByteUtility &m_bytes;
    std::vector<CountedScan> m_counted;
};

} // namespace vexa
