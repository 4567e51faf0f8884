#include "ScanClock.h"

#include "format/OleDate.h"
#include "format/ScanRecord.h"

namespace vexa {

ScanClock::ScanClock(double logTime) : m_startMs(oledate::toMilliseconds(logTime)) {}

void ScanClock::timeOfDay(char *out) const
{
    const std::int64_t instant = m_startMs + std::int64_t{m_sum} * 10;
    const std::int64_t ms = ((instant % oledate::MsPerDay) + oledate::MsPerDay) % oledate::MsPerDay;
    const int seconds = static_cast<int>(ms / 1000);
    const int fields[3] = {seconds / 3600, seconds / 60 % 60, seconds % 60};
    for (int i = 0; i < 3; ++i) {
        out[3 * i] = static_cast<char>('0' + fields[i] / 10);
        out[3 * i + 1] = static_cast<char>('0' + fields[i] % 10);
        if (i < 2)
            out[3 * i + 2] = ':';
    }
}

std::int32_t ScanClock::runningMs(std::int16_t scanTime) const
{
    scanMilliseconds(scanTime);
    return elapsedMs();
}

} // namespace vexa
