// Index records: the fields each layout holds, the records no logger writes,
// the bytes given back as they were read, and which records are one log.
#include "format/IndexRecord.h"
#include "core/RuntimeError.h"
#include "support/LogCase.h"

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

IndexRecord parsed(const Bytes &record, LogKind kind)
{
    return IndexRecord::parse(componentBytes(), record, kind, 1);
}

const LogKind TextKinds[] = {LogKind::LTrim, LogKind::AccelTest, LogKind::TroubleCode};

// Records no logger writes, made byte by byte.
TEST(IndexRecord, ReadsWhatARecordHoldsOrSaysWhyNot)
{
    Bytes shortest = textLogRecord({2004, 1, 1, 0, 0, 0}, "");
    shortest.resize(15); // the date, two unread bytes and an empty text
    Bytes noText = rirodIndexRecord({2004, 1, 1, 0, 0, 0}, 1, 1, {}, "");
    noText.resize(39); // not even the text's zero
    const std::string longText(1200, 'x');
    const struct {
        const char *what;
        LogKind kind;
        Bytes record;
        std::int32_t error; // 0: read
        QString textOrMessage;
        int scanCount = 0;
    } rows[] = {
        {"year 10000", LogKind::TroubleCode, textLogRecord({10000, 1, 1, 0, 0, 0}, "future"),
         ErrorNumber::InvalidCall, "The date can't be held: year 10000 is outside 100 to 9999"},
        {"month 0 of year 100", LogKind::TroubleCode, textLogRecord({100, 0, 1, 0, 0, 0}, "past"),
         ErrorNumber::InvalidCall, "The date can't be held: year 99 is outside 100 to 9999"},
        {"10 bytes", LogKind::TroubleCode, Bytes(10, 0), ErrorNumber::SubscriptOutOfRange,
         "The index record of log 5 is 10 bytes long; a log of this kind needs at least 14"},
        {"a Rirod record of 38 bytes", LogKind::Rirod, Bytes(38, 0),
         ErrorNumber::SubscriptOutOfRange,
         "The index record of log 5 is 38 bytes long; a log of this kind needs at least 39"},
        {"15 bytes", LogKind::TroubleCode, shortest, 0, ""},
        {"a Rirod record of 39 bytes", LogKind::Rirod, noText, 0, "", 1},
        {"a text past 999 characters", LogKind::Rirod,
         rirodIndexRecord({2004, 1, 1, 0, 0, 0}, 3, 1, {}, longText), 0,
         QString(999, QLatin1Char('x')), 3},
        // The other kinds' text is where a Rirod log's scan count is.
        {"the scan count of a text", LogKind::LTrim, textLogRecord({2004, 1, 1, 0, 0, 0}, "ab"), 0,
         "ab", 0x6162},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        try {
            const LogIndexEntry e =
                readIndexEntry(componentBytes(), {1, 4, 0, 0, row.record}, row.kind);
            EXPECT_EQ(row.error, 0);
            EXPECT_EQ(e.text, row.textOrMessage);
            EXPECT_EQ(e.scanCount, row.scanCount);
        } catch (const RuntimeError &e) {
            EXPECT_EQ(e.number(), row.error);
            EXPECT_EQ(e.description(), row.textOrMessage);
        }
    }
}

// The records the tests build, then each with any one byte changed or added
// past its end: render gives back even the bytes no field names.
TEST(IndexRecord, RenderGivesBackTheBytesParsed)
{
    std::string everyByte;
    for (int b = 1; b < 256; ++b)
        everyByte += static_cast<char>(b);
    const LogCase logs[] = {
        {{2004, 3, 7, 14, 5, 9}, everyByte, {250, 199, 0, 255}, {}},
        {{2004, 1, 1, 0, 0, 0}, "", {}, {}},
        {{2004, 1, 1, 0, 0, 0}, std::string(1200, 'y'), {}, {}},
        {{10000, 0, -1, 25, 61, -1}, "x", {}, {}}, // a date the calendar can't hold
    };
    std::vector<std::pair<LogKind, Bytes>> records;
    for (const LogCase &log : logs) {
        records.emplace_back(LogKind::Rirod,
                             rirodIndexRecord(log.start, 12, 3, log.params, log.text));
        for (const LogKind kind : TextKinds)
            records.emplace_back(kind, textLogRecord(log.start, log.text));
    }
    records.emplace_back(LogKind::Rirod,
                         rirodIndexRecord({2004, 3, 9, 12, 0, 0}, -1, -32768, {15}, "C"));
    Bytes noZero = rirodIndexRecord({2004, 3, 7, 14, 5, 9}, 12, 3, {15, 2, 9}, "Run");
    noZero.pop_back();
    records.emplace_back(LogKind::Rirod, noZero);
    for (const LogKind kind : TextKinds) {
        for (const std::size_t size : {14u, 15u}) {
            Bytes cut = textLogRecord({2004, 1, 1, 0, 0, 0}, "P1");
            cut.resize(size);
            records.emplace_back(kind, cut);
        }
    }
    for (const auto &[kind, record] : records) {
        SCOPED_TRACE(std::string(logKindInfo(kind).caption) + ", " + std::to_string(record.size()) +
                     " bytes");
        EXPECT_EQ(parsed(record, kind).render(componentBytes()), record);
        for (std::size_t at = 0; at <= record.size() + 20; ++at) {
            Bytes changed = record;
            changed.resize(std::max(record.size(), at + 1), 0);
            changed[at] ^= 0xA5;
            ASSERT_EQ(parsed(changed, kind).render(componentBytes()), changed) << "byte " << at;
        }
    }
}

TEST(IndexRecord, OnlyTheFirstScanLeavesTheSameLog)
{
    const Stamp start{2004, 3, 7, 12, 0, 0};
    const Params params{15, 2, 9};
    const Bytes rirod = rirodIndexRecord(start, 10, 1, params, "A");
    const Bytes text = textLogRecord(start, "P0171");
    const auto restored = [&](std::int16_t firstScan) {
        IndexRecord record = parsed(rirod, LogKind::Rirod);
        record.setFirstScan(firstScan);
        return record.render(componentBytes());
    };
    const auto changed = [](Bytes record, std::size_t at) {
        record[at] ^= 0x01;
        return record;
    };
    Bytes longer = rirod;
    longer.push_back(0);
    using enum LogKind;
    const struct {
        const char *what;
        LogKind kind;
        Bytes record, other;
        bool same;
    } rows[] = {
        {"the same bytes", Rirod, rirod, rirod, true},
        {"the first scan moved", Rirod, rirod, rirodIndexRecord(start, 10, 500, params, "A"), true},
        {"the first scan set by a restore", Rirod, rirod, restored(-32768), true},
        {"another scan count", Rirod, rirod, rirodIndexRecord(start, 11, 1, params, "A"), false},
        {"another start", Rirod, rirod,
         rirodIndexRecord({2004, 3, 7, 12, 0, 1}, 10, 1, params, "A"), false},
        {"another parameter", Rirod, rirod, rirodIndexRecord(start, 10, 1, {15, 2, 8}, "A"), false},
        {"another text", Rirod, rirod, rirodIndexRecord(start, 10, 1, params, "B"), false},
        // Records no logger writes: bytes no field names.
        {"byte 13", Rirod, rirod, changed(rirod, 13), false},
        {"a byte between parameters", Rirod, rirod, changed(rirod, 19), false},
        {"byte 38", Rirod, rirod, changed(rirod, 38), false},
        {"the text's zero", Rirod, longer, changed(longer, 40), false},
        {"past the text's zero", Rirod, longer, changed(longer, 41), false},
        {"one byte longer", Rirod, rirod, longer, false},
        {"a text's bytes 16-17", TroubleCode, text, changed(text, 16), false},
        {"past a short text", TroubleCode, textLogRecord(start, "P"),
         changed(textLogRecord(start, "P"), 17), false},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(parsed(row.record, row.kind).isSameLog(parsed(row.other, row.kind)), row.same);
        EXPECT_EQ(parsed(row.other, row.kind).isSameLog(parsed(row.record, row.kind)), row.same);
    }
    EXPECT_FALSE(parsed(rirod, Rirod).isSameLog(parsed(rirod, LTrim))) << "another kind";
    EXPECT_FALSE(parsed(rirod, LTrim).isSameLog(parsed(rirod, Rirod))) << "another kind";
}

} // namespace
} // namespace vexa::test
