// What the datalog viewers' logs share, text (MSL) and binary (MLG) alike:
// their description, their start, and their columns: the running time, then
// each channel slot that holds a parameter, in slot order.
#pragma once

#include "format/LogIndexEntry.h"
#include "format/ValueFormat.h"

#include <QByteArray>
#include <QDateTime>

#include <vector>

namespace vexa {

struct ScanRecord;

// The first column: the running time, in seconds to the millisecond.
inline constexpr char TimeColumnName[] = "Time";
inline constexpr char TimeColumnUnits[] = "s";
inline constexpr int TimeColumnDecimals = 3;

struct DatalogChannel {
    int slot;
    QByteArray name; // the parameter's code, " 2", " 3" ... after a repeat
    QByteArray units;
    ValueFormat format; // the display precision, "." whatever the locale
};

std::vector<DatalogChannel> datalogChannels(const LogIndexEntry &entry);

// "VEXA scan log: TEXT" in the code page, the text on one line and without
// double quotes, which the text file's header is quoted with.
QByteArray datalogDescription(const LogIndexEntry &entry);

// The log's start as the handheld wrote it, to the second, taken as UTC so
// that no file depends on the machine's time zone.
QDateTime datalogStart(const LogIndexEntry &entry);

// The channel's value, or NaN where its status marks no value: viewers
// show a gap there.
float datalogValue(const ScanRecord &scan, const DatalogChannel &channel);

} // namespace vexa
