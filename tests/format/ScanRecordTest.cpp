// Scan records: decoding, durations, the running clock and the byte helpers.
#include "format/ScanRecord.h"
#include "core/RuntimeError.h"
#include "format/OleDate.h"
#include "format/ScanClock.h"
#include "support/LogRecords.h"

#include <gtest/gtest.h>

#include <optional>

namespace vexa::test {
namespace {

TEST(ScanRecord, DecodesTimeStatusesAndValues)
{
    Channels channels;
    for (int c = 0; c < 10; ++c)
        channels[c] = {static_cast<std::int16_t>(c - 3), 218.5f + c};
    Bytes record = scanRecord(-12, channels);
    record.push_back(0xAA); // bytes past 63 are not read
    vexasync::ByteUtility *bytes = &componentBytes();
    const ScanRecord scan = decodeScanRecord(*bytes, record, 1);
    EXPECT_EQ(scan.scanTime, -12);
    for (int c = 0; c < 10; ++c) {
        EXPECT_EQ(scan.channelStatus[c], c - 3);
        EXPECT_EQ(scan.channelValue[c], 218.5f + c);
    }
    float single = 0;
    const Bytes raw = {0x43, 0x5A, 0x80, 0x00};
    EXPECT_EQ(byteArrayToSingle(*bytes, raw, 0, single), 0x435A8000);
    EXPECT_EQ(single, 218.5f);
}

TEST(ScanRecord, AShortRecordIsAClearError)
{
    vexasync::ByteUtility *bytes = &componentBytes();
    for (const std::size_t size : {0u, 2u, 63u}) {
        try {
            decodeScanRecord(*bytes, Bytes(size, 0), 7);
            ADD_FAILURE() << size;
        } catch (const RuntimeError &e) {
            EXPECT_EQ(e.number(), ErrorNumber::SubscriptOutOfRange);
            EXPECT_EQ(e.description(), QString("Scan record 7 of the log is %1 bytes long; a scan "
                                               "record has 64")
                                           .arg(size));
        }
    }
}

TEST(ScanRecord, DurationsStayWithinSixteenBits)
{
    const struct {
        std::int16_t scanTime;
        std::optional<int> ms; // none: an overflow
    } cases[] = {{12, 120},  {0, 0},      {3276, 32760}, {-3276, -32760},
                 {3277, {}}, {-3277, {}}, {32767, {}}};
    for (const auto &c : cases) {
        if (c.ms) {
            EXPECT_EQ(scanMilliseconds(c.scanTime), *c.ms);
            continue;
        }
        try {
            scanMilliseconds(c.scanTime);
            ADD_FAILURE() << c.scanTime;
        } catch (const RuntimeError &e) {
            EXPECT_EQ(e.number(), ErrorNumber::Overflow) << c.scanTime;
        }
    }
}

QString clockText(const ScanClock &clock)
{
    char text[8];
    clock.timeOfDay(text);
    return QString::fromLatin1(text, 8);
}

TEST(ScanClock, EachScanStartsWhenTheOnesBeforeItHaveTaken)
{
    const struct {
        QTime start;
        std::vector<std::int16_t> durations;
        QStringList times; // of each scan
        std::vector<int> elapsed;
    } cases[] = {
        {{10, 0, 0}, {12, 15, 20}, {"10:00:00", "10:00:00", "10:00:00"}, {0, 120, 270}},
        {{23, 59, 59}, {100, 100, 100}, {"23:59:59", "00:00:00", "00:00:01"}, {0, 1000, 2000}},
        {{0, 0, 1}, {-200, 0}, {"00:00:01", "23:59:59"}, {0, -2000}},
    };
    for (const auto &c : cases) {
        ScanClock clock(oledate::fromTime(c.start.hour(), c.start.minute(), c.start.second()));
        for (std::size_t k = 0; k < c.durations.size(); ++k) {
            EXPECT_EQ(clockText(clock), c.times[int(k)])
                << c.start.toString().toStdString() << " scan " << k + 1;
            EXPECT_EQ(clock.elapsedMs(), c.elapsed[k]);
            clock.advance(c.durations[k]);
        }
    }
}

TEST(ScanClock, FloatingPointNeverLosesASecond)
{
    ScanClock clock(oledate::fromTime(10, 0, 0));
    for (int k = 0; k < 100; ++k)
        clock.advance(1);
    EXPECT_EQ(clockText(clock), "10:00:01");
}

TEST(ByteHelpers, FixedWidthTextFields)
{
    Bytes field(8, 0xEE);
    clearBytes(field);
    stringToBytes(field, "5.7");
    EXPECT_EQ(field, (Bytes{0x35, 0x2E, 0x37, 0, 0, 0, 0, 0}));
    Bytes dirty(4, 0xEE);
    stringToBytes(dirty, "ab");
    EXPECT_EQ(dirty, (Bytes{'a', 'b', 0xEE, 0xEE})) << "the rest keeps what it held";
    EXPECT_THROW(stringToBytes(dirty, "abcde"), RuntimeError);
    EXPECT_NO_THROW(stringToBytes(dirty, "abcd")) << "an exact fit";
}

} // namespace
} // namespace vexa::test
