// The saved-log search against real handheld images.
#include "store/LogSearch.h"
#include "format/OleDate.h"
#include "store/SyncComponent.h"
#include "support/LogRecords.h"

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

const DateText English(QLocale(QLocale::English, QLocale::UnitedStates));

struct Collected final : SearchListener {
    int count = -1;
    std::vector<LogIndexEntry> entries;
    void counted(int logCount) override { count = logCount; }
    void found(int line, const LogIndexEntry &entry) override
    {
        EXPECT_EQ(line, static_cast<int>(entries.size()));
        entries.push_back(entry);
    }
};

Collected search(const TestHandheld &handheld, LogKind kind)
{
    const SyncComponent sync;
    auto bytes = sync.createByteUtility();
    Collected found;
    searchLogs(*handheld.open(logKindInfo(kind).indexDatabase), *bytes, kind, found);
    return found;
}

// The other kinds describe date and text only, their texts in the handheld's
// code page.
TEST(LogSearch, ListsAndDescribesEachKind)
{
    TestHandheld handheld;
    const Params params{15, 2, 0, 0, 0, 0, 0, 0, 9, 200};
    handheld.add("RirodIndex",
                 {rirodIndexRecord({2004, 3, 14, 14, 5, 9}, 1234, 567, params, "Run 1\r\nWarm")});
    handheld.add("AccelTestLog", {textLogRecord({2004, 3, 20, 16, 45, 10},
                                                "0-60: 5.42 s\r\n\x93wet\x94 \x80 \x81")});
    const Collected found = search(handheld, LogKind::Rirod);
    ASSERT_EQ(found.entries.size(), 1u);
    const LogIndexEntry &e = found.entries[0];
    EXPECT_EQ(e.recordId, handheld.open("RirodIndex")->readByIndex(0).id);
    EXPECT_EQ(e.firstScan, 567);
    EXPECT_EQ(e.paramCount, 10);
    EXPECT_EQ(listLine(e, English), "3/14/2004 2:05:09 PM - Run 1");
    EXPECT_EQ(logDescription(e, LogKind::Rirod, English),
              "3/14/2004 2:05:09 PM\r\nRun 1\r\nWarm\r\n1234 scans\r\n"
              "RPM, ECT, ----, ----, ----, ----, ----, ----, MAP, ????");

    const Collected accel = search(handheld, LogKind::AccelTest);
    ASSERT_EQ(accel.entries.size(), 1u);
    EXPECT_EQ(logDescription(accel.entries[0], LogKind::AccelTest, English),
              QString::fromUtf16(
                  u"3/20/2004 4:45:10 PM\r\n0-60: 5.42 s\r\n\u201Cwet\u201D \u20AC \u0081"));
    EXPECT_EQ(accel.entries[0].paramCount, 0);
}

TEST(LogSearch, ListsAtMostAHundredLogs)
{
    for (const int records : {0, 1, 100, 150}) {
        TestHandheld handheld;
        std::vector<Bytes> index;
        for (int i = 0; i < records; ++i)
            index.push_back(
                textLogRecord({2004, 1, 1 + i % 28, 0, 0, 0}, "log " + std::to_string(i)));
        handheld.add("TCodeLog", index);
        const Collected found = search(handheld, LogKind::TroubleCode);
        const int listed = std::min(records, 100);
        EXPECT_EQ(found.count, listed) << records;
        ASSERT_EQ(static_cast<int>(found.entries.size()), listed) << records;
        if (listed > 0) {
            EXPECT_EQ(found.entries.back().text, QString("log %1").arg(listed - 1));
        }
    }
    EXPECT_EQ(foundLogsText(100), "Found 100 saved logs.");
}

TEST(LogSearch, ListLinesShowTheFirstLineOfTheText)
{
    const struct {
        const char *text, *line;
    } cases[] = {
        {"Run 1", "Run 1"}, {"Run 1\r\nmore\r\nand more", "Run 1"}, {"\r\nstarts with a break", ""},
        {"", ""},           {"lone\nbreak", "lone\nbreak"},
    };
    for (const auto &c : cases) {
        LogIndexEntry entry;
        entry.text = c.text;
        entry.logDate = oledate::fromDate(2004, 3, 14);
        EXPECT_EQ(listLine(entry, English), QString("3/14/2004 12:00:00 AM - ") + c.line) << c.text;
    }
}

} // namespace
} // namespace vexa::test
