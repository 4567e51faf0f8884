#include "LogRecords.h"

namespace vexa::test {

float scanMark(int position, int channel)
{
    return static_cast<float>(position * 10 + channel);
}

void addRirodLog(const TestHandheld &handheld, const RirodLogSpec &log)
{
    auto data = handheld.create("RirodData");
    const int firstScan = data->recordCount() + 1;
    std::vector<Bytes> scans;
    for (int k = 0; k < log.scans; ++k) {
        Channels channels;
        for (int c = 0; c < 10; ++c)
            channels[c].value = scanMark(firstScan + k, c);
        scans.push_back(scanRecord(log.scanTime, channels));
    }
    handheld.add("RirodData", scans);
    handheld.add("RirodIndex",
                 {rirodIndexRecord(log.start, log.scans, firstScan, log.params, log.text)});
}

} // namespace vexa::test
