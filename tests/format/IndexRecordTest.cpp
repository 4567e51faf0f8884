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

struct Reference {
    std::string what;
    LogKind kind;
    Bytes record;
};

// The records the tests build, and records no logger writes with bytes in
// places no field names.
std::vector<Reference> referenceRecords()
{
    std::vector<Reference> refs;
    const auto addEveryKind = [&](const std::string &what, const LogCase &log) {
        refs.push_back({what, LogKind::Rirod,
                        rirodIndexRecord(log.start, static_cast<int>(log.scans.size()), 1,
                                         log.params, log.text)});
        for (const LogKind kind : TextKinds)
            refs.push_back({what, kind, textLogRecord(log.start, log.text)});
    };
    std::string everyByte;
    for (int b = 1; b < 256; ++b)
        everyByte += static_cast<char>(b);
    addEveryKind("every byte value", {{2004, 3, 7, 14, 5, 9}, everyByte, {250, 199, 0, 255}, {}});
    addEveryKind("an empty text", {{2004, 1, 1, 0, 0, 0}, "", {}, {}});
    addEveryKind("a text past 999 characters",
                 {{2004, 1, 1, 0, 0, 0}, std::string(1200, 'y'), {}, {}});
    addEveryKind("a date the calendar can't hold", {{10000, 0, -1, 25, 61, -1}, "x", {}, {}});
    refs.push_back({"the lowest first scan", LogKind::Rirod,
                    rirodIndexRecord({2004, 3, 9, 12, 0, 0}, -1, -32768, {15}, "C")});

    const auto damaged = [&](const std::string &what, LogKind kind, Bytes record,
                             std::initializer_list<std::size_t> offsets) {
        for (const std::size_t at : offsets) {
            if (record.size() <= at)
                record.resize(at + 1, 0);
            record[at] = static_cast<std::uint8_t>(0xA0 + at % 16);
        }
        refs.push_back({what, kind, std::move(record)});
    };
    const Bytes rirod = rirodIndexRecord({2004, 3, 7, 14, 5, 9}, 12, 3, {15, 2, 9}, "Run");
    damaged("Rirod: 12, 13, between parameters, 38", LogKind::Rirod, rirod,
            {12, 13, 19, 21, 37, 38});
    damaged("Rirod: past the text's zero", LogKind::Rirod, rirod, {43, 44, 60});
    Bytes noZero = rirod;
    noZero.pop_back();
    damaged("Rirod: a text that runs to the end", LogKind::Rirod, noZero, {});
    Bytes past999 = rirodIndexRecord({2004, 1, 1, 0, 0, 0}, 1, 1, {}, std::string(1200, 'z'));
    damaged("Rirod: the text past 999 characters", LogKind::Rirod, past999, {39 + 999});
    for (const LogKind kind : TextKinds) {
        const Bytes text = textLogRecord({2004, 1, 1, 0, 0, 0}, "P1");
        damaged("12, 13, past the text's zero", kind, text, {12, 13, 17, 30});
        Bytes cut = text;
        cut.resize(15);
        damaged("15 bytes", kind, cut, {});
        cut.resize(14);
        damaged("14 bytes: no text", kind, cut, {});
    }
    return refs;
}

TEST(IndexRecord, RenderGivesBackTheBytesParsed)
{
    for (const Reference &ref : referenceRecords()) {
        SCOPED_TRACE(ref.what + " as " + logKindInfo(ref.kind).caption);
        EXPECT_EQ(parsed(ref.record, ref.kind).render(componentBytes()), ref.record);
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
