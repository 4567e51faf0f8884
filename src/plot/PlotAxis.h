// What the axes of a plot show: round tick values, the time as time of day
// or as seconds from the log's start, and how much of the value axis a
// channel's lines may fill, so that noise is not blown up to full height.
#pragma once

#include "PlotData.h"

#include <QString>

#include <vector>

namespace vexa {

struct Tick {
    double at;
    QString text;
};

enum class TimeMode { TimeOfDay, FromStart };

// `value` with `decimals` and "." for the decimal mark; never "-0.0".
QString numberText(double value, int decimals);

// Multiples of 1, 2 or 5 times a power of ten from `low` to `high`, at most
// `most` of them (at least 2), labelled with the decimals the step needs.
std::vector<Tick> valueTicks(double low, double high, int most);

// Round times in [from, to] (ms since midnight of the log's day), at most
// `most`: "14:05:10" (with hundredths when the step is below a second) or
// "12.5" seconds from `start`.
std::vector<Tick> timeTicks(double from, double to, double start, TimeMode mode, int most);

struct ValueSpan {
    double low = 0;
    double high = 1;
};

// The channel's narrowest value span on screen: a twentieth of what the
// whole log spans, and never less than ten steps of its last decimal.
double minimumValueSpan(const ChannelSeries &channel);

// `low`..`high` with a twentieth of room on each side, widened about its
// middle to `minimumSpan`.
ValueSpan valueSpan(double low, double high, double minimumSpan);

} // namespace vexa
