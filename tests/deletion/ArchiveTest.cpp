// Deleted logs kept in the archive and put back: every restored log saves
// byte for byte as it did before the delete.
#include "FiveLogs.h"

#include "deletion/DeletedLogArchive.h"
#include "logbook/Logbook.h"
#include "support/ExportToolRun.h"
#include "support/RawSql.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

TEST(DeletedLogArchive, EveryDeletedLogComesBackAsItWas)
{
    const struct {
        const char *what;
        LogKind kind;
        std::vector<int> lines; // empty: Delete All
        std::size_t archived;   // rows, with any scans of no log
    } cases[] = {
        {"two Rirod logs", LogKind::Rirod, {1, 3}, 2},
        {"a trouble code", LogKind::TroubleCode, {1}, 1},
        {"Delete All of Rirod logs", LogKind::Rirod, {}, 5},
        {"Delete All of trouble codes", LogKind::TroubleCode, {}, 3},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Archiving a(c.kind);
        if (c.lines.empty()) {
            a.f.ui.answers = {true};
            EXPECT_EQ(deleteAllLogs(c.kind, a.services(a.archivePath())).status,
                      CommandOutcome::Status::Completed);
        } else {
            EXPECT_EQ(a.deleteLines(c.lines), CommandOutcome::Status::Completed);
        }
        EXPECT_NE(a.saveEvery(), a.before);
        {
            DeletedLogArchive archive(a.archivePath());
            const auto logs = archive.logs();
            ASSERT_EQ(logs.size(), c.archived);
            for (const ArchivedLog &log : logs)
                EXPECT_TRUE(log.removed);
            LogFilter deleted;
            deleted.state = LogState::Deleted;
            EXPECT_EQ(Logbook(*a.logbook).logs(deleted).size(), c.archived);
        }
        EXPECT_EQ(a.restoreAll().size(), c.archived);
        EXPECT_EQ(a.saveEvery(), a.before);
        EXPECT_TRUE(a.restoreAll().empty()) << "a restored log is on the handheld again";
    }
}

// Every file in the folder, by name.
std::map<QString, QByteArray> filesIn(const QString &folder)
{
    std::map<QString, QByteArray> files;
    for (const QString &name : QDir(folder).entryList(QDir::Files))
        files[name] = readFile(QDir(folder).filePath(name));
    return files;
}

TEST(DeletedLogArchive, DeletedLogsSaveFromTheArchiveAsFromTheHandheld)
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
        Archiving a(c.kind);
        QTemporaryDir fromHandheld, fromArchive;
        QStringList chosen{"--tab", c.tab};
        for (const int line : c.lines)
            chosen << "--log" << QString::number(line + 1);
        for (const QString &format : c.formats)
            ASSERT_EQ(
                exportTool(chosen + QStringList{"--format", format, "--out", fromHandheld.path()})
                    .exitCode,
                0);
        ASSERT_EQ(a.deleteLines(c.lines), CommandOutcome::Status::Completed);
        for (const QString &format : c.formats) {
            const ToolRun run = exportTool({"--archive", a.archivePath(), "--tab", c.tab, "--all",
                                            "--format", format, "--out", fromArchive.path()});
            EXPECT_EQ(run.exitCode, 0) << run.err.constData();
        }
        EXPECT_EQ(filesIn(fromArchive.path()), filesIn(fromHandheld.path()));
        EXPECT_EQ(filesIn(fromArchive.path()).size(), c.lines.size() * c.formats.size());
    }
}

TEST(DeletedLogArchive, ACancelledDeleteSaysWhichLogsWentAndRestoresToTheWhole)
{
    Archiving a;
    // D goes first (40 scans), B is interrupted at its 5th scan and stays.
    a.f.host.pressCancelAtYield = 45;
    a.f.ui.answers = {true, true};
    ASSERT_EQ(a.FiveLogs::deleteLines({1, 3}, a.archivePath()), CommandOutcome::Status::Cancelled);
    a.f.host.pressCancelAtYield = -1;
    a.f.host.clearCancelRequest();
    {
        DeletedLogArchive archive(a.archivePath());
        const auto logs = archive.logs();
        ASSERT_EQ(logs.size(), 2u);
        EXPECT_TRUE(logs[0].removed) << "D";
        EXPECT_FALSE(logs[1].removed) << "B, interrupted";
        // Both held first; only D marked deleted.
        const Logbook logbook(*a.logbook);
        const auto held = logbook.logs();
        ASSERT_EQ(held.size(), 2u);
        for (const LogbookEntry &log : held) {
            EXPECT_EQ(log.state, log.scanCount == 40 ? LogState::Deleted : LogState::OnHandheld);
            EXPECT_EQ(logbook.scans(log.id).size(), static_cast<std::size_t>(log.scanCount));
        }
    }
    EXPECT_EQ(a.restoreAll().size(), 1u) << "B is still on the handheld";
    EXPECT_EQ(a.saveEvery(), a.before);
}

TEST(DeletedLogArchive, NoArchiveNoDelete)
{
    Archiving a;
    const QByteArray image = a.f.handheld.imageBytes();
    // A file where its folder should be: nobody, root included, writes there.
    QFile blocker(a.folder.filePath("not-a-folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString unwritable = DeletedLogArchive::pathIn(blocker.fileName());
    const QString cause =
        QStringLiteral("Path/File access error: the archive of deleted logs %1 can't be created "
                       "(%2 is a file, not a folder)")
            .arg(QDir::toNativeSeparators(unwritable),
                 QDir::toNativeSeparators(blocker.fileName()));
    for (const QString &path : {unwritable, QString()}) {
        a.f.ui.answers = {true, true};
        EXPECT_EQ(a.FiveLogs::deleteLines({1}, path), CommandOutcome::Status::Failed);
        EXPECT_TRUE(a.f.ui.texts().last().startsWith("There was an error deleting the log."));
        if (!path.isEmpty()) {
            EXPECT_EQ(a.f.ui.texts().last().section("\r\n", 1, 1), cause);
        }
        EXPECT_EQ(deleteAllLogs(LogKind::Rirod, a.services(path)).status,
                  CommandOutcome::Status::Failed);
    }
    // An archive that takes the rows but a logbook that can't be made.
    a.logbook = blocker.fileName() + QStringLiteral("/logbook.sqlite");
    EXPECT_EQ(a.deleteLines({1}), CommandOutcome::Status::Failed);
    EXPECT_TRUE(a.f.ui.texts().last().startsWith("There was an error deleting the log."));
    a.f.ui.answers = {true};
    EXPECT_EQ(deleteAllLogs(LogKind::Rirod, a.services(a.archivePath())).status,
              CommandOutcome::Status::Failed);
    a.index.reset();
    a.scans.reset();
    EXPECT_EQ(a.f.handheld.imageBytes(), image);
}

TEST(DeletedLogArchive, ADamagedRowHarmsOnlyItself)
{
    const struct {
        const char *set; // on the row of B, between A and C
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
        Archiving a;
        ASSERT_EQ(a.deleteLines({0, 1, 2}), CommandOutcome::Status::Completed);
        DeletedLogArchive archive(a.archivePath());
        std::vector<std::int64_t> ids;
        for (const ArchivedLog &log : archive.logs(false))
            ids.push_back(log.id);
        ASSERT_EQ(ids.size(), 3u);
        runSql(a.archivePath(),
               QStringLiteral("UPDATE deleted_logs SET %1 WHERE id = %2").arg(c.set).arg(ids[1]));

        EXPECT_EQ(archive.logs(false).size(), 3u);
        const std::vector<ArchivedLog> logs = archive.logs();
        ASSERT_EQ(logs.size(), 3u);
        EXPECT_EQ(logs[1].damage, c.damage);
        EXPECT_EQ(logs[0].damage + logs[2].damage, "");
        EXPECT_EQ(logs[0].scanRecords.size() + logs[2].scanRecords.size(), 40u);

        const ToolRun listed = exportTool({"--archive", a.archivePath(), "--list"});
        EXPECT_EQ(listed.exitCode, 1);
        EXPECT_EQ(listed.out, "3/9/2004 12:00:00 PM - C\n3/7/2004 12:00:00 PM - A\n");
        EXPECT_EQ(QString::fromUtf8(listed.err),
                  QStringLiteral("vexa-export: log 2 can't be read: %1 (archive id %2)\n")
                      .arg(c.damage)
                      .arg(ids[1]));

        const std::vector<LogOutcome> restored = a.restore(ids).logs;
        ASSERT_EQ(restored.size(), 3u);
        EXPECT_TRUE(restored[0].done && restored[2].done);
        EXPECT_FALSE(restored[1].done);
        EXPECT_EQ(restored[1].detail, c.damage);
    }
}

} // namespace
} // namespace vexa::test
