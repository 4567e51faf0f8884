// A stretch of a plotted log saved as the CSV files write a log: the header
// of the log, its date line moved to the stretch's first scan, and a line
// per scan.
#pragma once

#include "plot/PlotData.h"

class QIODevice;

namespace vexa {

class DateText;

// Scans `first`..`last` (0-based, both included) of `plot`. Throws
// RuntimeError when the device fails.
void writeRangeCsv(QIODevice &out, const PlotData &plot, std::size_t first, std::size_t last,
                   const DateText &dates);

} // namespace vexa
