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
    const ScanRecord scan = decodeScanRecord(componentBytes(), record, 1);
    EXPECT_EQ(scan.scanTime, -12);
    for (int c = 0; c < 10; ++c) {
        EXPECT_EQ(scan.channelStatus[c], c - 3);
        EXPECT_EQ(scan.channelValue[c], 218.5f + c);
    }
    float single = 0;
    const Bytes raw = {0x43, 0x5A, 0x80, 0x00};
    EXPECT_EQ(byteArrayToSingle(componentBytes(), raw, 0, single), 0x435A8000);
    EXPECT_EQ(single, 218.5f);
}

TEST(ScanRecord, AShortRecordIsAClearError)
{
    for (const std::size_t size : {0u, 2u, 63u}) {
        try {
            decodeScanRecord(componentBytes(), Bytes(size, 0), 7);
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
        std::optional<int> ms;
        try {
            ms = scanMilliseconds(c.scanTime);
        } catch (const RuntimeError &e) {
            EXPECT_EQ(e.number(), ErrorNumber::Overflow) << c.scanTime;
        }
        EXPECT_EQ(ms, c.ms) << c.scanTime;
    }
}

// Each scan starts when the ones before it have taken; a hundred tenths in
// floating point never lose the second.
TEST(ScanClock, AddsUpTheScansBeforeIt)
{
    const struct {
        QTime start;
        std::vector<std::int16_t> durations;
        const char *time;
        int elapsed;
    } cases[] = {
        {{10, 0, 0}, {}, "10:00:00", 0},
        {{10, 0, 0}, {12, 15}, "10:00:00", 270},
        {{23, 59, 59}, {100}, "00:00:00", 1000},
        {{23, 59, 59}, {100, 100}, "00:00:01", 2000},
        {{0, 0, 1}, {-200}, "23:59:59", -2000},
        {{10, 0, 0}, std::vector<std::int16_t>(100, 1), "10:00:01", 1000},
    };
    for (const auto &c : cases) {
        ScanClock clock(oledate::fromTime(c.start.hour(), c.start.minute(), c.start.second()));
        for (const std::int16_t d : c.durations)
            clock.advance(d);
        char text[8];
        clock.timeOfDay(text);
        EXPECT_EQ(QString::fromLatin1(text, 8), c.time) << c.start.toString().toStdString();
        EXPECT_EQ(clock.elapsedMs(), c.elapsed) << c.start.toString().toStdString();
    }
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
