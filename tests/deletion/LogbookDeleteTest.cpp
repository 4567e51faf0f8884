// Deleted logs kept in the logbook alone and put back: every restored log
// saves byte for byte as it did before the delete; the archive of deleted
// logs that earlier versions wrote is only read.
#include "FiveLogs.h"

#include "core/RuntimeError.h"
#include "deletion/DeletedLogArchive.h"
#include "deletion/HandheldLock.h"
#include "format/IndexRecord.h"
#include "logbook/Logbook.h"
#include "support/ExportToolRun.h"
#include "support/FailingAdapter.h"
#include "support/RawSql.h"

#include <QDir>
#include <QLockFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

QString archiveOf(const FiveLogs &d)
{
    return DeletedLogArchive::pathIn(d.f.sync.userFolder(d.f.handheld.user().id));
}

TEST(LogbookDelete, EveryDeletedLogComesBackAsItWas)
{
    const struct {
        const char *what;
        LogKind kind;
        std::vector<int> lines; // empty: Delete All
        std::size_t held;
    } cases[] = {
        {"two Rirod logs", LogKind::Rirod, {1, 3}, 2},
        {"a trouble code", LogKind::TroubleCode, {1}, 1},
        {"Delete All of Rirod logs", LogKind::Rirod, {}, 5},
        {"Delete All of trouble codes", LogKind::TroubleCode, {}, 3},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Logbooking a(c.kind);
        EXPECT_EQ(c.lines.empty() ? a.deleteAll() : a.deleteLines(c.lines),
                  CommandOutcome::Status::Completed);
        EXPECT_NE(a.saveEvery(), a.before);
        EXPECT_EQ(deletedLogs(*a.logbook).size(), c.held);
        EXPECT_FALSE(QFile::exists(archiveOf(a))) << "deletes write only the logbook";
        EXPECT_EQ(a.restoreAll().size(), c.held);
        EXPECT_EQ(a.saveEvery(), a.before);
        EXPECT_TRUE(a.restoreAll().empty()) << "a restored log is on the handheld again";
    }
}

TEST(LogbookDelete, DeleteAllKeepsTheScansOfNoLogOnceWhateverHappens)
{
    Logbooking a;
    a.f.handheld.add("RirodData", {scanRecord(10, {}), scanRecord(20, {})}); // after E's
    const QString strays = "SELECT user_id, kind, scan_count, archive FROM stray_scans";
    const QString kept = QStringLiteral("%1|0|2|").arg(a.f.handheld.user().id);
    FailingAdapter failing(a.scans, 0); // the handheld's removal fails after the logbook's
    a.f.ui.answers = {true};
    EXPECT_EQ(deleteAllLogs(LogKind::Rirod, a.services(&failing)).status,
              CommandOutcome::Status::Failed);
    EXPECT_EQ(a.saveEvery(), a.before);
    EXPECT_EQ(querySql(*a.logbook, strays), QStringList{kept});
    EXPECT_EQ(a.deleteAll(), CommandOutcome::Status::Completed);
    EXPECT_EQ(a.scans->recordCount(), 0);
    EXPECT_EQ(querySql(*a.logbook, strays), QStringList{kept}) << "kept once";
    EXPECT_EQ(Logbook(*a.logbook).logs().size(), 5u) << "never listed as logs";
}

TEST(LogbookDelete, ACancelledDeleteSaysWhichLogsWentAndRestoresToTheWhole)
{
    Logbooking a;
    // D goes first (40 scans), B is interrupted at its 5th scan and stays.
    a.f.host.pressCancelAtYield = 45;
    a.f.ui.answers = {true, true};
    ASSERT_EQ(a.FiveLogs::deleteLines({1, 3}), CommandOutcome::Status::Cancelled);
    a.f.host.pressCancelAtYield = -1;
    a.f.host.clearCancelRequest();
    {
        // Both held first; only D marked deleted.
        const Logbook logbook(*a.logbook);
        const auto held = logbook.logs();
        ASSERT_EQ(held.size(), 2u);
        for (const LogbookEntry &log : held) {
            EXPECT_EQ(log.state, log.scanCount == 40 ? LogState::Deleted : LogState::OnHandheld);
            EXPECT_EQ(logbook.scans(log.id).size(), static_cast<std::size_t>(log.scanCount));
        }
    }
    EXPECT_EQ(a.restore({a.idOf("B")}).logs.at(0).detail, "it is still on the handheld");
    EXPECT_EQ(a.restoreAll().size(), 1u);
    EXPECT_EQ(a.saveEvery(), a.before);
}

TEST(LogbookDelete, ALogTheLogbookCantKeepStopsOnlyTheDeleteThatTakesIt)
{
    const struct {
        const char *what;
        std::vector<int> lines; // empty: Delete All
        CommandOutcome::Status status;
    } cases[] = {
        {"another line", {0}, CommandOutcome::Status::Completed},
        {"its own line", {2}, CommandOutcome::Status::Failed},
        {"Delete All", {}, CommandOutcome::Status::Failed},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Logbooking a;
        // The third log's scans start past the last one: it can't be read whole.
        vexasync::Record third = a.index->readByIndex(2);
        IndexRecord::setFirstScanIn(*a.f.bytes, third.bytes, 30000);
        a.index->write(third.id, third.attributes, third.category, third.bytes);
        const QByteArray image = a.f.handheld.imageBytes();
        EXPECT_EQ(c.lines.empty() ? a.deleteAll() : a.deleteLines(c.lines), c.status);
        if (c.status == CommandOutcome::Status::Failed) {
            EXPECT_TRUE(a.f.ui.texts().last().contains(
                "The logbook can't keep a log about to be deleted: Rirod Logs log 3 can't be read"))
                << a.f.ui.texts().last().toStdString();
            EXPECT_EQ(a.f.handheld.imageBytes(), image) << "nothing was deleted";
        } else {
            EXPECT_EQ(a.index->recordCount(), 4);
            // moved down by the ten scans of the log deleted before it
            EXPECT_EQ(IndexRecord::firstScanIn(*a.f.bytes, a.index->readById(third.id).bytes),
                      29990);
        }
    }
}

TEST(LogbookDelete, NoLogbookOrLockNoDelete)
{
    Logbooking a;
    const QByteArray image = a.f.handheld.imageBytes();
    // A file where a folder should be: nobody, root included, writes there.
    QFile blocker(a.folder.filePath("not-a-folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString blocked = QDir::toNativeSeparators(blocker.fileName());
    const QString notALogbook = a.folder.filePath("not-a-logbook.sqlite");
    QFile other(notALogbook);
    ASSERT_TRUE(other.open(QIODevice::WriteOnly) && other.write(QByteArray(512, 'x')) == 512);
    other.close();
    const QString userFolder = a.f.sync.userFolder(a.f.handheld.user().id);
    const struct {
        const char *what;
        QString logbook;
        bool moveUserFolder; // so that the lock can't be made
        QString cause;       // the start of the box's second line
    } cases[] = {
        {"a logbook that can't be made", blocker.fileName() + "/logbook.sqlite", false,
         "Path/File access error: the logbook " + blocked + QDir::separator() + "logbook.sqlite"},
        {"a file that is no logbook", notALogbook, false,
         "Path/File access error: " + QDir::toNativeSeparators(notALogbook) + " is not"},
        {"a lock that can't be made", *a.logbook, true,
         "Path/File access error: the logs of the handheld user whose folder is " +
             QDir::toNativeSeparators(userFolder) + " can't be locked ("},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        a.logbook = c.logbook;
        if (c.moveUserFolder) {
            ASSERT_TRUE(QDir().rename(userFolder, userFolder + "-away"));
        }
        EXPECT_EQ(a.deleteLines({1}), CommandOutcome::Status::Failed);
        EXPECT_TRUE(a.f.ui.texts().last().startsWith("There was an error deleting the log."));
        EXPECT_TRUE(a.f.ui.texts().last().section("\r\n", 1, 1).startsWith(c.cause))
            << a.f.ui.texts().last().toStdString();
        EXPECT_EQ(a.deleteAll(), CommandOutcome::Status::Failed);
        if (c.moveUserFolder) {
            ASSERT_TRUE(QDir().rename(userFolder + "-away", userFolder));
        }
    }
    EXPECT_EQ(readFile(notALogbook), QByteArray(512, 'x'));
    a.index.reset();
    a.scans.reset();
    EXPECT_EQ(a.f.handheld.imageBytes(), image);
}

TEST(HandheldLock, TakenInTheUsersFolderUnderTheNameEarlierVersionsUsed)
{
    QTemporaryDir folder;
    const QString native = QDir::toNativeSeparators(folder.path());
    // An earlier version, running beside this one, locks the archive's name.
    QLockFile earlier(folder.filePath("deleted-logs.sqlite.lock"));
    ASSERT_TRUE(earlier.tryLock(0));
    const struct {
        QString folder;
        QString error; // empty: taken
    } cases[] = {
        {folder.path(), "Permission denied: another command is deleting or restoring the logs of "
                        "the handheld user whose folder is " +
                            native + "; nothing was changed, try again when it has ended"},
        {{},
         "Path not found: no handheld user is docked, so no folder holds the lock of its logs; "
         "nothing was changed"},
        {folder.filePath("gone"),
         "Path/File access error: the logs of the handheld user whose "
         "folder is " +
             QDir::toNativeSeparators(folder.filePath("gone")) + " can't be locked (" +
             QDir::toNativeSeparators(folder.filePath("gone/deleted-logs.sqlite.lock")) +
             " can't be made); nothing was changed"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.folder.toStdString());
        try {
            const HandheldLock lock(c.folder, 50);
            ADD_FAILURE() << "taken";
        } catch (const RuntimeError &e) {
            EXPECT_EQ(e.description(), c.error);
        }
    }
    earlier.unlock();
    EXPECT_NO_THROW(HandheldLock(folder.path(), 50));
}

// The archive earlier versions wrote of these lines, in this order, each
// log's index record with its scan records as read, marked removed.
QString archiveAsEarlierVersionsDid(FiveLogs &d, const QString &folder, std::vector<int> lines)
{
    const QString path = DeletedLogArchive::pathIn(folder);
    std::vector<ArchivedLog> rows;
    for (const int line : lines) {
        const LogIndexEntry e = readIndexEntry(*d.f.bytes, d.index->readByIndex(line), d.kind);
        ArchivedLog row;
        row.kind = d.kind;
        row.indexRecord = d.index->readByIndex(line).bytes;
        if (d.kind == LogKind::Rirod)
            for (const auto id : d.scans->idsOfRange(e.firstScan - 1, e.scanCount))
                row.scanRecords.push_back(d.scans->readById(id).bytes);
        rows.push_back(std::move(row));
    }
    DeletedLogArchive archive(path);
    archive.markRemoved(archive.add(rows));
    return path;
}

// Every file in the folder, by name.
std::map<QString, QByteArray> filesIn(const QString &folder)
{
    std::map<QString, QByteArray> files;
    for (const QString &name : QDir(folder).entryList(QDir::Files))
        files[name] = readFile(QDir(folder).filePath(name));
    return files;
}

TEST(DeletedLogArchive, ArchivedLogsSaveFromTheArchiveAsFromTheHandheld)
{
    const struct {
        LogKind kind;
        const char *tab;
        std::vector<int> lines;
        QStringList formats;
    } cases[] = {
        {LogKind::Rirod, "0", {0, 2, 4}, {"CSV", "TXT", "EFI"}},
        {LogKind::TroubleCode, "3", {1}, {"CSV", "TXT"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.tab);
        FiveLogs d(c.kind);
        QTemporaryDir folder, fromHandheld, fromArchive;
        QStringList chosen{"--tab", c.tab};
        for (const int line : c.lines)
            chosen << "--log" << QString::number(line + 1);
        for (const QString &format : c.formats)
            ASSERT_EQ(
                exportTool(chosen + QStringList{"--format", format, "--out", fromHandheld.path()})
                    .exitCode,
                0);
        const QString archive = archiveAsEarlierVersionsDid(d, folder.path(), c.lines);
        const QByteArray before = readFile(archive);
        for (const QString &format : c.formats) {
            const ToolRun run = exportTool({"--archive", archive, "--tab", c.tab, "--all",
                                            "--format", format, "--out", fromArchive.path()});
            EXPECT_EQ(run.exitCode, 0) << run.err.constData();
        }
        EXPECT_EQ(filesIn(fromArchive.path()), filesIn(fromHandheld.path()));
        EXPECT_EQ(filesIn(fromArchive.path()).size(), c.lines.size() * c.formats.size());
        EXPECT_EQ(readFile(archive), before) << "only read";
    }
}

TEST(DeletedLogArchive, ADamagedRowHarmsOnlyItself)
{
    const struct {
        const char *set; // on the row of B, between C and A
        const char *damage;
    } cases[] = {
        {"scan_records = substr(scan_records, 1, length(scan_records) - 5)",
         "its scan records are cut short"},
        {"scan_count = 1000000000", "its scan records are cut short"},
        {"scan_count = 1099511627776", "its scan records are cut short"},
        {"scan_count = -3", "its scan count (-3) is below zero"},
        {"scan_count = 19", "it lists 19 scan records but holds 20"},
        {"kind = 4", "its kind (4) is none the program knows"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.set);
        FiveLogs d;
        QTemporaryDir folder;
        const QString path = archiveAsEarlierVersionsDid(d, folder.path(), {2, 1, 0});
        DeletedLogArchive archive(path, DeletedLogArchive::Access::ReadOnly);
        std::vector<std::int64_t> ids;
        for (const ArchivedLog &log : archive.logs(false))
            ids.push_back(log.id);
        ASSERT_EQ(ids.size(), 3u);
        runSql(path,
               QStringLiteral("UPDATE deleted_logs SET %1 WHERE id = %2").arg(c.set).arg(ids[1]));

        EXPECT_EQ(archive.logs(false).size(), 3u);
        const std::vector<ArchivedLog> logs = archive.logs();
        ASSERT_EQ(logs.size(), 3u);
        EXPECT_EQ(logs[1].damage, c.damage);
        EXPECT_EQ(logs[0].damage + logs[2].damage, "");
        EXPECT_EQ(logs[0].scanRecords.size() + logs[2].scanRecords.size(), 40u);

        const ToolRun listed = exportTool({"--archive", path, "--list"});
        EXPECT_EQ(listed.exitCode, 1);
        EXPECT_EQ(listed.out, "3/9/2004 12:00:00 PM - C\n3/7/2004 12:00:00 PM - A\n");
        EXPECT_EQ(QString::fromUtf8(listed.err),
                  QStringLiteral("vexa-export: log 2 can't be read: %1 (archive id %2)\n")
                      .arg(c.damage)
                      .arg(ids[1]));
    }
}

} // namespace
} // namespace vexa::test
