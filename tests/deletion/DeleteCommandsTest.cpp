// Deleting logs against real handheld images: whatever happens, every log
// left exports exactly as before.
#include "FiveLogs.h"

#include "deletion/DeletionPlan.h"
#include "support/FailingAdapter.h"

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

TEST(DeletionPlan, LinesGoFromTheLastAndOnceEach)
{
    EXPECT_EQ(deletionOrder({1, 3, 1}), (std::vector<int>{3, 1}));
    EXPECT_EQ(scanRange({0, 5, -2}).count, 0);
}

TEST(DeleteSelectedLogs, RepairsTheLogsThatRemain)
{
    const struct {
        std::vector<int> lines;
        std::vector<int> firstScans;
        QStringList remaining;
        int yields;
    } cases[] = {
        {{1, 3}, {1, 11, 41}, {"A", "C", "E"}, 60},
        {{4}, {1, 11, 31, 61}, {"A", "B", "C", "D"}, 50}, // the last log
        {{0, 1, 2, 3, 4}, {}, {}, 150},
    };
    for (const auto &c : cases) {
        FiveLogs d;
        d.f.ui.answers = {true};
        EXPECT_EQ(d.deleteLines(c.lines), CommandOutcome::Status::Completed);
        EXPECT_EQ(d.f.ui.prompts.at(0).text, "Are you sure?");
        EXPECT_EQ(d.f.ui.prompts.at(0).title, "Delete Selected Log(s)");
        EXPECT_EQ(d.f.statuses.first(), "Deleting log(s)...");
        EXPECT_EQ(d.f.host.yields(), c.yields);
        EXPECT_FALSE(d.f.host.cancelShown());
        EXPECT_EQ(d.firstScans(), c.firstScans);
        EXPECT_EQ(d.scans->recordCount(), 150 - c.yields);
        EXPECT_EQ(d.remainingSaveAsBefore(), c.remaining);
    }
}

TEST(DeleteSelectedLogs, OtherTabsLoseOneRecordWithoutProgress)
{
    FiveLogs d(LogKind::TroubleCode);
    d.f.ui.answers = {true};
    EXPECT_EQ(d.deleteLines({0}), CommandOutcome::Status::Completed);
    EXPECT_EQ(d.f.statuses, QStringList{"Deleting log(s)..."});
    EXPECT_EQ(d.remainingSaveAsBefore(), (QStringList{"P0174", "P0300"}));
    EXPECT_EQ(d.f.handheld.records("RirodIndex").size(), 5u);
}

TEST(DeleteSelectedLogs, NothingHappensWithoutAYesOrForALineNotListed)
{
    FiveLogs d;
    EXPECT_EQ(d.deleteLines({}), CommandOutcome::Status::NotRun);
    EXPECT_TRUE(d.f.ui.prompts.empty()) << "nothing selected: nothing asked";
    d.f.ui.answers = {false, true, true};
    EXPECT_EQ(d.deleteLines({1}), CommandOutcome::Status::NotRun);
    EXPECT_EQ(d.deleteLines({5}), CommandOutcome::Status::Failed);
    EXPECT_EQ(d.f.ui.texts().last(), "There was an error deleting the log.\r\n"
                                     "Subscript out of range: list line 5\r\nNumber = 9");
    // Listed before another command deleted E: line 4 is no log now.
    const DeleteRequest listed = listedRequest(*d.f.bytes, *d.index, LogKind::Rirod, {0});
    d.index->remove(d.index->readByIndex(4).id);
    EXPECT_EQ(deleteSelectedLogs(listed, d.services()).status, CommandOutcome::Status::Failed);
    EXPECT_EQ(d.f.ui.texts().last(),
              "There was an error deleting the log.\r\n"
              "The handheld's logs changed since they were listed (list line 4 is not the log "
              "listed): nothing was deleted; choose the logs again in the list read now\r\n"
              "Number = 80040201");
    EXPECT_EQ(d.remainingSaveAsBefore().size(), 4);
}

TEST(DeleteSelectedLogs, CancelLeavesTheInterruptedLogWholeOrDeletesItWhole)
{
    const struct {
        bool yes; // to "could corrupt data"
        CommandOutcome::Status result;
        QStringList remaining;
        std::vector<int> firstScans;
        std::vector<std::pair<int, bool>> linesDeleted; // in the order tried
    } cases[] = {
        // B alone, Cancel at its 5th scan.
        {false,
         CommandOutcome::Status::Completed,
         {"A", "C", "D", "E"},
         {1, 11, 41, 81},
         {{1, true}}},
        // D goes first (40 scans), B is interrupted at its 5th; A, C, E are not reached.
        {true,
         CommandOutcome::Status::Cancelled,
         {"A", "B", "C", "E"},
         {1, 11, 31, 61},
         {{3, true}, {1, false}}},
    };
    for (const auto &c : cases) {
        FiveLogs d;
        d.f.host.pressCancelAtYield = c.yes ? 45 : 5;
        d.f.ui.answers = {true, c.yes};
        EXPECT_EQ(d.deleteLines(c.yes ? std::vector<int>{1, 3} : std::vector<int>{1}), c.result);
        EXPECT_EQ(d.f.ui.texts().at(1), "Canceling right now could corrupt data - Are you sure?");
        EXPECT_FALSE(d.f.host.cancelRequested() && !c.yes) << "No clears the request";
        EXPECT_EQ(d.remainingSaveAsBefore(), c.remaining);
        EXPECT_EQ(d.firstScans(), c.firstScans);
        std::vector<std::pair<int, bool>> linesDeleted;
        for (const LogOutcome &log : d.outcome.logs)
            linesDeleted.emplace_back(static_cast<int>(log.log), log.done);
        EXPECT_EQ(linesDeleted, c.linesDeleted);
    }
}

TEST(DeleteSelectedLogs, AFailureLeavesTheHandheldAsItWas)
{
    FiveLogs d;
    const auto indexBefore = d.f.handheld.records("RirodIndex");
    const auto scansBefore = d.f.handheld.records("RirodData");
    FailingAdapter failing(d.scans, 55); // D's 40 go, then B fails at its 15th
    d.f.ui.answers = {true};
    EXPECT_EQ(d.deleteLines({1, 3}, &failing), CommandOutcome::Status::Failed);
    EXPECT_EQ(d.f.ui.texts().last(),
              "There was an error deleting the log.\r\n"
              "Handheld storage failure: disk I/O error\r\nNumber = 80040206");
    EXPECT_FALSE(d.f.host.cancelShown());
    EXPECT_EQ(d.f.handheld.records("RirodIndex"), indexBefore);
    EXPECT_EQ(d.f.handheld.records("RirodData"), scansBefore);
}

TEST(DeleteSelectedLogs, LogsBeyondTheListAreRepairedToo)
{
    ExportFixture f;
    std::vector<Bytes> scans, index;
    for (int i = 0; i < 102; ++i) {
        Channels c{};
        c[0].value = float(i);
        scans.push_back(scanRecord(10, c));
        index.push_back(
            rirodIndexRecord({2004, 1, 1, 0, 0, 0}, 1, i + 1, {15}, "log " + std::to_string(i)));
    }
    f.handheld.add("RirodData", scans);
    f.handheld.add("RirodIndex", index);
    auto idx = f.handheld.open("RirodIndex");
    auto data = f.handheld.open("RirodData");
    f.ui.answers = {true};
    ASSERT_EQ(deleteSelectedLogs(listedRequest(*f.bytes, *idx, LogKind::Rirod, {0}),
                                 {f.sync, *idx, data.get(), f.host, f.ui})
                  .status,
              CommandOutcome::Status::Completed);
    const LogIndexEntry last = readIndexEntry(*f.bytes, idx->readByIndex(100), LogKind::Rirod);
    EXPECT_EQ(last.text, "log 101");
    EXPECT_EQ(last.firstScan, 101) << "an unlisted log follows its scans";
    EXPECT_EQ(data->readByIndex(last.firstScan - 1).bytes, scans[101]);
}

TEST(DeleteAllLogs, EmptiesTheTabsDatabasesOnly)
{
    const struct {
        const char *what;
        LogKind kind;
        bool yes;
        bool scansFail; // the scan database can't be emptied
        CommandOutcome::Status result;
    } cases[] = {
        {"Rirod logs", LogKind::Rirod, true, false, CommandOutcome::Status::Completed},
        {"trouble codes", LogKind::TroubleCode, true, false, CommandOutcome::Status::Completed},
        {"answered No", LogKind::Rirod, false, false, CommandOutcome::Status::NotRun},
        {"a failure", LogKind::Rirod, true, true, CommandOutcome::Status::Failed},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        FiveLogs d(c.kind);
        FailingAdapter failing(d.scans, 0);
        d.f.ui.answers = {c.yes};
        EXPECT_EQ(deleteAllLogs(c.kind, d.services(c.scansFail ? &failing : nullptr)).status,
                  c.result);
        EXPECT_EQ(d.f.ui.texts().at(0), "Delete all logs?");
        EXPECT_EQ(d.f.statuses, c.yes ? QStringList{"Deleting all logs..."} : QStringList{});
        const bool emptied = c.result == CommandOutcome::Status::Completed;
        const bool rirod = c.kind == LogKind::Rirod;
        EXPECT_EQ(d.remainingSaveAsBefore().size(), emptied ? 0u : rirod ? 5u : 3u);
        EXPECT_EQ(d.f.handheld.records("TCodeLog").size(), emptied && !rirod ? 0u : 3u);
        EXPECT_EQ(d.f.handheld.records("RirodData").size(), emptied && rirod ? 0u : 150u);
    }
}

} // namespace
} // namespace vexa::test
