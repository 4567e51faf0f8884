// vexa-logbook end to end: the demo handheld, and the archive of deleted logs
// read and purged through the docked user's folder, its restore retired.
#include "support/ExportToolRun.h"
#include "support/LogRecords.h"
#include "support/RawSql.h"

#include "deletion/DeletedLogArchive.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

ToolRun logbookTool(const QStringList &args, const QStringList &variables = {})
{
    return runTool(QStringLiteral("vexa-logbook"), args, variables);
}

// The file's bytes and its folder's names: what a command must leave as it was.
QByteArray fileAndFolder(const QString &path)
{
    QFile file(path);
    return (file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("none")) +
           QFileInfo(path).dir().entryList().join('/').toUtf8();
}

// The archive the program keeps in the docked user's folder.
QString archivePath(const TestHandheld &handheld)
{
    return DeletedLogArchive::pathIn(
        QDir(handheld.root()).filePath(QString::fromStdString(handheld.user().folder)));
}

const char *const RetiredArchiveRestore =
    "vexa-logbook: archive restore is retired: the logbook holds the archive's logs once "
    "'vexa-logbook pull' has taken the archive in; list them with 'vexa-logbook list --state "
    "deleted' and put them back with 'vexa-logbook restore ID'\n";

ArchivedLog rirodLog(const Stamp &start, const std::string &text, int scans)
{
    ArchivedLog log;
    log.indexRecord = rirodIndexRecord(start, scans, 1, {15}, text);
    for (int k = 0; k < scans; ++k) {
        Channels channels;
        channels[0].value = static_cast<float>(1000 + k);
        log.scanRecords.push_back(scanRecord(10, channels));
    }
    return log;
}

TEST(LogbookTool, DemoMakesAHandheldWhoseLogsTheProgramLists)
{
    TestHandheld handheld;
    for (int run = 0; run < 2; ++run) { // the second resets what the first made
        const ToolRun demo = logbookTool({"demo"});
        EXPECT_EQ(demo.exitCode, 0) << demo.err.constData();
        EXPECT_EQ(demo.out, "Docked the demo handheld of 'Demo User': 5 Rirod logs (7900 scans), "
                            "6 text logs.\n");
    }
    const struct {
        const char *tab;
        const char *list;
    } tabs[] = {
        {"0", "3/14/2004 7:42:15 AM - Cold start, idle to operating temp\n"
              "3/14/2004 2:05:09 PM - Run 1\n"
              "3/20/2004 4:31:44 PM - WOT pull 3rd gear\n"
              "4/2/2004 8:12:03 AM - City traffic\n"
              "4/2/2004 11:55:30 PM - Trip home across midnight\n"},
        {"1", "3/14/2004 2:40:02 PM - LTrim cells after highway run\n"
              "4/2/2004 8:40:51 AM - LTrim cells, city\n"},
        {"2", "3/20/2004 4:45:10 PM - 0-60 mph: 5.42 s\n"
              "3/20/2004 4:58:37 PM - 0-60 mph: 5.37 s\n"
              "3/27/2004 11:03:00 AM - 0-60 mph: 5.61 s (wet track)\n"},
        {"3", "4/2/2004 8:15:27 AM - P0171 System too lean (Bank 1)\n"},
    };
    for (const auto &t : tabs) {
        const ToolRun list = exportTool({"--tab", t.tab, "--list"});
        EXPECT_EQ(list.exitCode, 0) << list.err.constData();
        EXPECT_EQ(list.out, t.list) << "tab " << t.tab;
    }
    QTemporaryDir out;
    const ToolRun saved = exportTool({"--all", "--format", "CSV", "--out", out.path()});
    EXPECT_EQ(saved.exitCode, 0) << saved.err.constData();
    EXPECT_TRUE(saved.err.endsWith("5 of 5 files written.\n")) << saved.err.constData();
}

TEST(LogbookTool, ArchiveListShowsEveryDeletedLogOneLineEachAndChangesNothing)
{
    TestHandheld handheld;
    const QString path = archivePath(handheld);
    std::vector<std::int64_t> ids;
    {
        DeletedLogArchive archive(path);
        ArchivedLog scansOfNoLog;
        scansOfNoLog.scanRecords = {Bytes(64, 0)};
        ArchivedLog troubleCode;
        troubleCode.kind = LogKind::TroubleCode;
        troubleCode.indexRecord = textLogRecord({2004, 4, 2, 8, 15, 27}, "P01\x1b[7\t\\1\r\nB1");
        ids = archive.add({rirodLog({2004, 3, 7, 14, 5, 9}, "Run 1", 2), scansOfNoLog, troubleCode,
                           rirodLog({2004, 3, 8, 9, 0, 0}, "Run 2", 1),
                           rirodLog({2004, 3, 9, 9, 0, 0}, "Damaged", 1)});
        archive.markRemoved({ids[0], ids[1], ids[3]});
        archive.markRestored(ids[3]);
    }
    runSql(path, QStringLiteral("UPDATE deleted_logs SET scan_count = 1000000000 WHERE id = %1")
                     .arg(ids[4]));
    const QByteArray before = fileAndFolder(path);
    const ToolRun run = logbookTool({"archive", "list"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(QString::fromUtf8(run.err),
              QStringLiteral("vexa-logbook: log %1 can't be read: its scan records are cut short\n")
                  .arg(ids[4]));
    EXPECT_EQ(fileAndFolder(path), before);

    DeletedLogArchive archive(path, DeletedLogArchive::Access::ReadOnly);
    const std::vector<ArchivedLog> logs = archive.logs(false);
    ASSERT_EQ(logs.size(), 5u);
    const auto localTime = [](const QDateTime &t) { return t.toLocalTime().toString(Qt::ISODate); };
    const QString expected =
        QStringLiteral(
            "%1\tRirodLog\t%2\tremoved\t2 scans\t173 bytes\t3/7/2004 2:05:09 PM - Run 1\n"
            "%3\tRirodLog\t%4\tscans of no log\t1 scans\t64 bytes\t\n"
            "%5\tTroubleLog\t%6\tnot confirmed\t0 scans\t28 bytes\t"
            "4/2/2004 8:15:27 AM - P01\\x1b[7\\t\\\\1\n"
            "%7\tRirodLog\t%8\trestored %9\t1 scans\t109 bytes\t"
            "3/8/2004 9:00:00 AM - Run 2\n")
            .arg(ids[0])
            .arg(localTime(logs[0].deletedAt))
            .arg(ids[1])
            .arg(localTime(logs[1].deletedAt))
            .arg(ids[2])
            .arg(localTime(logs[2].deletedAt))
            .arg(ids[3])
            .arg(localTime(logs[3].deletedAt))
            .arg(localTime(logs[3].restoredAt)) +
        QStringLiteral("Archive: %1, %2 bytes\n")
            .arg(QDir::toNativeSeparators(path))
            .arg(QFileInfo(path).size());
    EXPECT_EQ(QString::fromUtf8(run.out), expected);
}

TEST(LogbookTool, PurgeRemovesOnlyRowsKnownToBeDeletedBeforeTheLocalDay)
{
    TestHandheld handheld;
    const struct {
        const char *deletedAt;
        bool purged;
    } rows[] = {
        // In Tokyo (9 hours ahead of UTC, no summer time) 2026-01-01 starts
        // at 2025-12-31T15:00Z.
        {"2025-12-31T14:59:59.999Z", true},
        {"2025-12-31T23:30:00+09:00", true},
        {"2025-12-31T15:00:00.000Z", false},
        {"2025-12-31T23:00:00.000Z", false},
        {"", false},
        {"0", false},
        {"yesterday", false},
    };
    DeletedLogArchive archive(archivePath(handheld));
    std::vector<std::int64_t> kept;
    for (const auto &r : rows) {
        const std::int64_t id = archive.add({rirodLog({2004, 3, 7, 14, 5, 9}, "Log", 1)})[0];
        runSql(archive.path(),
               QStringLiteral("UPDATE deleted_logs SET deleted_at = '%1' WHERE id = %2")
                   .arg(r.deletedAt)
                   .arg(id));
        if (!r.purged)
            kept.push_back(id);
    }
    const ToolRun run = logbookTool({"archive", "purge", "--before", "2026-01-01"}, {"TZ=JST-9"});
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(run.err, "2 archived logs removed.\n");
    std::vector<std::int64_t> left;
    for (const ArchivedLog &log : archive.logs(false))
        left.push_back(log.id);
    EXPECT_EQ(left, kept);
}

// Which file is an archive is the archive's own (ArchiveFileTest); here, that
// each command reads or writes as it should and says so.
TEST(LogbookTool, ArchiveCommandsLeaveAFileThatIsNoArchiveAsItIs)
{
    TestHandheld handheld;
    const QString path = archivePath(handheld), native = QDir::toNativeSeparators(path);
    const QString notOne = "Path/File access error: " + native +
                           " is not an archive of deleted logs (%1); it was left as it is";
    const struct {
        const char *file; // none: no file; else its bytes, or "sql:" and a database's statements
        QStringList args; // of vexa-logbook, or "--archive" of vexa-export
        int exitCode;
        QString err;
    } cases[] = {
        {nullptr,
         {"archive", "list"},
         1,
         "vexa-logbook: File not found: there is no archive of deleted logs at " + native +
             " (nothing deleted was kept there)\n"},
        {nullptr, {"archive", "purge", "--before", "2030-01-01"}, 0, "0 archived logs removed.\n"},
        {nullptr,
         {"--archive", path, "--list"},
         1,
         "vexa-export: " + native + ": no such archive\n"},
        {"",
         {"--archive", path, "--list"},
         1,
         "vexa-export: " + notOne.arg("it is empty") + " (error 4B)\n"},
        {"sql:CREATE TABLE t(x)",
         {"archive", "purge", "--before", "2030-01-01"},
         1,
         "vexa-logbook: " + notOne.arg("it is another program's database") + "\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        QFile::remove(path);
        if (c.file && QByteArray(c.file).startsWith("sql:")) {
            runSql(path, QString(c.file).mid(4));
        } else if (c.file) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        const QByteArray before = fileAndFolder(path);
        const ToolRun run = c.args[0] == "--archive" ? exportTool(c.args) : logbookTool(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(QString::fromUtf8(run.err), c.err);
        EXPECT_EQ(fileAndFolder(path), before);
    }
}

TEST(LogbookTool, ArchiveRestoreIsRetiredForTheLogbooksRestore)
{
    TestHandheld handheld;
    addRirodLog(handheld, {{2004, 3, 7, 14, 5, 9}, "Kept", {15}, 3});
    const ArchivedLog gone = rirodLog({2004, 3, 8, 9, 0, 0}, "Gone", 2);
    {
        DeletedLogArchive archive(archivePath(handheld));
        archive.markRemoved(archive.add({gone}));
    }
    const QByteArray archive = fileAndFolder(archivePath(handheld));
    const std::vector<Bytes> scans = handheld.records("RirodData");
    for (const QStringList &args :
         {QStringList{"archive", "restore", "1"}, QStringList{"archive", "restore", "--all"},
          QStringList{"archive", "restore"}}) {
        const ToolRun run = logbookTool(args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err, RetiredArchiveRestore);
    }
    EXPECT_EQ(fileAndFolder(archivePath(handheld)), archive);
    EXPECT_EQ(handheld.records("RirodData"), scans);

    // What it points to.
    QTemporaryDir folder;
    const QStringList logbook{"--logbook", folder.filePath("logbook.sqlite")};
    ASSERT_EQ(logbookTool(logbook + QStringList{"pull"}).exitCode, 0);
    const ToolRun listed = logbookTool(logbook + QStringList{"list", "--state", "deleted"});
    ASSERT_EQ(listed.out.count('\n'), 1) << listed.out.constData();
    const ToolRun restored =
        logbookTool(logbook + QStringList{"restore", QString(listed.out.split('\t').at(0))});
    EXPECT_EQ(restored.exitCode, 0) << restored.err.constData();
    EXPECT_EQ(exportTool({"--list"}).out,
              "3/7/2004 2:05:09 PM - Kept\n3/8/2004 9:00:00 AM - Gone\n");
    const std::vector<Bytes> now = handheld.records("RirodData");
    ASSERT_EQ(now.size(), 5u);
    EXPECT_EQ(std::vector<Bytes>(now.begin() + 3, now.end()), gone.scanRecords);
}

TEST(LogbookTool, PullTakesInTheOldArchiveOnceAndSaysWhatItCouldNot)
{
    TestHandheld handheld;
    QTemporaryDir folder;
    ASSERT_TRUE(QFile::copy(VEXA_TEST_DATA "/archive/deleted-logs.sqlite", archivePath(handheld)));
    const QStringList pull{"--logbook", folder.filePath("logbook.sqlite"), "pull"};
    const ToolRun first = logbookTool(pull);
    EXPECT_EQ(first.exitCode, 1);
    EXPECT_TRUE(first.err.startsWith("vexa-logbook: not taken in: row 6: its index record can't be "
                                     "read: "));
    EXPECT_EQ(first.out, "4 logs taken in from the archive of deleted logs.\n0 new logs pulled, 0 "
                         "held already.\n1 logs are no longer on the handheld.\n");
    EXPECT_EQ(logbookTool(pull).out, "0 new logs pulled, 0 held already.\n");
}

TEST(LogbookTool, CommandLine)
{
    TestHandheld handheld;
    const struct {
        QStringList args;
        int exitCode;
        const char *start; // of standard output when 0, of standard error otherwise
    } cases[] = {
        {{"--help"}, 0, "Usage: vexa-logbook [--logbook FILE] COMMAND [ARGUMENTS]\n"},
        {{"list", "--help"}, 0, "Usage: vexa-logbook list [--kind K] [--user NAME]"},
        {{"export", "--help"}, 0, "Usage: vexa-logbook export (ID ... | --all [filters])"},
        {{"demo", "--help"}, 0, "Usage: vexa-logbook demo\n\nCreates or resets"},
        {{"archive", "list", "--help"}, 0, "Usage: vexa-logbook archive list\n\nLists"},
        {{"archive", "purge", "--help"},
         0,
         "Usage: vexa-logbook archive purge --before DATE\n\nRemoves"},
        {{"archive", "--help"}, 0, "Usage:\n  archive list\n"},
        {{"archive", "restore", "--help"},
         0,
         "Usage: vexa-logbook archive restore ID ... | archive restore --all\n\nRetired"},
        {{"restore", "--help"}, 0, "Usage: vexa-logbook restore ID ... [--to-docked]\n\nPuts"},
        {{}, 2, "Usage: vexa-logbook [--logbook FILE] COMMAND [ARGUMENTS]\n"},
        {{"list", "--since", "May"}, 2, "vexa-logbook: --since takes a date, YYYY-MM-DD: 'May'\n"},
        {{"list", "--state", "lost"},
         2,
         "vexa-logbook: --state takes on-handheld, deleted, gone, put-back or unconfirmed: "
         "'lost'\n"},
        {{"list", "extra"}, 2, "vexa-logbook: unexpected argument 'extra' (see --help)\n"},
        {{"show", "x"}, 2, "vexa-logbook: a log is named by its id, a number from 1: 'x'\n"},
        {{"export", "--all", "--out", "."},
         2,
         "vexa-logbook: --format takes CSV, TXT, EFI (Rirod logs), "},
        {{"export", "1", "--kind", "rirod", "--format", "CSV", "--out", "."},
         2,
         "vexa-logbook: filters choose logs with --all only\n"},
        {{"export", "--all", "--format", "CSV"},
         2,
         "vexa-logbook: --out names the folder to save into\n"},
        {{"purge"}, 2, "vexa-logbook: usage: vexa-logbook purge --before YYYY-MM-DD\n"},
        {{"--logbook"}, 2, "vexa-logbook: --logbook takes a file\n"},
        {{"frobnicate"}, 2, "vexa-logbook: unknown command 'frobnicate'\nUsage:"},
        {{"demo", "now"}, 2, "vexa-logbook: usage: vexa-logbook demo\n"},
        {{"archive"}, 2, "vexa-logbook: usage:\n  archive list\n"},
        {{"archive", "purge"},
         2,
         "vexa-logbook: usage: vexa-logbook archive purge --before YYYY-MM-DD\n"},
        {{"archive", "purge", "--before", "someday"},
         2,
         "vexa-logbook: usage: vexa-logbook archive purge --before YYYY-MM-DD\n"},
        {{"archive", "restore", "3", "x"}, 2, RetiredArchiveRestore},
        {{"restore"}, 2, "vexa-logbook: usage: vexa-logbook restore ID ... [--to-docked]\n"},
        {{"restore", "3", "x"},
         2,
         "vexa-logbook: restore takes logbook ids and --to-docked: 'x'\n"},
    };
    for (const auto &c : cases) {
        const ToolRun run = logbookTool(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        const QByteArray &text = c.exitCode == 0 ? run.out : run.err;
        EXPECT_TRUE(text.startsWith(c.start)) << text.constData();
    }
    handheld.undock();
    const ToolRun undocked = logbookTool({"archive", "list"});
    EXPECT_EQ(undocked.exitCode, 1);
    EXPECT_EQ(undocked.err,
              "vexa-logbook: No handheld is docked (use 'vexa-handheld dock USER')\n");
}

} // namespace
} // namespace vexa::test
