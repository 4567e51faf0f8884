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

TEST(DeletionPlan, WorkedExample)
{
    const std::vector<LogPlace> logs = {
        {1, 1, 10}, {2, 11, 20}, {3, 31, 30}, {4, 61, 40}, {5, 101, 50}};
    EXPECT_EQ(deletionOrder({1, 3}), (std::vector<int>{3, 1}));
    EXPECT_EQ(scanRange(logs[3]).start, 60);
    EXPECT_EQ(scanRange(logs[3]).count, 40);
    EXPECT_EQ(scanRange({0, 5, -2}).count, 0);
    const std::vector<std::int32_t> first = repairedFirstScans(logs, {0, 20, 0, 40, 0});
    EXPECT_EQ(first[0], 1);
    EXPECT_EQ(first[2], 11);
    EXPECT_EQ(first[4], 41);
}

TEST(DeleteSelectedLogs, RepairsTheLogsThatRemain)
{
    Deleting d;
    d.f.ui.answers = {true};
    EXPECT_EQ(d.run({1, 3}), DeleteResult::Completed);
    EXPECT_EQ(d.f.ui.prompts.at(0).text, "Are you sure?");
    EXPECT_EQ(d.f.ui.prompts.at(0).title, "Delete Selected Log(s)");
    EXPECT_EQ(d.f.host.statuses.first(), "Deleting log(s)...");
    EXPECT_TRUE(d.f.host.statuses.contains("Deleting record 40 of 40"));
    EXPECT_TRUE(d.f.host.statuses.contains("Deleting record 20 of 20"));
    EXPECT_EQ(d.f.host.yields, 60);
    EXPECT_FALSE(d.f.host.cancelShown);
    EXPECT_EQ(d.firstScans(), (std::vector<int>{1, 11, 41}));
    EXPECT_EQ(d.scans->recordCount(), 90);
    EXPECT_EQ(d.remainingExportAsBefore(), (QStringList{"A", "C", "E"}));
}

TEST(DeleteSelectedLogs, TheLastOrEveryLog)
{
    {
        Deleting d;
        d.f.ui.answers = {true};
        EXPECT_EQ(d.run({4}), DeleteResult::Completed);
        EXPECT_EQ(d.firstScans(), (std::vector<int>{1, 11, 31, 61}));
        EXPECT_EQ(d.remainingExportAsBefore(), (QStringList{"A", "B", "C", "D"}));
    }
    {
        Deleting d;
        d.f.ui.answers = {true};
        EXPECT_EQ(d.run({0, 1, 2, 3, 4}), DeleteResult::Completed);
        EXPECT_EQ(d.index->recordCount(), 0);
        EXPECT_EQ(d.scans->recordCount(), 0);
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

TEST(DeleteSelectedLogs, NothingHappensWithoutAYes)
{
    Deleting d;
    EXPECT_EQ(d.run({}), DeleteResult::NotRun);
    EXPECT_TRUE(d.f.ui.prompts.empty()) << "nothing selected: nothing asked";
    d.f.ui.answers = {false};
    EXPECT_EQ(d.run({1}), DeleteResult::NotRun);
    EXPECT_EQ(d.remainingExportAsBefore().size(), 5);
}

TEST(DeleteSelectedLogs, CancelAnsweredNoDeletesTheLogWhole)
{
    Deleting d;
    d.f.host.pressCancelAtYield = 5;
    d.f.ui.answers = {true, false};
    EXPECT_EQ(d.run({1}), DeleteResult::Completed);
    EXPECT_EQ(d.f.ui.texts().at(1), "Canceling right now could corrupt data - Are you sure?");
    EXPECT_FALSE(d.f.host.cancelRequested());
    EXPECT_EQ(d.remainingExportAsBefore(), (QStringList{"A", "C", "D", "E"}));
}

TEST(DeleteSelectedLogs, CancelAnsweredYesLeavesTheInterruptedLogWhole)
{
    // D goes first (40 scans), B is interrupted at its 5th scan; A, C, E are not reached.
    Deleting d;
    d.f.host.pressCancelAtYield = 45;
    d.f.ui.answers = {true, true};
    EXPECT_EQ(d.run({1, 3}), DeleteResult::Cancelled);
    EXPECT_EQ(d.remainingExportAsBefore(), (QStringList{"A", "B", "C", "E"}));
    EXPECT_EQ(d.firstScans(), (std::vector<int>{1, 11, 31, 61}));
    EXPECT_EQ(d.scans->recordCount(), 110);
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
    f.write(Writer::Csv, last);
    EXPECT_TRUE(f.written().endsWith(",101\r\n") || f.written().contains(",101,"))
        << f.written().right(80).constData();
}

TEST(DeleteAllLogs, EmptiesTheTabsDatabasesOnly)
{
    {
        Deleting d;
        d.f.ui.answers = {true};
        EXPECT_EQ(
            deleteAllLogs(LogKind::Rirod, {d.f.sync, *d.index, d.scans.get(), d.f.host, d.f.ui}),
            DeleteResult::Completed);
        EXPECT_EQ(d.f.ui.texts(), QStringList{"Delete all logs?"});
        EXPECT_EQ(d.f.host.statuses, QStringList{"Deleting all logs..."});
        EXPECT_EQ(d.index->recordCount(), 0);
        EXPECT_EQ(d.scans->recordCount(), 0);
        EXPECT_EQ(d.f.handheld.records("TCodeLog").size(), 2u);
    }
    {
        Deleting d(LogKind::TroubleCode);
        d.f.ui.answers = {true};
        EXPECT_EQ(deleteAllLogs(LogKind::TroubleCode,
                                {d.f.sync, *d.index, d.scans.get(), d.f.host, d.f.ui}),
                  DeleteResult::Completed);
        EXPECT_EQ(d.index->recordCount(), 0);
        EXPECT_EQ(d.remainingExportAsBefore().size(), 5) << "Rirod logs untouched";
    }
    {
        Deleting d;
        d.f.ui.answers = {false};
        EXPECT_EQ(
            deleteAllLogs(LogKind::Rirod, {d.f.sync, *d.index, d.scans.get(), d.f.host, d.f.ui}),
            DeleteResult::NotRun);
        EXPECT_EQ(d.remainingExportAsBefore().size(), 5);
    }
    {
        Deleting d;
        FailingAdapter failing(d.scans, 0); // the scan database can't be emptied
        d.f.ui.answers = {true};
        EXPECT_EQ(deleteAllLogs(LogKind::Rirod, {d.f.sync, *d.index, &failing, d.f.host, d.f.ui}),
                  DeleteResult::Failed);
        EXPECT_EQ(d.index->recordCount(), 5) << "the index was emptied inside the same group";
        EXPECT_EQ(d.remainingExportAsBefore().size(), 5);
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
