// Restore against whatever the archive holds and whatever runs beside it:
// every log ends up exactly once, on the handheld or in a row a restore
// brings back, and each restore says what it did.
#include "FiveLogs.h"

#include "core/RuntimeError.h"
#include "deletion/LogbookRestore.h"
#include "deletion/RestoreLogs.h"
#include "format/ScanRecord.h"
#include "logbook/LogPull.h"
#include "logbook/Logbook.h"
#include "store/ChangeGroup.h"
#include "support/ChildProcess.h"
#include "support/RawSql.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

// A child's view of its parent's handheld and archive.
struct Attached {
    TestHandheld handheld{TestHandheld::Mode::Attach};
    SyncComponent sync;
    UnattendedHost host;
    DeletedLogArchive archive;
    explicit Attached(const QString &archivePath) : archive(archivePath) { host.answer = true; }

    CommandOutcome restore(std::vector<std::int64_t> ids = {})
    {
        return restoreLogs(archive, ids.empty() ? notRestoredYet(archive) : ids,
                           {sync, host, handheld.user().id});
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
                    {sync, *index, scans.get(), host, host, archive.path(),
                     QFileInfo(archive.path()).dir().filePath(QStringLiteral("logbook.sqlite")),
                     handheld.user().id});
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
        Archiving a;
        a.f.ui.answers = {true};
        ASSERT_EQ(deleteAllLogs(LogKind::Rirod, a.services(a.archivePath())).status,
                  CommandOutcome::Status::Completed);
        const auto first = startChild(c.first, {a.archivePath()});
        const auto second = startChild(c.second, {a.archivePath()});
        for (QProcess *child : {first.get(), second.get()}) {
            ASSERT_TRUE(child->waitForFinished(120000));
            EXPECT_EQ(child->exitCode(), 0) << child->readAllStandardError().constData();
        }
        a.restore();
        QStringList texts = a.texts();
        texts.sort();
        EXPECT_EQ(texts, (QStringList{"A", "B", "C", "D", "E"}));
        EXPECT_EQ(a.saveEvery(), a.before);
    }
}

// Child: deletes B and D of the five logs, archiving them first, and is
// killed in the middle of D.
const ChildRegistration killedDelete("delete-killed", [](const QStringList &args) -> int {
    FiveLogs d(LogKind::Rirod, TestHandheld::Mode::Attach);
    d.logbook = QFileInfo(args.value(0)).dir().filePath(QStringLiteral("logbook.sqlite"));
    d.f.ui.answers = {true};
    d.f.host.onYield = [](int yield) {
        if (yield == 20)
            signalReadyAndWait();
    };
    d.deleteLines({1, 3}, args.value(0));
    return 1;
});

// Child: restores a row and is killed once the handheld holds the log,
// before the archive records it.
const ChildRegistration killedRestore("restore-killed", [](const QStringList &args) -> int {
    Attached child(args.value(0));
    child.host.onYield = [](int) { signalReadyAndWait(); };
    child.restore({args.value(1).toLongLong()});
    return 1;
});

// The archive's file read-only to SQLite itself, whoever runs the test:
// its write version (byte 18) past what SQLite writes, and its change
// counter (bytes 24-27) moved on so that an open connection reads it again.
void setReadOnly(const QString &archivePath, bool readOnly)
{
    QFile file(archivePath);
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
        std::function<std::int64_t(Archiving &)> interrupt; // the row to restore again
        bool done;
        QString detail;
    } cases[] = {
        {"a restore killed after the handheld's commit",
         [](Archiving &a) {
             a.deleteLines({1});
             const std::int64_t row = DeletedLogArchive(a.archivePath()).logs(false).at(0).id;
             EXPECT_TRUE(runChildUntilReadyThenKill("restore-killed",
                                                    {a.archivePath(), QString::number(row)}));
             EXPECT_EQ(a.texts(), (QStringList{"A", "C", "D", "E", "B"}));
             return row;
         },
         true,
         {}},
        {"a delete whose mark never came",
         [](Archiving &a) {
             const vexasync::Record e = a.index->readByIndex(4);
             ArchivedLog row{0, LogKind::Rirod, e.bytes, {}, {}, false, {}, e.id, 0, {}};
             ChangeGroup group(*a.index);
             for (const auto id : a.scans->idsOfRange(100, 50)) {
                 row.scanRecords.push_back(a.scans->readById(id).bytes);
                 a.scans->remove(id);
             }
             a.index->remove(e.id);
             group.commit();
             return DeletedLogArchive(a.archivePath()).add({row}).at(0);
         },
         true,
         {}},
        {"a delete killed before the handheld's commit",
         [](Archiving &a) {
             EXPECT_TRUE(runChildUntilReadyThenKill("delete-killed", {a.archivePath()}));
             EXPECT_EQ(a.texts(), (QStringList{"A", "B", "C", "D", "E"}));
             const auto held = Logbook(*a.logbook).logs(); // B and D, held first
             EXPECT_EQ(held.size(), 2u);
             for (const LogbookEntry &log : held) // until the next pull
                 EXPECT_EQ(log.state, LogState::Unconfirmed);
             return DeletedLogArchive(a.archivePath()).logs(false).at(0).id; // D
         },
         false, "it is still on the handheld"},
        {"an archive that turned read-only",
         [](Archiving &a) {
             a.deleteLines({1});
             DeletedLogArchive archive(a.archivePath());
             const std::int64_t row = archive.logs(false).at(0).id;
             setReadOnly(a.archivePath(), true);
             const LogOutcome refused =
                 restoreLogs(archive, {row}, {a.f.sync, a.f.host, 0}).logs.at(0);
             EXPECT_EQ(refused.detail,
                       QStringLiteral("Path/File access error: the archive of deleted logs %1 "
                                      "can't be written (attempt to write a readonly database)")
                           .arg(a.archivePath()));
             EXPECT_EQ(a.texts(), (QStringList{"A", "C", "D", "E"}));
             try {
                 DeletedLogArchive again(a.archivePath());
                 ADD_FAILURE() << "opened for writing";
             } catch (const RuntimeError &e) {
                 EXPECT_EQ(e.description(),
                           QStringLiteral("Path/File access error: the archive of deleted logs "
                                          "%1 is read-only: nothing was changed; make it "
                                          "writable and try again")
                               .arg(a.archivePath()));
             }
             setReadOnly(a.archivePath(), false);
             return row;
         },
         true,
         {}},
        {"another user's handheld docked",
         [](Archiving &a) {
             a.deleteLines({1});
             const auto desktop = a.f.handheld.component().createDesktop();
             desktop->dock(desktop->addUser("Other User").id);
             const LogOutcome refused = a.restore().logs.at(0);
             EXPECT_EQ(refused.detail, "the handheld docked now is not Test User's, whose "
                                       "archive this is: dock it, then restore again");
             desktop->dock(a.f.handheld.user().id);
             EXPECT_EQ(a.texts(), (QStringList{"A", "C", "D", "E"}));
             return refused.log;
         },
         true,
         {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Archiving a;
        const std::int64_t row = c.interrupt(a);
        const LogOutcome rerun = a.restore({row}).logs.at(0);
        EXPECT_EQ(rerun.done, c.done);
        EXPECT_EQ(rerun.detail, c.detail);
        QStringList texts = a.texts();
        texts.sort();
        EXPECT_EQ(texts, everyLog);
        EXPECT_EQ(a.saveEvery(), a.before);
        const ArchivedLog after = DeletedLogArchive(a.archivePath()).logs(false).at(0);
        EXPECT_EQ(after.restoredAt.isValid(), c.done);
        const LogOutcome again = a.restore({row}).logs.at(0);
        EXPECT_EQ(again.done, c.done);
        EXPECT_EQ(a.texts().size(), everyLog.size()) << "nothing comes back twice";
    }
}

ArchivedLog removedRow(LogKind kind, Bytes indexRecord, std::vector<Bytes> scans = {})
{
    return {0, kind, std::move(indexRecord), std::move(scans), {}, true, {}, 0, 0, {}};
}

TEST(RestoreLogs, RefusesARowThatIsNotTheLogItSays)
{
    const Stamp start{2005, 1, 1, 0, 0, 0};
    const Bytes scan(ScanRecordSize, 0);
    const struct {
        ArchivedLog row;
        QString reason;
    } cases[] = {
        {removedRow(LogKind::Rirod, Bytes(10, 0)),
         "its index record can't be read: The index record of log 1 is 10 bytes long; a log of "
         "this kind needs at least 39"},
        {removedRow(LogKind::Rirod, rirodIndexRecord(start, 1, 1, {15}, "S"), {Bytes(20, 0)}),
         "scan record 1 is 20 bytes long; a scan record has 64"},
        {removedRow(LogKind::Rirod, {}, {scan}), "it holds scan records no log pointed at"},
        // The five logs' handheld has no Accel test database, and restore makes none.
        {removedRow(LogKind::AccelTest, textLogRecord(start, "0-60")),
         "the handheld has no AccelTestLog database"},
        {removedRow(LogKind::Rirod, rirodIndexRecord(start, 3, 1, {15}, "T"), {scan, scan}),
         "its index record counts 3 scans; the archive holds 2"},
        {removedRow(LogKind::TroubleCode, textLogRecord(start, "P0420"), {scan}),
         "the archive holds 1 scan records for it; a log of the Trouble Codes tab has none"},
        {removedRow(static_cast<LogKind>(7), textLogRecord(start, "P0420")),
         "its kind (7) is none the program knows"},
    };
    Archiving a;
    std::vector<ArchivedLog> rows;
    for (const auto &c : cases)
        rows.push_back(c.row);
    std::vector<std::int64_t> ids = DeletedLogArchive(a.archivePath()).add(rows);
    ids.push_back(99);
    const CommandOutcome outcome = a.restore(ids);
    ASSERT_EQ(outcome.logs.size(), std::size(cases) + 1);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_FALSE(outcome.logs[i].done);
        EXPECT_EQ(outcome.logs[i].detail, cases[i].reason);
    }
    EXPECT_EQ(outcome.logs.back().detail, "the archive has no log 99");
    EXPECT_EQ(a.saveEvery(), a.before);
    EXPECT_EQ(a.f.handheld.records("TCodeLog").size(), 3u);
    EXPECT_THROW(a.f.handheld.open("AccelTestLog"), vexasync::Error);
}

TEST(RestoreLogs, PutsBackTheLogItsRowHolds)
{
    const struct {
        const char *what;
        int scans;      // -1: a twin of the last trouble code, deleted; else a Rirod log's,
                        // into a full scan database
        QString detail; // empty: restored
        QStringList texts;
    } cases[] = {
        {"a twin still on the handheld", -1, {}, {"P0171", "P0174", "P0300", "P0300"}},
        {"a log without scans", 0, {}, {"A", "B", "C", "D", "E", "Full", "Archived"}},
        {"a log with scans",
         1,
         "Overflow: the scan database has no room for 1 scans after its 32767",
         {"A", "B", "C", "D", "E", "Full"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Archiving a(c.scans < 0 ? LogKind::TroubleCode : LogKind::Rirod);
        if (c.scans < 0) {
            a.f.handheld.add("TCodeLog", {a.f.handheld.records("TCodeLog").at(2)});
            ASSERT_EQ(a.deleteLines({3}), CommandOutcome::Status::Completed);
        } else { // 150 scans of the five, then 32617
            addRirodLog(a.f.handheld, {{2004, 4, 1, 0, 0, 0}, "Full", {}, 32617});
            DeletedLogArchive(a.archivePath())
                .add({removedRow(
                    LogKind::Rirod,
                    rirodIndexRecord({2005, 1, 1, 0, 0, 0}, c.scans, 1, {15}, "Archived"),
                    std::vector<Bytes>(std::size_t(c.scans), Bytes(ScanRecordSize, 0)))});
        }
        const LogOutcome outcome = a.restore().logs.at(0);
        EXPECT_EQ(outcome.detail, c.detail);
        EXPECT_EQ(outcome.done, c.detail.isEmpty());
        EXPECT_EQ(a.texts(), c.texts);
        if (c.scans < 0)
            continue;
        // The last log's first scan fits, and deleting A moves it as any.
        const int lastFirstScan = a.firstScans().back();
        ASSERT_EQ(a.deleteLines({0}), CommandOutcome::Status::Completed);
        EXPECT_EQ(a.firstScans().back(), lastFirstScan - 10);
    }
}

} // namespace
} // namespace vexa::test

namespace vexa::test {
namespace {

TEST(LogbookRestore, PutsBackWhatTheDeleteHeldAndRefusesWhatItMayNot)
{
    Archiving a;
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
