// The running time of a log's scans: scan 1 starts at the log's start time,
// each later scan when the ones before it have taken their durations.
// Counted in whole milliseconds, so floating-point error never loses a
// second; only the time of day shows, so a log past midnight goes on at
// 00:00:00.
#pragma once

#include <cstdint>

namespace vexa {

class ScanClock {
public:
    explicit ScanClock(double logTime);

    // "hh:mm:ss" of the current scan's start, into 8 characters.
    void timeOfDay(char *out) const;
    // Milliseconds since the log's start.
    std::int32_t elapsedMs() const { return m_sum * 10; }
    // The running time every file that records one writes for the scan
    // about to be written: elapsedMs, once the scan's duration is known to be
    // in range (scanMilliseconds throws otherwise), so a scan the clock can't
    // add up is never written.
    std::int32_t runningMs(std::int16_t scanTime) const;
    // Called after a scan is written, with its duration.
    void advance(std::int16_t scanTime) { m_sum += scanTime; }

private:
    std::int64_t m_startMs;
    std::int32_t m_sum = 0; // 10 ms units
};

} // namespace vexa
