// A table as tab-separated text, as a spreadsheet or a tuning tool's table
// takes it pasted: the axes in their shortest form, the values with one
// digit more than the value channel shows, "." for decimals.
#pragma once

#include "CellTable.h"

#include <string>

namespace vexa {

// "MAP\RPM": the name of the corner cell.
std::string cornerName(const CellTable &table);
// The cell's text; empty below the table's minimum.
std::string cellText(const CellTable &table, std::size_t xi, std::size_t yi, CellStat stat);
// First row the corner and the X breakpoints; then a row per Y breakpoint
// from the lowest, its breakpoint first. Lines end in "\n". A "," between
// fields makes it CSV: no field holds one.
std::string tableText(const CellTable &table, CellStat stat, char separator = '\t');

} // namespace vexa
