// Restore from the logbook against whatever runs beside it: every log ends
// up exactly once, on the handheld or deleted in the logbook where a
// restore brings it back, and each restore says what it did.
#include "FiveLogs.h"

#include "core/RuntimeError.h"
#include "deletion/ArchiveTakeIn.h"
#include "deletion/DeletedLogArchive.h"
#include "deletion/LogbookRestore.h"
#include "deletion/RestoreLogs.h"
#include "format/ScanRecord.h"
#include "logbook/LogPull.h"
#include "logbook/Logbook.h"
#include "support/ChildProcess.h"
#include "support/RawSql.h"

#include <QDir>
#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

// A child's view of its parent's handheld and logbook.
struct Attached {
    TestHandheld handheld{TestHandheld::Mode::Attach};
    SyncComponent sync;
    UnattendedHost host;
    QString logbook;
    explicit Attached(const QString &logbookPath) : logbook(logbookPath) { host.answer = true; }

    CommandOutcome restore(std::vector<std::int64_t> ids = {})
    {
        return putBackFromLogbook(logbook, sync, host, std::move(ids));
    }
    // Lists the Rirod tab and runs `command` on the list, eight times, over
    // databases kept open as the window keeps them.
    int repeat(CommandOutcome (*command)(const DeleteRequest &, const DeleteServices &))
    {
        const auto bytes = sync.createByteUtility();
        const auto index = handheld.open("RirodIndex");
        const auto scans = handheld.open("RirodData");
        for (int run = 0; run < 8; ++run) {
            command(listedRequest(*bytes, *index, LogKind::Rirod, {0}),
                    {sync, *index, scans.get(), host, host, logbook, handheld.user().id});
            QThread::msleep(5);
        }
        return 0;
    }
};

const ChildRegistration restoreAll("restore-all", [](const QStringList &args) {
    Attached child(args.value(0));
    for (int pass = 0; pass < 3; ++pass)
        child.restore();
    return 0;
});
const ChildRegistration deleteAll("delete-all", [](const QStringList &args) {
    return Attached(args.value(0)).repeat([](const DeleteRequest &, const DeleteServices &s) {
        return deleteAllLogs(LogKind::Rirod, s);
    });
});
const ChildRegistration deleteFirst("delete-first", [](const QStringList &args) {
    return Attached(args.value(0)).repeat([](const DeleteRequest &listed, const DeleteServices &s) {
        return listed.lineCount == 0 ? CommandOutcome{} : deleteSelectedLogs(listed, s);
    });
});

TEST(RestoreLogs, DeletesAndRestoresAtOnceKeepEveryLogOnce)
{
    const struct {
        const char *what;
        const char *first, *second; // children run at once
    } cases[] = {
        {"two restores at once", "restore-all", "restore-all"},
        {"Delete All during a restore", "restore-all", "delete-all"},
        {"Delete... during a restore", "restore-all", "delete-first"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Logbooking a;
        ASSERT_EQ(a.deleteAll(), CommandOutcome::Status::Completed);
        const auto first = startChild(c.first, {*a.logbook});
        const auto second = startChild(c.second, {*a.logbook});
        for (QProcess *child : {first.get(), second.get()}) {
            ASSERT_TRUE(child->waitForFinished(120000));
            EXPECT_EQ(child->exitCode(), 0) << child->readAllStandardError().constData();
        }
        a.restore();
        QStringList texts = a.texts();
        texts.sort();
        EXPECT_EQ(texts, (QStringList{"A", "B", "C", "D", "E"}));
        EXPECT_EQ(a.saveEvery(), a.before);
        EXPECT_EQ(Logbook(*a.logbook).logs().size(), 5u) << "each log held once";
    }
}

// Child: deletes B and D of the five logs, holding them in the logbook
// first, and is killed in the middle of D.
const ChildRegistration killedDelete("delete-killed", [](const QStringList &args) -> int {
    FiveLogs d(LogKind::Rirod, TestHandheld::Mode::Attach);
    d.logbook = args.value(0);
    d.f.ui.answers = {true};
    d.f.host.onYield = [](int yield) {
        if (yield == 20)
            signalReadyAndWait();
    };
    d.deleteLines({1, 3});
    return 1;
});

// Child: restores a log and is killed once the handheld holds it, after
// the logbook recorded it.
const ChildRegistration killedRestore("restore-killed", [](const QStringList &args) -> int {
    Attached child(args.value(0));
    child.host.onYield = [](int) { signalReadyAndWait(); };
    child.restore({args.value(1).toLongLong()});
    return 1;
});

// The file read-only to SQLite itself, whoever runs the test: its write
// version (byte 18) past what SQLite writes, and its change counter (bytes
// 24-27) moved on so that an open connection reads it again.
void setReadOnly(const QString &path, bool readOnly)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray header = file.read(28);
    header[18] = readOnly ? 3 : 1;
    header[27] = static_cast<char>(header[27] + 1);
    file.seek(0);
    file.write(header);
}

TEST(RestoreLogs, ARerunFinishesWhatWasCutShort)
{
    const QStringList everyLog{"A", "B", "C", "D", "E"};
    const struct {
        const char *what;
        std::function<std::int64_t(Logbooking &)> interrupt; // the log to restore again
        bool done;
        QString detail;
    } cases[] = {
        {"a restore killed after the handheld's commit",
         [](Logbooking &a) {
             a.deleteLines({1});
             const std::int64_t b = a.idOf("B");
             EXPECT_TRUE(
                 runChildUntilReadyThenKill("restore-killed", {*a.logbook, QString::number(b)}));
             EXPECT_EQ(a.texts(), (QStringList{"A", "C", "D", "E", "B"}));
             return b;
         },
         true, "it was restored already"},
        {"a delete killed before the handheld's commit",
         [](Logbooking &a) {
             EXPECT_TRUE(runChildUntilReadyThenKill("delete-killed", {*a.logbook}));
             EXPECT_EQ(a.texts(), (QStringList{"A", "B", "C", "D", "E"}));
             const std::int64_t d = a.idOf("D");
             EXPECT_EQ(a.restore({d}).logs.at(0).detail,
                       "its delete was never confirmed: pull from its handheld first");
             Logbook logbook(*a.logbook);
             pullHandheld(logbook, a.f.sync, *a.f.bytes);
             return d;
         },
         false, "it is still on the handheld"},
        {"a logbook that turned read-only",
         [](Logbooking &a) {
             a.deleteLines({1});
             setReadOnly(*a.logbook, true);
             const LogOutcome refused = a.restore({a.idOf("B")}).logs.at(0);
             EXPECT_EQ(refused.detail,
                       QStringLiteral("Path/File access error: the logbook %1 can't be written "
                                      "(attempt to write a readonly database)")
                           .arg(QDir::toNativeSeparators(*a.logbook)));
             EXPECT_EQ(a.texts(), (QStringList{"A", "C", "D", "E"}));
             setReadOnly(*a.logbook, false);
             return refused.log;
         },
         true,
         {}},
        {"another user's handheld docked",
         [](Logbooking &a) {
             a.deleteLines({1});
             const auto desktop = a.f.handheld.component().createDesktop();
             desktop->dock(desktop->addUser("Other User").id);
             const LogOutcome refused = a.restore().logs.at(0);
             EXPECT_EQ(refused.detail, "it is Test User's log, and the handheld docked now is "
                                       "Other User's: dock Test User's, or give --to-docked");
             desktop->dock(a.f.handheld.user().id);
             EXPECT_EQ(a.texts(), (QStringList{"A", "C", "D", "E"}));
             return refused.log;
         },
         true,
         {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Logbooking a;
        const std::int64_t log = c.interrupt(a);
        const LogOutcome rerun = a.restore({log}).logs.at(0);
        EXPECT_EQ(rerun.done, c.done);
        EXPECT_EQ(rerun.detail, c.detail);
        QStringList texts = a.texts();
        texts.sort();
        EXPECT_EQ(texts, everyLog);
        EXPECT_EQ(a.saveEvery(), a.before);
        EXPECT_EQ(Logbook(*a.logbook).log(log).state,
                  c.done ? LogState::PutBack : LogState::OnHandheld);
        const LogOutcome again = a.restore({log}).logs.at(0);
        EXPECT_EQ(again.done, c.done);
        EXPECT_EQ(a.texts().size(), everyLog.size()) << "nothing comes back twice";
    }
}

ArchivedLog removedRow(LogKind kind, Bytes indexRecord, std::vector<Bytes> scans = {})
{
    return {0, kind, std::move(indexRecord), std::move(scans), {}, true, {}, 0, 0, {}};
}

TEST(RestoreLogs, RefusesRecordsThatAreNotTheLogTheySay)
{
    const Stamp start{2005, 1, 1, 0, 0, 0};
    const Bytes scan(ScanRecordSize, 0);
    const struct {
        ArchivedLog log;
        QString reason;
    } cases[] = {
        {removedRow(LogKind::Rirod, Bytes(10, 0)),
         "its index record can't be read: The index record of log 1 is 10 bytes long; a log of "
         "this kind needs at least 39"},
        {removedRow(LogKind::Rirod, rirodIndexRecord(start, 1, 1, {15}, "S"), {Bytes(20, 0)}),
         "scan record 1 is 20 bytes long; a scan record has 64"},
        {removedRow(LogKind::Rirod, {}, {scan}), "it holds scan records no log pointed at"},
        {removedRow(LogKind::Rirod, rirodIndexRecord(start, 3, 1, {15}, "T"), {scan, scan}),
         "its index record counts 3 scans; the logbook holds 2"},
        {removedRow(LogKind::TroubleCode, textLogRecord(start, "P0420"), {scan}),
         "the logbook holds 1 scan records for it; a log of the Trouble Codes tab has none"},
        {removedRow(LogKind::TroubleCode, textLogRecord(start, "P0420")), ""},
    };
    const auto bytes = SyncComponent().createByteUtility();
    for (const auto &c : cases)
        EXPECT_EQ(refusal(c.log, *bytes), c.reason);
}

TEST(RestoreLogs, PutsBackTheLogItHolds)
{
    const struct {
        const char *what;
        int scans;      // -1: a twin of the last trouble code; -2: an Accel test log the handheld
                        // has no database for; else a Rirod log's, into a full scan database
        QString detail; // empty: restored
        QStringList texts;
    } cases[] = {
        {"a twin still on the handheld", -1, {}, {"P0171", "P0174", "P0300", "P0300"}},
        {"a log without scans", 0, {}, {"A", "B", "C", "D", "E", "Full", "Held"}},
        {"a log with scans",
         1,
         "Overflow: the scan database has no room for 1 scans after its 32767",
         {"A", "B", "C", "D", "E", "Full"}},
        {"a log whose database is gone", -2, "the handheld has no AccelTestLog database", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Logbooking a(c.scans == -1 ? LogKind::TroubleCode : LogKind::Rirod);
        if (c.scans == -1) {
            a.f.handheld.add("TCodeLog", {a.f.handheld.records("TCodeLog").at(2)});
            ASSERT_EQ(a.deleteLines({3}), CommandOutcome::Status::Completed);
        } else if (c.scans == -2) { // as an earlier version's archive kept it
            const QString archive = DeletedLogArchive::pathIn(a.folder.path());
            DeletedLogArchive earlier(archive);
            earlier.markRemoved(earlier.add(
                {removedRow(LogKind::AccelTest, textLogRecord({2005, 1, 1, 0, 0, 0}, "0-60"))}));
            Logbook logbook(*a.logbook);
            takeInArchive(logbook, archive, a.f.handheld.user().id, "Test User", *a.f.bytes);
        } else { // Held goes, then 150 scans of the five and 32617 fill the database
            addRirodLog(a.f.handheld, {{2005, 1, 1, 0, 0, 0}, "Held", {15}, c.scans});
            ASSERT_EQ(a.deleteLines({5}), CommandOutcome::Status::Completed);
            addRirodLog(a.f.handheld, {{2004, 4, 1, 0, 0, 0}, "Full", {}, 32617});
        }
        const std::vector<LogOutcome> restored = a.restore().logs;
        ASSERT_EQ(restored.size(), 1u);
        const LogOutcome &outcome = restored[0];
        EXPECT_EQ(outcome.detail, c.detail);
        EXPECT_EQ(outcome.done, c.detail.isEmpty());
        if (c.scans == -2) {
            EXPECT_THROW(a.f.handheld.open("AccelTestLog"), vexasync::Error) << "none made";
            continue;
        }
        EXPECT_EQ(a.texts(), c.texts);
        if (c.scans < 0)
            continue;
        // The last log's first scan fits, and deleting A moves it as any.
        const int lastFirstScan = a.firstScans().back();
        ASSERT_EQ(a.deleteLines({0}), CommandOutcome::Status::Completed);
        EXPECT_EQ(a.firstScans().back(), lastFirstScan - 10);
    }
}

TEST(LogbookRestore, PutsBackWhatTheDeleteHeldAndRefusesWhatItMayNot)
{
    Logbooking a;
    ASSERT_EQ(a.deleteLines({0, 1, 3}), CommandOutcome::Status::Completed); // A, B, D
    Logbook logbook(*a.logbook);
    std::map<int, std::int64_t> byScans; // A 10, B 20, D 40
    for (const LogbookEntry &log : logbook.logs())
        byScans[log.scanCount] = log.id;
    runSql(*a.logbook, QStringLiteral("UPDATE logs SET user_id = 4242, user_name = 'Other' "
                                      "WHERE id = %1")
                           .arg(byScans[40]));
    runSql(*a.logbook, QStringLiteral("DELETE FROM log_scans WHERE log = %1").arg(byScans[10]));
    const auto restore = [&](std::vector<std::int64_t> ids, bool toDocked) {
        return restoreFromLogbook(logbook, ids, {a.f.sync, a.f.host, toDocked}).logs;
    };
    const struct {
        const char *what;
        std::int64_t id;
        bool toDocked, done;
        const char *detail; // the start of it
    } cases[] = {
        {"B", byScans[20], false, true, ""},
        {"D, another user's", byScans[40], false, false, "it is Other's log"},
        {"D, to the docked", byScans[40], true, true, ""},
        {"B again", byScans[20], false, true, "it was restored already"},
        {"A, cut short", byScans[10], false, false, "Subscript out of range"},
        {"no such log", 999, false, false, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const auto outcome = restore({c.id}, c.toDocked);
        ASSERT_EQ(outcome.size(), 1u);
        EXPECT_EQ(outcome[0].done, c.done) << outcome[0].detail.toStdString();
        EXPECT_EQ(outcome[0].detail.left(static_cast<qsizetype>(strlen(c.detail))), c.detail);
    }
    pullHandheld(logbook, a.f.sync, *a.f.bytes);
    for (const LogbookEntry &log : logbook.logs())
        if (log.scanCount == 30) { // C, never deleted
            const auto still = restore({log.id}, false);
            EXPECT_FALSE(still[0].done);
            EXPECT_EQ(still[0].detail, "it is still on the handheld");
        }
    EXPECT_EQ(a.texts().size(), 4) << "A stays deleted";
}

} // namespace
} // namespace vexa::test
