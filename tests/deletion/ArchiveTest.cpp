// Deleted logs kept in the archive and put back: every restored log saves
// byte for byte as it did before the delete.
#include "FiveLogs.h"

#include "deletion/DeletedLogArchive.h"
#include "support/ExportToolRun.h"

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
    const ToolRun missing = exportTool({"--archive", "/nonexistent/deleted-logs.sqlite", "--list"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("no such archive")) << missing.err.constData();
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
    for (const QString &path : {unwritable, QString()}) {
        a.f.ui.answers = {true, true};
        EXPECT_EQ(a.FiveLogs::deleteLines({1}, path), CommandOutcome::Status::Failed);
        EXPECT_TRUE(a.f.ui.texts().last().startsWith("There was an error deleting the log."));
        EXPECT_EQ(deleteAllLogs(LogKind::Rirod, a.services(path)).status,
                  CommandOutcome::Status::Failed);
    }
    a.index.reset();
    a.scans.reset();
    EXPECT_EQ(a.f.handheld.imageBytes(), image);
}

} // namespace
} // namespace vexa::test
