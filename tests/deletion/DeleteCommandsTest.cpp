// Deleting logs against real handheld images: whatever happens, every log
// left exports exactly as before.
#include "deletion/DeleteCommands.h"
#include "deletion/DeletionPlan.h"
#include "export/TextLogWriter.h"
#include "support/ChildProcess.h"
#include "support/ExportFixture.h"
#include "support/FailingAdapter.h"

#include <gtest/gtest.h>

#include <map>

namespace vexa::test {
namespace {

// Logs A to E with 10, 20, 30, 40 and 50 scans at positions 1, 11, 31, 61, 101.
void addFiveLogs(const TestHandheld &handheld)
{
    const int scans[] = {10, 20, 30, 40, 50};
    for (int i = 0; i < 5; ++i)
        addRirodLog(
            handheld,
            {{2004, 3, 7 + i, 12, 0, 0}, std::string(1, char('A' + i)), {15, 2, 9}, scans[i]});
}

// Every log of the tab, as its CSV file, by its text.
std::map<QString, QByteArray> exportAll(ExportFixture &f, LogKind kind = LogKind::Rirod)
{
    std::map<QString, QByteArray> files;
    auto index = f.handheld.open(logKindInfo(kind).indexDatabase);
    for (std::int32_t i = 0; i < index->recordCount(); ++i) {
        const LogIndexEntry e = readIndexEntry(*f.bytes, index->readByIndex(i), kind);
        if (kind == LogKind::Rirod)
            f.write(Writer::Csv, e);
        files[e.text] = kind == LogKind::Rirod ? f.written() : QByteArray("text log");
    }
    return files;
}

// What the window would pass for the tab as listed now.
DeleteRequest listed(ExportFixture &f, LogKind kind, std::vector<int> selected)
{
    DeleteRequest r{kind, std::move(selected), 0, {}};
    auto index = f.handheld.open(logKindInfo(kind).indexDatabase);
    r.lineCount = std::min(index->recordCount(), MaxListedLogs);
    for (int i = 0; i < r.lineCount; ++i)
        r.logs[i] = readIndexEntry(*f.bytes, index->readByIndex(i), kind);
    return r;
}

struct Deleting {
    ExportFixture f;
    std::shared_ptr<vexasync::RecordAdapter> index, scans;
    std::map<QString, QByteArray> before;

    explicit Deleting(LogKind kind = LogKind::Rirod)
    {
        addFiveLogs(f.handheld);
        f.handheld.add("TCodeLog", {textLogRecord({2004, 1, 1, 0, 0, 0}, "P0171"),
                                    textLogRecord({2004, 1, 2, 0, 0, 0}, "P0174")});
        index = f.handheld.open(logKindInfo(kind).indexDatabase);
        scans = f.handheld.open("RirodData");
        before = exportAll(f);
        f.host.statuses.clear();
        f.host.yields = 0;
    }
    DeleteResult run(std::vector<int> lines, LogKind kind = LogKind::Rirod,
                     vexasync::RecordAdapter *data = nullptr)
    {
        const DeleteRequest request = listed(f, kind, std::move(lines));
        return deleteSelectedLogs(request,
                                  {f.sync, *index, data ? data : scans.get(), f.host, f.ui});
    }
    std::vector<int> firstScans()
    {
        std::vector<int> first;
        for (std::int32_t i = 0; i < index->recordCount(); ++i)
            first.push_back(f.bytes->readInt16(index->readByIndex(i).bytes, 16, true));
        return first;
    }
    // The remaining logs export as they did before; returns their texts.
    QStringList remainingExportAsBefore()
    {
        f.host.clearCancelRequest();
        f.host.pressCancelAtYield = -1;
        QStringList texts;
        for (const auto &[text, csv] : exportAll(f)) {
            EXPECT_EQ(csv, before.at(text)) << "log " << text.toStdString() << " lost its scans";
            texts << text;
        }
        return texts;
    }
};

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
        Deleting d;
        d.f.ui.answers = {true};
        EXPECT_EQ(d.run(c.lines), DeleteResult::Completed);
        EXPECT_EQ(d.f.ui.prompts.at(0).text, "Are you sure?");
        EXPECT_EQ(d.f.ui.prompts.at(0).title, "Delete Selected Log(s)");
        EXPECT_EQ(d.f.host.statuses.first(), "Deleting log(s)...");
        EXPECT_EQ(d.f.host.yields, c.yields);
        EXPECT_FALSE(d.f.host.cancelShown);
        EXPECT_EQ(d.firstScans(), c.firstScans);
        EXPECT_EQ(d.scans->recordCount(), 150 - c.yields);
        EXPECT_EQ(d.remainingExportAsBefore(), c.remaining);
    }
}

TEST(DeleteSelectedLogs, OtherTabsLoseOneRecordWithoutProgress)
{
    Deleting d(LogKind::TroubleCode);
    d.f.ui.answers = {true};
    EXPECT_EQ(d.run({0}, LogKind::TroubleCode), DeleteResult::Completed);
    EXPECT_EQ(d.f.handheld.records("TCodeLog").size(), 1u);
    EXPECT_EQ(d.f.host.statuses, QStringList{"Deleting log(s)..."});
    EXPECT_EQ(d.remainingExportAsBefore().size(), 5);
}

TEST(DeleteSelectedLogs, NothingHappensWithoutAYesOrForALineNotListed)
{
    Deleting d;
    EXPECT_EQ(d.run({}), DeleteResult::NotRun);
    EXPECT_TRUE(d.f.ui.prompts.empty()) << "nothing selected: nothing asked";
    d.f.ui.answers = {false, true};
    EXPECT_EQ(d.run({1}), DeleteResult::NotRun);
    EXPECT_EQ(d.run({5}), DeleteResult::Failed);
    EXPECT_EQ(d.f.ui.texts().last(), "There was an error deleting the log.\r\n"
                                     "Subscript out of range: list line 5\r\nNumber = 9");
    EXPECT_EQ(d.remainingExportAsBefore().size(), 5);
}

TEST(DeleteSelectedLogs, CancelLeavesTheInterruptedLogWholeOrDeletesItWhole)
{
    const struct {
        bool yes; // to "could corrupt data"
        DeleteResult result;
        QStringList remaining;
        std::vector<int> firstScans;
    } cases[] = {
        // B alone, Cancel at its 5th scan.
        {false, DeleteResult::Completed, {"A", "C", "D", "E"}, {1, 11, 41, 81}},
        // D goes first (40 scans), B is interrupted at its 5th; A, C, E are not reached.
        {true, DeleteResult::Cancelled, {"A", "B", "C", "E"}, {1, 11, 31, 61}},
    };
    for (const auto &c : cases) {
        Deleting d;
        d.f.host.pressCancelAtYield = c.yes ? 45 : 5;
        d.f.ui.answers = {true, c.yes};
        EXPECT_EQ(d.run(c.yes ? std::vector<int>{1, 3} : std::vector<int>{1}), c.result);
        EXPECT_EQ(d.f.ui.texts().at(1), "Canceling right now could corrupt data - Are you sure?");
        EXPECT_FALSE(d.f.host.cancelRequested() && !c.yes) << "No clears the request";
        EXPECT_EQ(d.remainingExportAsBefore(), c.remaining);
        EXPECT_EQ(d.firstScans(), c.firstScans);
    }
}

TEST(DeleteSelectedLogs, AFailureLeavesTheHandheldAsItWas)
{
    Deleting d;
    const auto indexBefore = d.f.handheld.records("RirodIndex");
    const auto scansBefore = d.f.handheld.records("RirodData");
    FailingAdapter failing(d.scans, 55); // D's 40 go, then B fails at its 15th
    d.f.ui.answers = {true};
    EXPECT_EQ(d.run({1, 3}, LogKind::Rirod, &failing), DeleteResult::Failed);
    EXPECT_EQ(d.f.ui.texts().last(),
              "There was an error deleting the log.\r\n"
              "Handheld storage failure: disk I/O error\r\nNumber = 80040206");
    EXPECT_FALSE(d.f.host.cancelShown);
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
    ASSERT_EQ(deleteSelectedLogs(listed(f, LogKind::Rirod, {0}),
                                 {f.sync, *idx, data.get(), f.host, f.ui}),
              DeleteResult::Completed);
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
        DeleteResult result;
    } cases[] = {
        {"Rirod logs", LogKind::Rirod, true, false, DeleteResult::Completed},
        {"trouble codes", LogKind::TroubleCode, true, false, DeleteResult::Completed},
        {"answered No", LogKind::Rirod, false, false, DeleteResult::NotRun},
        {"a failure", LogKind::Rirod, true, true, DeleteResult::Failed},
    };
    for (const auto &c : cases) {
        Deleting d(c.kind);
        FailingAdapter failing(d.scans, 0);
        d.f.ui.answers = {c.yes};
        EXPECT_EQ(deleteAllLogs(c.kind, {d.f.sync, *d.index, c.scansFail ? &failing : d.scans.get(),
                                         d.f.host, d.f.ui}),
                  c.result)
            << c.what;
        EXPECT_EQ(d.f.ui.texts().at(0), "Delete all logs?") << c.what;
        EXPECT_EQ(d.f.host.statuses, c.yes ? QStringList{"Deleting all logs..."} : QStringList{})
            << c.what;
        const bool emptied = c.result == DeleteResult::Completed;
        const bool rirod = c.kind == LogKind::Rirod;
        EXPECT_EQ(d.f.handheld.records("TCodeLog").size(), emptied && !rirod ? 0u : 2u) << c.what;
        EXPECT_EQ(d.f.handheld.records("RirodData").size(), emptied && rirod ? 0u : 150u) << c.what;
        EXPECT_EQ(d.remainingExportAsBefore().size(), emptied && rirod ? 0u : 5u) << c.what;
    }
}

// Child: deletes B and D of the five logs and is killed in the middle of D.
[[maybe_unused]] const ChildRegistration
    killedDelete("delete-killed", [](const QStringList &) -> int {
        ExportFixture f(TestHandheld::Mode::Attach);
        f.ui.answers = {true};
        f.host.onYield = [](int yield) {
            if (yield == 20)
                signalReadyAndWait();
        };
        auto index = openDockedDatabase("RirodIndex");
        auto scans = openDockedDatabase("RirodData");
        deleteSelectedLogs(listed(f, LogKind::Rirod, {1, 3}),
                           {f.sync, *index, scans.get(), f.host, f.ui});
        return 1;
    });

TEST(DeleteSelectedLogs, AKilledProcessLeavesTheHandheldAsBefore)
{
    Deleting d;
    const auto indexBefore = d.f.handheld.records("RirodIndex");
    const auto scansBefore = d.f.handheld.records("RirodData");
    d.index.reset();
    d.scans.reset();
    QString output;
    ASSERT_TRUE(runChildUntilReadyThenKill("delete-killed", {}, &output)) << output.toStdString();
    EXPECT_EQ(d.f.handheld.records("RirodIndex"), indexBefore);
    EXPECT_EQ(d.f.handheld.records("RirodData"), scansBefore);
    EXPECT_EQ(d.remainingExportAsBefore().size(), 5);
}

} // namespace
} // namespace vexa::test
