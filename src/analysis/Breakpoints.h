// The breakpoints of a table's axis: the cells are centred on them.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vexa {

using Breakpoints = std::vector<double>;

// More than an ECU table's axis holds; a grid beyond it is no table to read.
constexpr std::size_t MostBreakpoints = 256;

// The axis tuning tables use for the channel (RPM, MAP, LD, TPS); none for
// any other.
std::optional<Breakpoints> usualBreakpoints(std::string_view code);
// Twelve evenly from lowest to highest, each the nearest float as the
// scans are; one when they are equal.
Breakpoints evenBreakpoints(double lowest, double highest);
// A list pasted from an ECU table's axis: numbers separated by commas, tabs,
// spaces or line breaks, "." for decimals; rising in the result, at most
// MostBreakpoints. Throws RuntimeError saying what is wrong.
Breakpoints parseBreakpoints(std::string_view text);

// The cell of the nearest breakpoint (rising, at least one): half-way goes
// to the higher, beyond the ends to the end cell.
std::size_t cellOf(std::span<const double> axis, double value);

// The shortest text that reads back as the number, "." for decimals.
std::string shortestText(double number);

} // namespace vexa
