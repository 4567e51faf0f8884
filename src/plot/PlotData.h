// A Rirod log read whole for plotting: the start time of every scan and, for
// each channel that carries a parameter, its values and status words.
#pragma once

#include "format/LogIndexEntry.h"
#include "format/ValueFormat.h"

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace vexa {

struct ChannelSeries {
    int slot = 0; // 0..9 in the scan record
    std::string code;
    std::string units;
    std::string description;
    ValueFormat format;
    std::vector<float> values;
    std::vector<std::int16_t> status; // 0: a value to draw; anything else a gap

    bool drawn(std::size_t scan) const { return status[scan] == 0; }
    // The value as the saved files write it, or the status in its place.
    std::string valueText(std::size_t scan) const;
};

struct PlotData {
    QString title; // the log's date line and first text line
    // Start of each scan in ms since midnight of the log's day: past midnight
    // it goes on growing, so the axis never runs backwards.
    std::vector<std::int32_t> times;
    std::vector<ChannelSeries> channels; // slots whose parameter number is not 0
    // What a stretch of the log saved as text needs besides: the log's entry
    // (date, time, text, parameters), each scan's duration as recorded, in
    // 10 ms units, and the slots of parameter number 0.
    LogIndexEntry entry;
    std::vector<std::int16_t> scanTimes;
    std::vector<ChannelSeries> emptySlots;

    std::size_t scanCount() const { return times.size(); }
    // The scan running at `ms`: the last one started at or before it, the
    // first scan before the log's start.
    std::size_t scanAt(double ms) const;
    // Bytes held for the samples, for the memory budget.
    std::size_t heldBytes() const;
};

// Reads every scan of the log in order; throws RuntimeError as the writers
// do (a failed read, a short record, a duration out of range).
PlotData readPlotData(const LogIndexEntry &entry, vexasync::RecordAdapter &scans,
                      vexasync::ByteUtility &bytes, const QLocale &locale);

// "14:05:09.12": a time of day to the hundredth, as the scans count time.
QString timeOfDayText(double ms);

// What a status word says: "T.O." for a timed-out read, "E5" for logger
// error 5, "S-1" for a value the logger flagged.
std::string statusLabel(std::int16_t status);
QString statusReason(std::int16_t status);

} // namespace vexa
