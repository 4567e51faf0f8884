// The archive's file: only an archive is read or written, reading changes
// nothing, and a write cut off is read as if it never began.
#include "core/RuntimeError.h"
#include "deletion/DeletedLogArchive.h"
#include "support/ChildProcess.h"
#include "support/ExportToolRun.h"
#include "support/LogCase.h"
#include "support/LogRecords.h"
#include "support/RawSql.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace vexa::test {
namespace {

// What a test compares of archived rows: all but the times and records.
QStringList rowsOf(const std::vector<ArchivedLog> &logs)
{
    QStringList rows;
    for (const ArchivedLog &l : logs)
        rows << QStringLiteral("%1 %2 %3 %4")
                    .arg(l.id)
                    .arg(int(l.kind))
                    .arg(l.scanRecords.size())
                    .arg(l.damage);
    return rows;
}

TEST(ArchiveFile, OnlyAnArchiveIsReadOrWrittenAndAnyOtherFileIsLeftAsItIs)
{
    const QString earlierArchive =
        "sql:CREATE TABLE deleted_logs(id INTEGER PRIMARY KEY, kind INTEGER NOT NULL,"
        " index_record BLOB NOT NULL, scan_count INTEGER NOT NULL, scan_records BLOB NOT NULL,"
        " deleted_at TEXT NOT NULL, removed INTEGER NOT NULL DEFAULT 0, restored_at TEXT);";
    const QString notOne = QStringLiteral("Path/File access error: %1 is not an archive of deleted "
                                          "logs (%2); it was left as it is");
    const QString otherProgram = notOne.arg("%1", "it is another program's database");
    const QString notSqlite = notOne.arg("%1", "it is not an SQLite database");
    const QString folderInPlace = "Path/File access error: the archive of deleted logs %1 can't be "
                                  "opened (a folder of that name is in its place)";
    const struct {
        QString make;        // the file's bytes, "sql:" and statements, "folder"; null: nothing
        QString read, write; // the errors, with %1 for the path; empty: it opens
    } cases[] = {
        {{},
         "File not found: there is no archive of deleted logs at %1 (nothing deleted was kept "
         "there)",
         {}},
        {"", notOne.arg("%1", "it is empty"), {}},
        {"deleted logs\n", notSqlite, notSqlite},
        {"sql:CREATE TABLE t(x)", otherProgram, otherProgram},
        {"sql:CREATE TABLE deleted_logs(id, kind)", otherProgram, otherProgram},
        {"sql:PRAGMA application_id = 7;" + earlierArchive.mid(4), otherProgram, otherProgram},
        {earlierArchive, {}, {}},
        {"folder", folderInPlace, folderInPlace},
        // Nothing in a file from anywhere runs: its rows are not a view's.
        {"sql:CREATE VIEW deleted_logs AS SELECT 1 AS id, 0 AS kind, x'' AS index_record,"
         " 0 AS scan_count, x'' AS scan_records, '' AS deleted_at, 1 AS removed,"
         " NULL AS restored_at",
         otherProgram, otherProgram},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.make.isNull() ? "nothing" : c.make.toStdString());
        QTemporaryDir folder;
        const QString path = DeletedLogArchive::pathIn(folder.path());
        if (c.make == "folder") {
            ASSERT_TRUE(QDir(folder.path()).mkdir("deleted-logs.sqlite"));
        } else if (c.make.startsWith("sql:")) {
            runSql(path, c.make.mid(4));
        } else if (!c.make.isNull()) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.make.toUtf8());
        }
        const auto left = [&] {
            QFile file(path);
            return (file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray()) +
                   QDir(folder.path()).entryList().join('/').toUtf8();
        };
        const QByteArray before = left();
        const auto errorOf = [](const std::function<void()> &use) {
            try {
                use();
                return QString();
            } catch (...) {
                return currentError().description();
            }
        };
        const QString native = QDir::toNativeSeparators(path);
        EXPECT_EQ(
            errorOf([&] { DeletedLogArchive(path, DeletedLogArchive::Access::ReadOnly).logs(); }),
            c.read.isEmpty() ? c.read : c.read.arg(native));
        EXPECT_EQ(errorOf([&] {
                      DeletedLogArchive archive(path);
                      archive.logs();
                      archive.purgeBefore(QDateTime::currentDateTimeUtc());
                  }),
                  c.write.isEmpty() ? c.write : c.write.arg(native));
        EXPECT_EQ(left(), before) << "reading and a purge of nothing change nothing";
        if (c.write.isEmpty()) {
            DeletedLogArchive(path).add({ArchivedLog{}});
            EXPECT_EQ(DeletedLogArchive(path, DeletedLogArchive::Access::ReadOnly).logs().size(),
                      1u);
        }
    }
}

// Child: rewrites every row of the archive and is killed before the commit,
// with pages of the file already written.
[[maybe_unused]] const ChildRegistration
    cutOffWrite("archive-write-cut-off", [](const QStringList &args) -> int {
        runSqlAndWaitToBeKilled(args.value(0),
                                "PRAGMA cache_size = 1; BEGIN IMMEDIATE;"
                                " UPDATE deleted_logs SET scan_records = zeroblob(20), kind = 9;");
    });

TEST(ArchiveFile, AWriteCutOffIsReadAsBeforeIt)
{
    TestHandheld handheld; // the component vexa-export loads
    QTemporaryDir folder;
    const QString path = DeletedLogArchive::pathIn(folder.path()), journal = path + "-journal";
    for (int k = 0; k < 3; ++k) {
        ArchivedLog log;
        log.indexRecord = rirodIndexRecord({2004, 3, 7 + k, 12, 0, 0}, 500, 1, {15}, "Log");
        log.scanRecords.assign(500, scanRecord(10, Channels{}));
        DeletedLogArchive(path).add({log});
    }
    const QStringList rows = rowsOf(DeletedLogArchive(path).logs());
    const ToolRun listed = exportTool({"--archive", path, "--list"});
    ASSERT_EQ(listed.exitCode, 0) << listed.err.constData();
    const QByteArray whole = readFile(path);
    QString output;
    ASSERT_TRUE(runChildUntilReadyThenKill("archive-write-cut-off", {path}, &output))
        << output.toStdString();
    const QByteArray halfWritten = readFile(path), cutOff = readFile(journal);
    ASSERT_NE(halfWritten, whole) << "the write reached the file";
    ASSERT_FALSE(cutOff.isEmpty());

    EXPECT_EQ(rowsOf(DeletedLogArchive(path, DeletedLogArchive::Access::ReadOnly).logs()), rows);
    const ToolRun again = exportTool({"--archive", path, "--list"});
    EXPECT_EQ(again.exitCode, 0) << again.err.constData();
    EXPECT_EQ(again.out, listed.out);
    EXPECT_EQ(readFile(path), halfWritten) << "a reader changes nothing";
    EXPECT_EQ(readFile(journal), cutOff);

    EXPECT_EQ(rowsOf(DeletedLogArchive(path).logs()), rows) << "a writer rolls it back";
    EXPECT_FALSE(QFile::exists(journal));
}

} // namespace
} // namespace vexa::test
